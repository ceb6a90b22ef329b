/* The test programs' entry: every program starts on a portrait screen. With one option a
   program only writes its stock system font (freshProcessSystemFont). */
#include "apptest.h"

int main(int argc, char **argv)
{
    if (argc == 2 && strcmp(argv[1], SYSTEM_FONT_OPTION) == 0)
        return writeSystemFont();
    ::testing::InitGoogleTest(&argc, argv);
    setPortrait();
    return RUN_ALL_TESTS();
}
