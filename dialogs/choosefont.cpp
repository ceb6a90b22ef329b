#include "velmora.h"

void chooseFontCommand(HWND)
{
}
