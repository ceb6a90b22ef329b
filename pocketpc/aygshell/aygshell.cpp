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
HHOOK activateHook;
HHOOK keyHook;

namespace {

/* The device draws unscaled for a program that carries the high-resolution marker. */
void honourHighResolutionMarker()
{
    if (FindResourceW(GetModuleHandleW(NULL), L"HI_RES_AWARE", L"CEUX"))
        SetProcessDPIAware();
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
    activateHook = SetWindowsHookExW(WH_CBT, activateProc, NULL, thread);
    keyHook = SetWindowsHookExW(WH_KEYBOARD, keyProc, NULL, thread);
    return callHook && activateHook && keyHook;
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
    removeDesktopFrame(dialog);
    PlacedWindow *entry = rememberPlaced(dialog, PLACED_DIALOG, (info->dwFlags & SHIDIF_DONEBUTTON) != 0);
    if (info->dwFlags & SHIDIF_EMPTYMENU) {
        MenuBar empty;
        memset(&empty, 0, sizeof empty);
        empty.owner = dialog;
        createMenuBar(dialog, empty);
    }
    if (entry)
        fitDialogLater(dialog);
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
