/* The device's navigation bar: the strip across the top of the screen with the active
   window's title and, for a full-screen dialog that asks for it, the "ok" done button. */
#include "shell.h"

HWND navBar;

namespace {

const int doneButtonWidth = 96;
const UINT WM_FITDIALOG = WM_APP + 1;   // to the navigation bar: wParam is the dialog

HWND activeWindow;

BOOL activeHasDoneButton()
{
    PlacedWindow *entry = findPlaced(activeWindow);
    return entry && entry->doneButton && IsWindow(activeWindow);
}

RECT doneButtonRect()
{
    RECT r = { screenWidth() - doneButtonWidth, 0, screenWidth(), barHeight };
    return r;
}

void drawDoneButton(HDC dc, RECT done)
{
    HPEN pen = CreatePen(PS_SOLID, 2, barTextColor);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, done.left + 8, done.top + 8, done.right - 8, done.bottom - 8, 12, 12);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    DrawTextW(dc, L"ok", -1, &done, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void paintNavBar(HWND hwnd)
{
    PAINTSTRUCT ps;
    RECT client;
    HGDIOBJ oldFont;
    HDC dc = beginBarPaint(hwnd, &ps, &client, &oldFont);
    WCHAR title[128] = L"";
    if (activeWindow && IsWindow(activeWindow))
        GetWindowTextW(activeWindow, title, 128);
    RECT text = client;
    text.left += 12;
    if (activeHasDoneButton()) {
        RECT done = doneButtonRect();
        text.right = done.left;
        drawDoneButton(dc, done);
    }
    DrawTextW(dc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    endBarPaint(hwnd, &ps, oldFont);
}

void clickNavBar(int x)
{
    if (activeHasDoneButton() && x >= doneButtonRect().left)
        PostMessageW(activeWindow, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void fitDialog(HWND dialog)
{
    PlacedWindow *entry = findPlaced(dialog);
    if (entry && IsWindow(dialog))
        placeWithoutFrame(*entry);
}

} // namespace

/* Fits a full-screen dialog, frame and all, once its WM_INITDIALOG is over, as the device's
   shell does: the dialog then gets its one WM_SIZE after its own initialisation, still before
   it is first shown. */
void fitDialogLater(HWND dialog)
{
    PostMessageW(navBar, WM_FITDIALOG, (WPARAM)dialog, 0);
}

LRESULT CALLBACK navBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_FITDIALOG:     fitDialog((HWND)wParam); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_PAINT:         paintNavBar(hwnd); return 0;
    case WM_LBUTTONUP:     clickNavBar((short)LOWORD(lParam)); return 0;
    case WM_DISPLAYCHANGE: refitToScreen(); return 0;
    case WM_DESTROY:       navBar = NULL; return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void ensureNavBar()
{
    if (navBar)
        return;
    navBar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, navBarClass, L"",
                             WS_POPUP | WS_VISIBLE, 0, 0, screenWidth(), barHeight,
                             NULL, NULL, module, NULL);
}

void showActiveWindow(HWND hwnd)
{
    activeWindow = hwnd;
    if (navBar)
        InvalidateRect(navBar, NULL, TRUE);
}
