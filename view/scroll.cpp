/* Moving the view over the grid. */
#include "velmora.h"

void scrollHorizontally(HWND, int, int)
{
}

void scrollVertically(HWND, int, int)
{
}

void scrollTo(HWND, int, int)
{
}

BOOL getScrollRange(HWND, int, int *, int *)
{
    return FALSE;
}
