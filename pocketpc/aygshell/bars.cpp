/* What the device's two bars, the navigation bar at the top of the screen and the soft-key
   bar at the bottom, have in common: their window classes, and their look, white bold text
   on dark blue. */
#include "shell.h"

#include <string.h>

namespace {

HFONT barFont;

HFONT getBarFont()
{
    if (!barFont)
        barFont = CreateFontW(-26, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                              L"MS UI Gothic");
    return barFont;
}

} // namespace

/* Both bars: the bar colour over the whole strip, then text in the bar font. */
HDC beginBarPaint(HWND hwnd, PAINTSTRUCT *ps, RECT *client, HGDIOBJ *oldFont)
{
    HDC dc = BeginPaint(hwnd, ps);
    GetClientRect(hwnd, client);
    HBRUSH brush = CreateSolidBrush(barColor);
    FillRect(dc, client, brush);
    DeleteObject(brush);
    *oldFont = SelectObject(dc, getBarFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, barTextColor);
    return dc;
}

void endBarPaint(HWND hwnd, PAINTSTRUCT *ps, HGDIOBJ oldFont)
{
    SelectObject(ps->hdc, oldFont);
    EndPaint(hwnd, ps);
}

void registerBarClasses()
{
    WNDCLASSW wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;   // the bars are drawn to their width, which a turn changes
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpfnWndProc = navBarProc;
    wc.lpszClassName = navBarClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = menuBarProc;
    wc.lpszClassName = menuBarClass;
    RegisterClassW(&wc);
}
