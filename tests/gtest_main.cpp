/* The test programs' entry: every program starts on a portrait screen. */
#include "harness.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setPortrait();
    return RUN_ALL_TESTS();
}
