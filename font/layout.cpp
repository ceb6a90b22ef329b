/* Grid geometry and scroll ranges from the font's metrics and the window's size. */
#include "velmora.h"

void computeLayout(void)
{
    InvalidateRect(FontViewState.mainWindow, NULL, TRUE);
}
