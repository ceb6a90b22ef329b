#include "velmora.h"

INT_PTR CALLBACK drawSettingsDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
