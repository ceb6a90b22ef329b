/* The frame every dialog shares, the combo-box value fields, and the About box. */
#include "velmora.h"

#include <stdlib.h>

void runDialog(UINT templateId, DLGPROC procedure, LPARAM initValue)
{
    HRSRC found = FindResourceW(FontViewState.instance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    HGLOBAL loaded = LoadResource(FontViewState.instance, found);
    DialogBoxIndirectParamW(FontViewState.instance, (LPCDLGTEMPLATEW)LockResource(loaded),
                            FontViewState.mainWindow, procedure, initValue);
}

void initDialogFullScreen(HWND dialog)
{
    SHINITDLGINFO info;
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;
    SHInitDialog(&info);
}

/* A longer text is cut to the buffer: the control writes at most FIELD_CAPACITY - 1
   characters and the terminator. */
static void readFieldText(HWND dialog, int id, WCHAR *text)
{
    text[0] = 0;
    GetDlgItemTextW(dialog, id, text, FIELD_CAPACITY);
}

LONG readDecimalField(HWND dialog, int id)
{
    WCHAR text[FIELD_CAPACITY];
    readFieldText(dialog, id, text);
    return _wtol(text);
}

/* Values above 0x7FFFFFFF keep their unsigned value (a COLORREF is 32 unsigned bits);
   more than eight digits saturate at 0xFFFFFFFF; a minus sign negates modulo 2^32. */
DWORD readHexField(HWND dialog, int id)
{
    WCHAR text[FIELD_CAPACITY];
    readFieldText(dialog, id, text);
    return (DWORD)wcstoul(text, NULL, 16);
}

void writeDecimalField(HWND dialog, int id, LONG value)
{
    WCHAR text[FIELD_CAPACITY];
    wsprintfW(text, L"%d", value);
    SetDlgItemTextW(dialog, id, text);
}

void writeHexField(HWND dialog, int id, DWORD value)
{
    WCHAR text[FIELD_CAPACITY];
    wsprintfW(text, L"%06x", value);
    SetDlgItemTextW(dialog, id, text);
}

BOOL readCheckBox(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void writeCheckBox(HWND dialog, int id, BOOL flag)
{
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, flag ? BST_CHECKED : BST_UNCHECKED, 0);
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_CLOSE:
        EndDialog(dialog, WM_CLOSE);
        return TRUE;
    case WM_INITDIALOG:
        initDialogFullScreen(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK)
            return FALSE;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}
