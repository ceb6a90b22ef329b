/* How the device's shell places windows: main windows and full-screen dialogs between the
   navigation bar and the soft-key bar, full width and without a desktop frame, and all of
   them, bars too, fitted again when the screen turns. */
#include "shell.h"

namespace {

const int maxPlaced = 32;
PlacedWindow placed[maxPlaced];
int placedCount;

void forgetDestroyedWindows()
{
    int kept = 0;
    for (int i = 0; i < placedCount; i++)
        if (IsWindow(placed[i].hwnd))
            placed[kept++] = placed[i];
    placedCount = kept;
}

BOOL isShellPlacedMainWindow(HWND hwnd, const CREATESTRUCTW *create)
{
    WCHAR className[64];
    if (create->style & (WS_CHILD | WS_POPUP) || create->hwndParent)
        return FALSE;
    GetClassNameW(hwnd, className, 64);
    return lstrcmpiW(className, navBarClass) != 0 && lstrcmpiW(className, menuBarClass) != 0 &&
           lstrcmpiW(className, L"IME") != 0;
}

} // namespace

PlacedWindow *findPlaced(HWND hwnd)
{
    for (int i = 0; i < placedCount; i++)
        if (placed[i].hwnd == hwnd)
            return &placed[i];
    return NULL;
}

/* Answers the window's entry, or NULL when more windows are open than the shell keeps. */
PlacedWindow *rememberPlaced(HWND hwnd, Placement kind, BOOL doneButton)
{
    forgetDestroyedWindows();
    PlacedWindow *entry = findPlaced(hwnd);
    if (!entry && placedCount < maxPlaced)
        entry = &placed[placedCount++];
    if (entry) {
        entry->hwnd = hwnd;
        entry->kind = kind;
        entry->doneButton = doneButton;
    }
    return entry;
}

namespace {

RECT placedRect(const PlacedWindow &entry)
{
    int bottom = screenHeight();
    if (entry.kind == PLACED_DIALOG || menuBarOf(entry.hwnd))
        bottom -= barHeight;
    RECT r = { 0, barHeight, screenWidth(), bottom };
    return r;
}

void stripDesktopFrame(HWND hwnd)
{
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) & ~WS_EX_DLGMODALFRAME);
}

} // namespace

void placeWindow(const PlacedWindow &entry)
{
    RECT r = placedRect(entry);
    MoveWindow(entry.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

/* A window's first placement takes its frame off in the same move, so that it is sized, and
   its frame worked out, once. */
void placeWithoutFrame(const PlacedWindow &entry)
{
    stripDesktopFrame(entry.hwnd);
    RECT r = placedRect(entry);
    SetWindowPos(entry.hwnd, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void removeDesktopFrame(HWND hwnd)
{
    stripDesktopFrame(hwnd);
    SetWindowPos(hwnd, NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

/* The screen turned: as the device's shell does, tell every window, then fit the bars,
   the main windows and the full-screen dialogs to the new screen. */
void refitToScreen()
{
    forgetDestroyedWindows();
    for (int i = 0; i < placedCount; i++)
        SendMessageW(placed[i].hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    if (navBar)
        MoveWindow(navBar, 0, 0, screenWidth(), barHeight, TRUE);
    for (HWND bar = nextOwnMenuBar(NULL); bar; bar = nextOwnMenuBar(bar))
        placeMenuBar(bar);
    for (int i = 0; i < placedCount; i++)
        placeWindow(placed[i]);
}

/* A main window appears as on the device: under the navigation bar, full width,
   down to the screen's bottom, without a desktop caption or frame. */
LRESULT CALLBACK callProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *call = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && call->message == WM_NCCREATE &&
        isShellPlacedMainWindow(call->hwnd, (const CREATESTRUCTW *)call->lParam)) {
        ensureNavBar();
        PlacedWindow *entry = rememberPlaced(call->hwnd, PLACED_MAIN, FALSE);
        if (entry)
            placeWithoutFrame(*entry);
        else
            removeDesktopFrame(call->hwnd);
    }
    return CallNextHookEx(callHook, code, wParam, lParam);
}
