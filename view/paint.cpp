/* Painting the labelled code-point grid. */
#include "velmora.h"

void paintGrid(HWND, HDC)
{
}
