#include "velmora.h"

INT_PTR CALLBACK reportDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void showPhysicalFontReport(void)
{
}
