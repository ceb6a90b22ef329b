#include "velmora.h"

INT_PTR CALLBACK logFont2DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
