/* Stand-in for the Pocket PC shell library on the desktop.

   It gives the process what the device's shell gives it: a navigation bar across the top
   of the screen with the active window's title (and a done button for full-screen dialogs),
   soft-key bars built from menu-bar descriptions at the bottom, main windows placed between
   the two without a desktop frame, and the re-fit of all of these when the screen turns.
   F1 and F2 press the left and right soft keys and F9 turns the screen, as on the emulator.

   Here are the library's own functions, which the application calls; the navigation bar, the
   soft-key bar, the menu-bar description, window placement and the emulator's controls each
   have a file of their own. */

#include "shell.h"

#include <string.h>

HINSTANCE module;
HHOOK callHook;
HHOOK cbtHook;
HHOOK keyHook;

namespace {

/* The device draws unscaled for a program that carries the high-resolution marker. */
void honourHighResolutionMarker()
{
    if (FindResourceW(GetModuleHandleW(NULL), L"HI_RES_AWARE", L"CEUX"))
        SetProcessDPIAware();
}

void windowLeaving(HWND hwnd)
{
    releaseEmptyMenuBar(hwnd);
    PlacedWindow *entry = findPlaced(hwnd);
    if (entry && entry->kind == PLACED_MAIN)
        destroyEmptyMenuBar();
}

/* The window manager's notices: the window activated is the one the navigation bar names; a
   window on its way out gives back the empty soft-key bar it holds, and a main window takes
   that bar with it. */
LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE)
        showActiveWindow((HWND)wParam);
    else if (code == HCBT_DESTROYWND)
        windowLeaving((HWND)wParam);
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

} // namespace

/* ---- The library's functions ---- */

AYGSHELL_API BOOL WINAPI SHInitExtraControls(void)
{
    if (callHook)
        return TRUE;
    registerBarClasses();
    DWORD thread = GetCurrentThreadId();
    callHook = SetWindowsHookExW(WH_CALLWNDPROC, callProc, NULL, thread);
    cbtHook = SetWindowsHookExW(WH_CBT, cbtProc, NULL, thread);
    keyHook = SetWindowsHookExW(WH_KEYBOARD, keyProc, NULL, thread);
    return callHook && cbtHook && keyHook;
}

AYGSHELL_API BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info)
{
    if (!info || info->cbSize < sizeof(SHMENUBARINFO) || !info->hwndParent)
        return FALSE;
    info->hwndMB = NULL;
    MenuBar description;
    memset(&description, 0, sizeof description);
    description.owner = info->hwndParent;
    description.instance = info->hInstRes;
    if (!(info->dwFlags & SHCMBF_EMPTYBAR) &&
        !parseMenuBarDescription(info->hInstRes, info->nToolBarId, &description))
        return FALSE;
    info->hwndMB = createMenuBar(info->hwndParent, description);
    return info->hwndMB != NULL;
}

AYGSHELL_API BOOL WINAPI SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO *info, DWORD)
{
    if (!info)
        return FALSE;
    info->fActive = LOWORD(wParam) != WA_INACTIVE;
    if (info->fActive)
        info->hwndLastFocus = GetFocus() ? GetFocus() : hwnd;
    return TRUE;
}

AYGSHELL_API BOOL WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO *info)
{
    // No input panel here: it stays down.
    if (info)
        info->fSipUp = 0;
    return info != NULL;
}

AYGSHELL_API BOOL WINAPI SHInitDialog(SHINITDLGINFO *info)
{
    if (!info || !(info->dwMask & SHIDIM_FLAGS) || !IsWindow(info->hDlg))
        return FALSE;
    HWND dialog = info->hDlg;
    if (!(info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)))
        return TRUE;
    ensureNavBar();
    PlacedWindow *entry = rememberPlaced(dialog, PLACED_DIALOG, (info->dwFlags & SHIDIF_DONEBUTTON) != 0);
    if (info->dwFlags & SHIDIF_EMPTYMENU)
        showEmptyMenuBar(dialog);
    if (entry)
        fitDialogLater(dialog);
    else
        removeDesktopFrame(dialog);
    if (GetActiveWindow() == dialog)
        showActiveWindow(dialog);
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        honourHighResolutionMarker();
    }
    return TRUE;
}
