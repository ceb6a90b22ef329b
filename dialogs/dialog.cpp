/* The frame every dialog shares, the combo-box value fields, and the About box. */
#include "velmora.h"

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

/* ---- The shape of a settings dialog: fill, full screen; OK reads and applies; Cancel drops ---- */

INT_PTR initSettingsDialog(HWND dialog, DIALOGSTEP fill)
{
    fill(dialog);
    initDialogFullScreen(dialog);
    return TRUE;
}

INT_PTR settingsDialogCommand(HWND dialog, WPARAM wParam, DIALOGSTEP accept)
{
    switch (LOWORD(wParam)) {
    case IDOK:     accept(dialog); EndDialog(dialog, IDOK); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    }
    return FALSE;
}

void addListItems(HWND dialog, int id, const WCHAR *const *items)
{
    for (; *items; items++)
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, (LPARAM)*items);
}

/* ---- Value fields ---- */

static int digitValue(WCHAR c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return 99;
}

static BOOL isBlank(WCHAR c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

/* The leading number of a field's text as the C library reads it (white space, a sign, in
   base 16 an optional 0x, then the digits), done here so that every device reads the same
   value: the run-time libraries differ on what overflows and on which characters are digits.
   Answers the magnitude, at most 0xFFFFFFFF; *overflow tells whether it was cut there. */
static DWORD leadingNumber(const WCHAR *text, int base, BOOL *negative, BOOL *overflow)
{
    DWORD magnitude = 0;
    int digit;
    *negative = FALSE;
    *overflow = FALSE;
    while (isBlank(*text))
        text++;
    if (*text == L'+' || *text == L'-')
        *negative = *text++ == L'-';
    if (base == 16 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X') && digitValue(text[2]) < 16)
        text += 2;
    for (; (digit = digitValue(*text)) < base; text++) {
        if (magnitude > (0xFFFFFFFFUL - digit) / base)
            *overflow = TRUE;
        magnitude = *overflow ? 0xFFFFFFFFUL : magnitude * base + digit;
    }
    return magnitude;
}

/* A longer text is cut to the buffer: the control writes at most FIELD_CAPACITY - 1
   characters and the terminator. */
static DWORD readFieldNumber(HWND dialog, int id, int base, BOOL *negative, BOOL *overflow)
{
    WCHAR text[FIELD_CAPACITY];
    text[0] = 0;
    GetDlgItemTextW(dialog, id, text, FIELD_CAPACITY);
    return leadingNumber(text, base, negative, overflow);
}

/* Out of the 32-bit signed range the value stops at its nearest end. */
LONG readDecimalField(HWND dialog, int id)
{
    BOOL negative, overflow;
    DWORD magnitude = readFieldNumber(dialog, id, 10, &negative, &overflow);
    if (negative)
        return magnitude >= 0x80000000UL ? (LONG)0x80000000UL : -(LONG)magnitude;
    return magnitude >= 0x7FFFFFFFUL ? 0x7FFFFFFFL : (LONG)magnitude;
}

/* A COLORREF is 32 unsigned bits: values up to 0xFFFFFFFF keep their unsigned value, a
   minus sign negates modulo 2^32 ("-1" is 0xFFFFFFFF), and a magnitude beyond 32 bits
   reads as 0xFFFFFFFF whatever its sign. */
DWORD readHexField(HWND dialog, int id)
{
    BOOL negative, overflow;
    DWORD magnitude = readFieldNumber(dialog, id, 16, &negative, &overflow);
    if (overflow)
        return 0xFFFFFFFFUL;
    return negative ? 0 - magnitude : magnitude;
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

/* ---- About box: no buttons of its own; the navigation bar's OK ends it ---- */

static INT_PTR aboutCommand(HWND dialog, WPARAM wParam)
{
    if (LOWORD(wParam) != IDOK)
        return FALSE;
    EndDialog(dialog, IDOK);
    return TRUE;
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_CLOSE:      EndDialog(dialog, WM_CLOSE); return TRUE;
    case WM_INITDIALOG: initDialogFullScreen(dialog); return TRUE;
    case WM_COMMAND:    return aboutCommand(dialog, wParam);
    }
    return FALSE;
}
