/* Controls of the emulated device that are no part of the device's API: the screen's
   orientation, as the emulator's rotate key turns it. For tests and tools only. */
#ifndef POCKETPC_EMULATOR_H
#define POCKETPC_EMULATOR_H

#include <windows.h>

#ifdef POCKETPC_BUILDING_AYGSHELL
#define EMULATOR_API extern "C" __declspec(dllexport)
#else
#define EMULATOR_API extern "C" __declspec(dllimport)
#endif

enum { EMULATOR_BAR_HEIGHT = 52 };

/* Turns the screen to width x height; answers whether the platform accepted the size.
   Windows then get WM_SETTINGCHANGE and, where their size changes, WM_SIZE. */
EMULATOR_API BOOL WINAPI EmulatorSetScreenSize(int width, int height);
/* Swaps portrait and landscape, as the emulator's rotate key (F9) does. */
EMULATOR_API BOOL WINAPI EmulatorRotateScreen(void);
/* The navigation bar and the soft-key bar window of a window, for tests. */
EMULATOR_API HWND WINAPI EmulatorNavigationBar(void);
EMULATOR_API HWND WINAPI EmulatorMenuBarOf(HWND owner);

#endif
