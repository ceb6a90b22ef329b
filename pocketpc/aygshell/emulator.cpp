/* The device emulator's controls, which the device itself lacks: its keys F1 and F2 (the left
   and right soft keys) and F9 (turn the screen), and, for tests and tools, the screen's size
   and the bars' windows. */
#include "shell.h"

#include <string.h>

LRESULT CALLBACK keyProc(int code, WPARAM wParam, LPARAM lParam)
{
    BOOL keyDown = !(lParam & 0x80000000);
    if (code == HC_ACTION && (wParam == VK_F1 || wParam == VK_F2 || wParam == VK_F9)) {
        if (keyDown && wParam == VK_F9)
            EmulatorRotateScreen();
        else if (keyDown) {
            HWND bar = menuBarOf(GetActiveWindow());
            if (bar)
                pressSoftKey(bar, wParam == VK_F1 ? 0 : 1);
        }
        return 1;
    }
    return CallNextHookEx(keyHook, code, wParam, lParam);
}

EMULATOR_API BOOL WINAPI EmulatorSetScreenSize(int width, int height)
{
    DEVMODEW mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    BOOL changed = ChangeDisplaySettingsExW(NULL, &mode, NULL, 0, NULL) == DISP_CHANGE_SUCCESSFUL;
    // The navigation bar answers the platform's WM_DISPLAYCHANGE; without one, nothing to fit.
    return changed && screenWidth() == width && screenHeight() == height;
}

EMULATOR_API BOOL WINAPI EmulatorRotateScreen(void)
{
    return EmulatorSetScreenSize(screenHeight(), screenWidth());
}

EMULATOR_API HWND WINAPI EmulatorNavigationBar(void)
{
    return navBar;
}

EMULATOR_API HWND WINAPI EmulatorMenuBarOf(HWND owner)
{
    return menuBarOf(owner);
}
