/* The driver: the application started in this process and stopped again, its messages
   pumped, real input given as a user gives it, modal windows driven from a second thread,
   the application's imports pointed elsewhere, and the real program as a process of its own. */
#ifndef VELMORA_HARNESS_DRIVER_H
#define VELMORA_HARNESS_DRIVER_H

#include "velmora.h"

#include <functional>
#include <vector>

/* ---- the application in this process ---- */

/* The state record as it was when the process started. */
extern const FONTVIEWSTATE loadedState;
/* Whether two records agree in every byte that a command may change (the shell's activation
   bookkeeping aside). */
bool sameState(const FONTVIEWSTATE &a, const FONTVIEWSTATE &b);

/* The main window's class and title, as the program's resources name them. */
constexpr WCHAR PROGRAM_CLASS[] = L"QUORVEN";
constexpr WCHAR PROGRAM_TITLE[] = L"quorvel: Velmora";

/* The MENU soft key's popup, in order: each entry's text and command. */
struct MenuEntry {
    const WCHAR *text;
    WORD command;
};
extern const MenuEntry menuEntries[7];

/* Starts the application in this process as start-up does; answers initInstance's result. */
BOOL startApp(void);
/* Destroys the main window as a user's exit does, then forgets the class. Answers the
   WM_QUIT code that the window posted, or -1 if it posted none. */
int stopApp(void);
/* Runs the program's entry, WinMain, with its own message loop on this thread, while a second
   thread drives the main window once it has the keyboard focus. Answers WinMain's result. */
int runWinMain(const std::function<void(HWND main)> &drive, DWORD milliseconds = 10000);

/* ---- messages ---- */

/* Dispatches until the queue is empty (paints included); answers whether WM_QUIT came. */
bool pumpMessages(void);
/* Pumps until the condition holds or the time is up; answers the condition. Any thread. */
bool pumpUntil(const std::function<bool()> &condition, DWORD milliseconds = 5000);

/* One message as a window procedure received it, for a test's procedure installed over a
   window to record. */
struct MessageRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

/* ---- the emulated screen, and real input as a user gives it ---- */

enum { PORTRAIT_WIDTH = 480, PORTRAIT_HEIGHT = 640 };
void setScreen(int width, int height);
void setPortrait(void);

void pressKey(WORD key, bool control = false, bool shift = false);
/* Holds the key down for that many WM_KEYDOWNs, as the keyboard's auto-repeat does. */
void holdKey(WORD key, int keyDowns);
void clickScreen(int x, int y);

/* ---- modal windows ---- */

/* Runs open on this thread, which leads into a modal loop (a dialog's or a drop-down menu's)
   and returns once the loop has ended; a second thread, the driving thread, hands the loop's
   window, once shown, to drive, which must end it. Answers false if no modal window came or
   drive left it open. */
bool driveModal(const std::function<void()> &open, const std::function<void(HWND modal)> &drive,
                DWORD milliseconds = 10000);
/* Sends a command to the main window, which opens a modal window (a dialog, the font
   chooser, a notice), and drives it as driveModal does. */
bool runModal(WPARAM command, const std::function<void(HWND modal)> &drive, DWORD milliseconds = 10000);

/* From the driving thread (the modal loop holds the application's own): */

/* Waits until the window is gone. */
bool waitUntilGone(HWND hwnd, DWORD milliseconds = 5000);

/* ---- the application's imports ---- */

/* Points this program's import of dll!function at replacement, so a test sees every call the
   application makes to it; answers the original entry, or NULL if there is no such import.
   Call again with the original to undo. */
void *patchImport(const char *dll, const char *function, void *replacement);

/* Import patches that undo themselves, the last first, when their holder goes: a test's local
   or a fixture's member puts every original back even when an assertion ends the test. */
struct ImportPatches {
    ImportPatches() = default;
    ImportPatches(const ImportPatches &) = delete;
    ImportPatches &operator=(const ImportPatches &) = delete;
    ~ImportPatches();
    /* Patches as patchImport does; answers the original entry, for the replacement to call. */
    template <typename Proc> Proc add(const char *dll, const char *function, Proc replacement)
    {
        return (Proc)addPatch(dll, function, (void *)replacement);
    }
private:
    struct Patch {
        const char *dll, *function;
        void *original;
    };
    std::vector<Patch> patches;
    void *addPatch(const char *dll, const char *function, void *replacement);
};

/* ---- the real program, a process of its own ---- */

/* The program's executable beside this one, started as its own process. */
bool startProgram(PROCESS_INFORMATION *process);
/* Waits for the process to end; answers its exit code, or -1 on time-out (then kills it).
   These waits dispatch the calling thread's messages, which the program may be sending. */
int waitForExit(const PROCESS_INFORMATION &process, DWORD milliseconds = 10000);
/* The visible window of a class with a title, polling until it shows. */
HWND waitForWindow(LPCWSTR className, LPCWSTR title, DWORD milliseconds = 10000);
/* The program's main window once it is in front with the keyboard focus, ready for input;
   NULL if the program ended first. */
HWND waitForProgramWindow(const PROCESS_INFORMATION &process, DWORD milliseconds = 10000);
/* The stock system font's description as a fresh process of the device gets it: this
   program started again with the option below, with which it writes the description to its
   output and ends (writeSystemFont). Answers false if no whole description came. */
bool freshProcessSystemFont(LOGFONTW *font);
constexpr char SYSTEM_FONT_OPTION[] = "--write-system-font";
int writeSystemFont(void);

#endif
