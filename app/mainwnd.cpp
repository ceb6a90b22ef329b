/* The main window: soft keys, background, grid painting, keys and commands. */
#include "velmora.h"

#include <string.h>

static LRESULT onCreate(HWND hwnd)
{
    SHMENUBARINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.hwndParent = hwnd;
    info.nToolBarId = IDR_MAINMENU;
    info.hInstRes = FontViewState.instance;
    FontViewState.menuBar = SHCreateMenuBar(&info) ? info.hwndMB : NULL;

    memset(&FontViewState.activateInfo, 0, sizeof FontViewState.activateInfo);
    FontViewState.activateInfo.cbSize = sizeof FontViewState.activateInfo;
    return 0;
}

static LRESULT onDestroy(void)
{
    DestroyWindow(FontViewState.menuBar);
    PostQuitMessage(0);
    return 0;
}

static LRESULT onPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hwnd, &ps);
    paintGrid(hwnd, hDC);
    EndPaint(hwnd, &ps);
    return 0;
}

/* An opaque text call with no text fills the rectangle with the background colour. */
static LRESULT onEraseBackground(HWND hwnd, HDC hDC)
{
    RECT client;
    GetClientRect(hwnd, &client);
    COLORREF kept = SetBkColor(hDC, FontViewState.eraseColor);
    ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &client, L"", 0, NULL);
    SetBkColor(hDC, kept);
    return 1;
}

static LRESULT onKeyDown(HWND hwnd, WPARAM key)
{
    switch (key) {
    case VK_PRIOR: scrollVertically(hwnd, SB_PAGEUP, 0); break;
    case VK_NEXT:  scrollVertically(hwnd, SB_PAGEDOWN, 0); break;
    case VK_END:   scrollVertically(hwnd, SB_BOTTOM, 0); break;
    case VK_HOME:  scrollVertically(hwnd, SB_TOP, 0); break;
    case VK_LEFT:  scrollHorizontally(hwnd, SB_LINELEFT, 0); break;
    case VK_UP:    scrollVertically(hwnd, SB_LINEUP, 0); break;
    case VK_RIGHT: scrollHorizontally(hwnd, SB_LINERIGHT, 0); break;
    case VK_DOWN:  scrollVertically(hwnd, SB_LINEDOWN, 0); break;
    }
    return 0;
}

static LRESULT onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_EXIT:         DestroyWindow(hwnd); break;
    case IDM_QUIT:         DestroyWindow(hwnd); break;
    case IDM_ABOUT:        runDialog(IDD_ABOUT, aboutDialogProc, 0); break;
    case IDM_LOGFONT1:     runDialog(IDD_LOGFONT1, logFont1DialogProc, 0); break;
    case IDM_LOGFONT2:     runDialog(IDD_LOGFONT2, logFont2DialogProc, 0); break;
    case IDM_DRAWSETTINGS: runDialog(IDD_DRAWSETTINGS, drawSettingsDialogProc, 0); break;
    case IDM_PHYSFONT:     showPhysicalFontReport(); break;
    case IDM_OUTLINEFONT:  showOutlineFontReport(); break;
    case IDM_CHOOSEFONT:   chooseFontCommand(hwnd); break;
    default:               return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
    }
    return 0;
}

/* The thumb position travels in the high word as a signed 16-bit value. */
static int thumbPosition(WPARAM wParam)
{
    return (short)HIWORD(wParam);
}

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:        return onCreate(hwnd);
    case WM_DESTROY:       return onDestroy();
    case WM_SIZE:          computeLayout(); return 0;
    case WM_ACTIVATE:      SHHandleWMActivate(hwnd, wParam, lParam, &FontViewState.activateInfo, 0); return 0;
    case WM_PAINT:         return onPaint(hwnd);
    case WM_ERASEBKGND:    return onEraseBackground(hwnd, (HDC)wParam);
    case WM_SETTINGCHANGE: SHHandleWMSettingChange(hwnd, wParam, lParam, &FontViewState.activateInfo); return 0;
    case WM_KEYDOWN:       return onKeyDown(hwnd, wParam);
    case WM_COMMAND:       return onCommand(hwnd, wParam, lParam);
    case WM_HSCROLL:       scrollHorizontally(hwnd, LOWORD(wParam), thumbPosition(wParam)); return 0;
    case WM_VSCROLL:       scrollVertically(hwnd, LOWORD(wParam), thumbPosition(wParam)); return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
