/* The device's soft-key bar: the strip across the bottom of the screen that belongs to a
   window, built from its menu-bar description, with a left and a right soft key, each of
   which sends a command to the window or opens a menu above itself. */
#include "shell.h"

#include <stdlib.h>
#include <string.h>

namespace {

MenuBar *barData(HWND bar)
{
    return (MenuBar *)GetWindowLongPtrW(bar, GWLP_USERDATA);
}

RECT softKeyRect(HWND bar, const MenuBar *data, int index)
{
    RECT r;
    GetClientRect(bar, &r);
    int half = (r.right - r.left) / 2;
    if (data->keyCount == 1 || index == 0)
        r.right = r.left + half;
    else
        r.left += half;
    return r;
}

/* Opens the popup above its key, aligned with the key's outer edge; answers the chosen
   command, or 0. */
int trackSoftKeyPopup(HWND bar, const MenuBar *data, int index, HMENU popup)
{
    RECT r = softKeyRect(bar, data, index);
    MapWindowPoints(bar, NULL, (POINT *)&r, 2);
    UINT align = index == 0 ? TPM_LEFTALIGN : TPM_RIGHTALIGN;
    int x = index == 0 ? r.left : r.right;
    return TrackPopupMenuEx(popup, align | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                            x, r.top, bar, NULL);
}

void paintMenuBar(HWND hwnd)
{
    PAINTSTRUCT ps;
    RECT client;
    HGDIOBJ oldFont;
    HDC dc = beginBarPaint(hwnd, &ps, &client, &oldFont);
    MenuBar *data = barData(hwnd);
    for (int i = 0; data && i < data->keyCount; i++) {
        RECT r = softKeyRect(hwnd, data, i);
        DrawTextW(dc, data->keys[i].text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    endBarPaint(hwnd, &ps, oldFont);
}

void clickMenuBar(HWND hwnd, int x)
{
    MenuBar *data = barData(hwnd);
    for (int i = 0; data && i < data->keyCount; i++) {
        RECT r = softKeyRect(hwnd, data, i);
        if (x >= r.left && x < r.right) {
            pressSoftKey(hwnd, i);
            return;
        }
    }
}

/* Made hidden: shown visible, the platform would activate the bar, deactivating its owner's
   owner (the main window under a dialog) a moment before the dialog takes activation itself. */
HWND createHiddenMenuBar(HWND owner, const MenuBar &description)
{
    MenuBar *data = (MenuBar *)malloc(sizeof(MenuBar));
    if (!data)
        return NULL;
    *data = description;
    HWND bar = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, menuBarClass, L"", WS_POPUP,
                               0, screenHeight() - barHeight, screenWidth(), barHeight, owner, NULL, module, NULL);
    if (!bar) {
        free(data);
        return NULL;
    }
    SetWindowLongPtrW(bar, GWLP_USERDATA, (LONG_PTR)data);
    return bar;
}

void showMenuBar(HWND bar)
{
    SetWindowPos(bar, HWND_TOP, 0, screenHeight() - barHeight, screenWidth(), barHeight,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

/* The empty bar that no dialog holds waits just below the screen, shown: hidden, it would
   have to be shown anew for the next dialog, and lowered under the other bars, it would stay
   above them on the screen, where the platform raises windows but does not lower them. */
void parkMenuBar(HWND bar)
{
    SetWindowPos(bar, NULL, 0, screenHeight(), screenWidth(), barHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

/* The empty bar of full-screen dialogs is made once per thread and lent to one dialog at a
   time: making a top-level window is the costliest step of opening a dialog. */
HWND emptyBar;

bool haveEmptyBar()
{
    return emptyBar && IsWindow(emptyBar) && GetWindowThreadProcessId(emptyBar, NULL) == GetCurrentThreadId() &&
           barData(emptyBar);
}

} // namespace

/* The soft-key bars of this thread, one after another. */
HWND nextOwnMenuBar(HWND after)
{
    for (HWND bar = FindWindowExW(NULL, after, menuBarClass, NULL); bar;
         bar = FindWindowExW(NULL, bar, menuBarClass, NULL))
        if (GetWindowThreadProcessId(bar, NULL) == GetCurrentThreadId())
            return bar;
    return NULL;
}

HWND menuBarOf(HWND owner)
{
    if (!owner)
        return NULL;
    for (HWND bar = nextOwnMenuBar(NULL); bar; bar = nextOwnMenuBar(bar)) {
        MenuBar *data = barData(bar);
        if (data && data->owner == owner)
            return bar;
    }
    return NULL;
}

void pressSoftKey(HWND bar, int index)
{
    MenuBar *data = barData(bar);
    if (!data || index < 0 || index >= data->keyCount)
        return;
    const SoftKey &key = data->keys[index];
    HWND owner = data->owner;   // the popup's loop may destroy the bar, and its data with it
    if (key.subMenu == NOMENU) {
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(key.command, 0), (LPARAM)bar);
        return;
    }
    HMENU menu = LoadMenuW(data->instance, MAKEINTRESOURCEW(data->menuId));
    HMENU popup = menu ? GetSubMenu(menu, key.subMenu) : NULL;
    int command = popup ? trackSoftKeyPopup(bar, data, index, popup) : 0;
    if (command)
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    if (menu)
        DestroyMenu(menu);
}

LRESULT CALLBACK menuBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_PAINT:         paintMenuBar(hwnd); return 0;
    case WM_LBUTTONUP:     clickMenuBar(hwnd, (short)LOWORD(lParam)); return 0;
    case WM_NCDESTROY:     free(barData(hwnd)); SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND createMenuBar(HWND owner, const MenuBar &description)
{
    HWND bar = createHiddenMenuBar(owner, description);
    if (bar)
        showMenuBar(bar);
    return bar;
}

/* Across the bottom of the turned screen; the empty bar no dialog holds, below it. */
void placeMenuBar(HWND bar)
{
    MenuBar *data = barData(bar);
    if (data && !data->owner)
        parkMenuBar(bar);
    else
        MoveWindow(bar, 0, screenHeight() - barHeight, screenWidth(), barHeight, TRUE);
}

/* Lends the empty bar to a full-screen dialog; a dialog opened over one that holds it gets a
   bar of its own, which goes with it. */
HWND showEmptyMenuBar(HWND owner)
{
    MenuBar empty;
    memset(&empty, 0, sizeof empty);
    empty.owner = owner;
    if (!haveEmptyBar())
        emptyBar = createHiddenMenuBar(NULL, empty);
    else if (barData(emptyBar)->owner)   // lent to the dialog under this one
        return createMenuBar(owner, empty);
    if (!emptyBar)
        return NULL;
    barData(emptyBar)->owner = owner;
    SetWindowLongPtrW(emptyBar, GWLP_HWNDPARENT, (LONG_PTR)owner);
    showMenuBar(emptyBar);
    return emptyBar;
}

/* A window on its way out gives the empty bar back before the platform destroys its owned
   windows with it. */
void releaseEmptyMenuBar(HWND owner)
{
    if (!owner || !haveEmptyBar() || barData(emptyBar)->owner != owner)
        return;
    SetWindowLongPtrW(emptyBar, GWLP_HWNDPARENT, 0);
    parkMenuBar(emptyBar);
    barData(emptyBar)->owner = NULL;
}

/* With the main window it goes too, so that nothing of the program stays on the screen. */
void destroyEmptyMenuBar(void)
{
    if (haveEmptyBar())
        DestroyWindow(emptyBar);
    emptyBar = NULL;
}
