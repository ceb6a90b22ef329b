/* What the pieces of the stand-in shell share inside aygshell.dll. The application's view of
   the library is aygshell.h, the tests' and tools' is emulator.h; this is neither. */
#ifndef POCKETPC_SHELL_H
#define POCKETPC_SHELL_H

#define POCKETPC_BUILDING_AYGSHELL
#include "aygshell.h"
#include "emulator.h"

const int barHeight = EMULATOR_BAR_HEIGHT;
const WCHAR navBarClass[] = L"HHTaskBar";
const WCHAR menuBarClass[] = L"menu_worker";
const COLORREF barColor = RGB(16, 40, 96);
const COLORREF barTextColor = RGB(255, 255, 255);

inline int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
inline int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

extern HINSTANCE module;                        // this library, from DllMain
extern HHOOK callHook, cbtHook, keyHook;        // set by SHInitExtraControls
extern HWND navBar;                             // made when the first window needs it

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

// Windows the shell keeps in place: main windows and full-screen dialogs.
enum Placement { PLACED_MAIN, PLACED_DIALOG };
struct PlacedWindow {
    HWND hwnd;
    Placement kind;
    BOOL doneButton;
};

/* bars.cpp */
void registerBarClasses();
HDC beginBarPaint(HWND hwnd, PAINTSTRUCT *ps, RECT *client, HGDIOBJ *oldFont);
void endBarPaint(HWND hwnd, PAINTSTRUCT *ps, HGDIOBJ oldFont);

/* emulator.cpp */
LRESULT CALLBACK keyProc(int code, WPARAM wParam, LPARAM lParam);

/* menubardesc.cpp */
BOOL parseMenuBarDescription(HINSTANCE instance, UINT id, MenuBar *bar);

/* navbar.cpp */
LRESULT CALLBACK navBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void ensureNavBar();
void showActiveWindow(HWND hwnd);
void fitDialogLater(HWND dialog);

/* placement.cpp */
LRESULT CALLBACK callProc(int code, WPARAM wParam, LPARAM lParam);
PlacedWindow *findPlaced(HWND hwnd);
PlacedWindow *rememberPlaced(HWND hwnd, Placement kind, BOOL doneButton);
void placeWindow(const PlacedWindow &entry);
void placeWithoutFrame(const PlacedWindow &entry);
void removeDesktopFrame(HWND hwnd);
void refitToScreen();

/* softkeybar.cpp */
LRESULT CALLBACK menuBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HWND createMenuBar(HWND owner, const MenuBar &description);
HWND showEmptyMenuBar(HWND owner);
void placeMenuBar(HWND bar);
void releaseEmptyMenuBar(HWND owner);
void destroyEmptyMenuBar(void);
HWND nextOwnMenuBar(HWND after);
HWND menuBarOf(HWND owner);
void pressSoftKey(HWND bar, int index);

#endif
