/* What the tests, the benchmark and the font sweep share: starting and stopping the
   application in their own process, pumping its messages, driving its modal dialogs from a
   second thread, reading pixels back, and starting the real program as a process of its own.
   No GoogleTest here: the tests' fixture and checks are tests/apptest.h. */
#ifndef VELMORA_HARNESS_H
#define VELMORA_HARNESS_H

#include "velmora.h"
#include "devicefonts.h"
#include "emulator.h"

#include <functional>
#include <string>

/* The state record as it was when the process started. */
extern const FONTVIEWSTATE loadedState;
/* Whether two records agree in every byte that a command may change (the shell's activation
   bookkeeping aside). */
bool sameState(const FONTVIEWSTATE &a, const FONTVIEWSTATE &b);

enum { PORTRAIT_WIDTH = 480, PORTRAIT_HEIGHT = 640 };
/* The main window's class and title, as the program's resources name them. */
constexpr WCHAR PROGRAM_CLASS[] = L"QUORVEN";
constexpr WCHAR PROGRAM_TITLE[] = L"quorvel: Velmora";

/* Starts the application in this process as start-up does; answers initInstance's result. */
BOOL startApp(void);
/* Destroys the main window as a user's exit does, then forgets the class. Answers the
   WM_QUIT code that the window posted, or -1 if it posted none. */
int stopApp(void);
/* Runs the program's entry, WinMain, with its own message loop on this thread, while a second
   thread drives the main window once it has the keyboard focus. Answers WinMain's result. */
int runWinMain(const std::function<void(HWND main)> &drive, DWORD milliseconds = 10000);

/* Dispatches until the queue is empty (paints included); answers whether WM_QUIT came. */
bool pumpMessages(void);
/* Pumps until the condition holds or the time is up; answers the condition. Any thread. */
bool pumpUntil(const std::function<bool()> &condition, DWORD milliseconds = 5000);

void setScreen(int width, int height);
void setPortrait(void);

/* The colour at a point of a window's client area, as painted. */
COLORREF windowPixel(HWND hwnd, int x, int y);
/* Counts the client-area pixels of hwnd in a rectangle that do not have the colour. */
int countPixelsOtherThan(HWND hwnd, const RECT &area, COLORREF colour);

/* Real input, as a user gives it. */
void pressKey(WORD key, bool control = false, bool shift = false);
/* Holds the key down for that many WM_KEYDOWNs, as the keyboard's auto-repeat does. */
void holdKey(WORD key, int keyDowns);
void clickScreen(int x, int y);

/* Runs open on this thread, which leads into a modal loop (a dialog's or a drop-down menu's)
   and returns once the loop has ended; a second thread hands the loop's window, once shown,
   to drive, which must end it. Answers false if no modal window came or drive left it open. */
bool driveModal(const std::function<void()> &open, const std::function<void(HWND modal)> &drive,
                DWORD milliseconds = 10000);
/* Sends a command to the main window, which opens a modal window (a dialog, the font
   chooser, a notice), and drives it as driveModal does. */
bool runModal(WPARAM command, const std::function<void(HWND modal)> &drive, DWORD milliseconds = 10000);
/* From the driving thread: presses a dialog button as a click does. */
void clickButton(HWND dialog, int id);
/* From the driving thread: waits until the window is gone. */
bool waitUntilGone(HWND hwnd, DWORD milliseconds = 5000);

/* The program's executable beside the test program, started as its own process. */
bool startProgram(PROCESS_INFORMATION *process);
/* Waits for the process to end; answers its exit code, or -1 on time-out (then kills it).
   These waits dispatch the calling thread's messages, which the program may be sending. */
int waitForExit(const PROCESS_INFORMATION &process, DWORD milliseconds = 10000);
/* The stock system font's description as a fresh process of the device gets it: this test
   program started again with the option below, with which it writes the description to its
   output and ends (writeSystemFont). Answers false if no whole description came. */
bool freshProcessSystemFont(LOGFONTW *font);
constexpr char SYSTEM_FONT_OPTION[] = "--write-system-font";
int writeSystemFont(void);
/* The visible window of a class with a title, polling until it shows. */
HWND waitForWindow(LPCWSTR className, LPCWSTR title, DWORD milliseconds = 10000);
/* The program's main window once it is in front with the keyboard focus, ready for input;
   NULL if the program ended first. */
HWND waitForProgramWindow(const PROCESS_INFORMATION &process, DWORD milliseconds = 10000);


/* ---- shell ---- */

/* Points this program's import of dll!function at replacement, so a test sees every call the
   application makes to it; answers the original entry, or NULL if there is no such import.
   Call again with the original to undo. */
void *patchImport(const char *dll, const char *function, void *replacement);

#include <vector>

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

/* Records the messages a window procedure receives while installed over a window. */
struct MessageRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

/* The MENU soft key's popup, in order: each entry's text and command. */
struct MenuEntry {
    const WCHAR *text;
    WORD command;
};
extern const MenuEntry menuEntries[7];

/* ---- grid ---- */

#include <map>
#include <set>

/* How many more GDI objects this process can create before its handle table is full
   (Wine's GetGuiResources always answers 0): creates pens until one fails, then deletes
   them. Two counts differ by exactly the number of objects made and kept in between. */
int gdiObjectsCreatable(void);

/* The client area of a window as painted, read back in one copy. */
struct ClientPicture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[(size_t)y * width + x]; }
    int count(COLORREF colour) const;
};
ClientPicture captureClient(HWND hwnd);
/* The main window erased and painted whole again, as the platform does after invalidation;
   and the picture it then shows. */
void repaintMainWindow(void);
ClientPicture repaintedMainWindow(void);
/* A 32-bit top-down bitmap of width by height for pictures, and its pixels (0x00RRGGBB). */
HBITMAP createPictureBitmap(HDC dc, int width, int height, DWORD **bits);
/* The picture that such a bitmap's pixels hold. */
ClientPicture pictureOfBits(const DWORD *bits, int width, int height);
/* A picture of the main window's client size that starts as the fill colour, or as a given
   picture, drawn on by the caller through a memory context. */
ClientPicture drawnPicture(COLORREF fill, const std::function<void(HDC)> &draw, const ClientPicture *base = NULL);
/* Pixels of a rectangle that differ between two pictures; pixels of a rectangle in a colour. */
int differingPixels(const ClientPicture &a, const ClientPicture &b, RECT area);
int pixelsOfColour(const ClientPicture &picture, RECT area, COLORREF colour);

typedef BOOL(WINAPI *ExtTextOutWProc)(HDC, int, int, UINT, const RECT *, LPCWSTR, UINT, const INT *);
/* The platform's own ExtTextOutW, past the stand-in layer's guards. */
ExtTextOutWProc platformExtTextOutW(void);

/* One ExtTextOutW call the application made: where, with which options and text. */
struct TextCall {
    int x, y;
    UINT options;
    std::wstring text;
};
/* Records the application's ExtTextOutW calls (they still draw) until stopRecordingText. */
void startRecordingText(void);
std::vector<TextCall> stopRecordingText(void);

/* Sizes the main window so that its client area has the width (and, when given, the height). */
void setClientSize(int width, int height = -1);
RECT clientRect(HWND hwnd);
/* The main window's scroll bar (SB_HORZ or SB_VERT) as the platform reports it. */
SCROLLINFO scrollBar(int bar);
inline int scrollPosition(int bar) { return scrollBar(bar).nPos; }
inline int scrollMaximum(int bar) { return scrollBar(bar).nMax; }


/* ---- dialogs ---- */

#include <random>

/* From the driving thread: the combo box's list items, in the order the list shows them. */
std::vector<std::wstring> listItems(HWND dialog, int id);
/* From the driving thread: a control's text, however long. */
std::wstring controlText(HWND dialog, int id);
/* Control texts by control id. */
typedef std::map<int, std::wstring> FieldTexts;
/* From the driving thread: the texts of the given controls. */
FieldTexts fieldTexts(HWND dialog, const std::vector<int> &ids);
/* From the driving thread: puts a text into a field as pasting does (no width limit). */
void setFieldText(HWND dialog, int id, const std::wstring &text);
/* From the driving thread: selects the field's text and types text over it, one WM_CHAR
   per character, as the keyboard does. */
void typeIntoField(HWND dialog, int id, const std::wstring &text);
/* From the driving thread: picks the list item as the drop-down does (selection and the
   CBN_SELCHANGE notification); answers false if the list has no such item. */
bool pickListItem(HWND dialog, int id, const std::wstring &item);
/* The window that holds the mouse in the window's thread (GetCapture there), or NULL. */
HWND mouseCapture(HWND window);
/* From the driving thread: a real click on the middle of a control (a button, say). */
void clickControl(HWND dialog, int id);
/* From the driving thread: opens the field's drop-down list with a real click on its arrow
   and clicks the item, as a user does; answers false if the list did not open or lacks it. */
bool clickListItem(HWND dialog, int id, const std::wstring &item);
/* A real click on the navigation bar's done button. */
void clickDoneButton(void);
/* Counts the application's InvalidateRect calls for the main window while installed. */
void startCountingMainInvalidations(void);
int stopCountingMainInvalidations(void);

/* One control of a dialog template: its id, and its place and size in dialog units. */
struct TemplateControl {
    int id;
    int x, y, cx, cy;
};
std::vector<TemplateControl> templateControls(UINT templateId);
/* The room that a full-screen dialog fills: the screen's width, from the navigation bar to
   the dialog's own menu bar; false if either bar is missing. */
bool roomBetweenTheBars(HWND dialog, RECT *room);

/* Texts that a user may type into a value field: empty, very long, digits with signs and
   blanks, hexadecimal prefixes, numbers past 32 bits, non-ASCII, only "=label". */
std::wstring randomFieldText(std::mt19937 &random);
/* What the platform's C library reads from a field's text, as an oracle of the field's
   rules: wcstol for decimal (it stops at the ends of the 32-bit signed range); for hex the
   64-bit reader, its value kept up to 32 bits (a minus negating modulo 2^32) and 0xFFFFFFFF
   beyond. Only the first 259 characters count, and none from the first non-ASCII one on. */
LONG libraryDecimalValue(const std::wstring &text);
DWORD libraryHexValue(const std::wstring &text);

/* A window's text, however long. */
std::wstring windowText(HWND hwnd);
/* From the driving thread: waits until the dialog is active and fills the screen between the
   bars, as the shell leaves it once it has fitted it after its initialisation: real clicks
   then land on its controls, and the done button ends it. */
bool waitUntilReady(HWND dialog);
/* From the driving thread: a real click on a check box once the dialog is ready; answers
   whether the box's state changed. */
bool clickCheckBox(HWND dialog, int id);
/* Opens a dialog through its command, hands it to look and cancels it. */
bool lookAtDialog(UINT command, const std::function<void(HWND dialog)> &look);
/* Opens a dialog through its command, puts each text into its field as pasting does and
   presses OK; answers false if the dialog did not open and end or a field did not hold
   its text. */
bool enterFields(UINT command, const FieldTexts &texts);
/* Combo boxes' list items by control id. */
typedef std::map<int, std::vector<std::wstring>> ListTexts;
/* From the driving thread: those of the given combo boxes that have a list item selected. */
std::vector<int> selectedListItems(HWND dialog, const std::vector<int> &ids);


/* A logical font of the face at the height (and width), in the default character set. */
LOGFONTW fontOf(const std::wstring &face, LONG height, LONG width = 0);
/* The faces the device offers, each once, but the vertical forms ('@') of the Japanese ones. */
std::set<std::wstring> facesOffered(void);

/* ---- reports and the font chooser ---- */

/* Writes a raster font (the Windows 3.0 font-file format: printable ASCII, 8 by 16 pixels,
   fixed pitch, ascent 13) with the face name and adds it for this process alone; a font
   without outline metrics. Answers its file, for removeTestRasterFont, or an empty name. */
std::wstring addTestRasterFont(const std::string &face);
void removeTestRasterFont(const std::wstring &file);

/* Makes the description the font under test and realises it, as a dialog's OK does. */
void useFontUnderTest(const LOGFONTW &font);
/* Makes the face at the height the font under test, as the logical-font pages would (width 0,
   normal weight, no strike-out, the other fields kept), and realises it. */
void setFontUnderTest(const WCHAR *face, LONG height, BYTE italic = 0, BYTE underline = 0);

/* The platform's own answer for a font made from the description on the main window. */
struct PlatformFont {
    TEXTMETRICW metrics;
    std::wstring face;
    std::vector<BYTE> outline;   /* the whole answer, names included; empty without outline metrics */
    const OUTLINETEXTMETRICW &head() const { return *(const OUTLINETEXTMETRICW *)&outline[0]; }
    std::wstring name(PSTR offset) const { return (const WCHAR *)&outline[(size_t)offset]; }
};
PlatformFont platformFont(const LOGFONTW &font);
/* The platform's metrics of the code's glyph in the font under test on the main window, in
   the format given (no bitmap is made). */
GLYPHMETRICS platformGlyphMetrics(WCHAR code, UINT format = GGO_METRICS);

#endif
