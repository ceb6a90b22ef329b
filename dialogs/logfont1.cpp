#include "velmora.h"

INT_PTR CALLBACK logFont1DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
