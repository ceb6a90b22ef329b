/* Realising the font under test and capturing what the graphics system reports of it. */
#include "velmora.h"

void applyFont(void)
{
}

void selectDrawingAttributes(HDC)
{
}

void releaseFontDC(HDC)
{
}
