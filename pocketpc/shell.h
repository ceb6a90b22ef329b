/* What the pieces of the stand-in shell share inside aygshell.dll. The application's view of
   the library is aygshell.h, the tests' and tools' is emulator.h; this is neither. */
#ifndef POCKETPC_SHELL_H
#define POCKETPC_SHELL_H

#define POCKETPC_BUILDING_AYGSHELL
#include "aygshell.h"
#include "emulator.h"

struct SoftKey {
    WORD command;
    WORD subMenu;      // index of a popup of the bar's menu, or NOMENU
    WCHAR text[32];
};

struct MenuBar {
    HWND owner;
    HINSTANCE instance;
    UINT menuId;
    int keyCount;
    SoftKey keys[2];   // the two soft keys; a description with more buttons shows the first two
};

/* menubardesc.cpp */
BOOL parseMenuBarDescription(HINSTANCE instance, UINT id, MenuBar *bar);

#endif
