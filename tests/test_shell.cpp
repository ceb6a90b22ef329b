/* The application shell: start-up, single instance, soft keys, keys, commands, erase, rotation. */
#include "apptest.h"

#include <algorithm>

static RECT windowRect(HWND hwnd)
{
    RECT r = { 0, 0, 0, 0 };
    GetWindowRect(hwnd, &r);
    return r;
}

static ::testing::AssertionResult rectIs(const RECT &r, int left, int top, int right, int bottom)
{
    RECT expected = { left, top, right, bottom };
    if (EqualRect(&r, &expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rectangle is (" << r.left << "," << r.top << ")-(" << r.right
                                         << "," << r.bottom << "), expected (" << left << "," << top << ")-("
                                         << right << "," << bottom << ")";
}

/* ---- Messages that reach the main window, and what reaches DefWindowProcW ---- */

static std::vector<MessageRecord> received;
static WNDPROC applicationProc;

/* Commands are noted and dropped, so that no dialog opens; all but Ctrl+Q's, which ends the program. */
static LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    received.push_back({ msg, wParam, lParam });
    if (msg == WM_COMMAND && LOWORD(wParam) != 40000)
        return 0;
    return CallWindowProcW(applicationProc, hwnd, msg, wParam, lParam);
}

static void recordMessages(HWND hwnd)
{
    received.clear();
    WNDPROC previous = (WNDPROC)SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)recordingProc);
    if (previous != recordingProc)
        applicationProc = previous;
}

/* The records of one message, in order. */
static std::vector<MessageRecord> only(UINT message, const std::vector<MessageRecord> &records = received)
{
    std::vector<MessageRecord> found;
    for (const MessageRecord &record : records)
        if (record.message == message)
            found.push_back(record);
    return found;
}

static const LRESULT defaultResult = 0x5EED;
static std::vector<MessageRecord> defaulted;
static WNDPROC realDefWindowProc;

static LRESULT WINAPI recordingDefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    defaulted.push_back({ msg, wParam, lParam });
    LRESULT result = realDefWindowProc(hwnd, msg, wParam, lParam);
    return msg == WM_COMMAND ? defaultResult : result;
}

class DefaultHandlingTest : public AppTest {
protected:
    ImportPatches patches;
    void SetUp() override
    {
        AppTest::SetUp();
        defaulted.clear();
        realDefWindowProc = patches.add("user32.dll", "DefWindowProcW", recordingDefWindowProc);
        ASSERT_TRUE(realDefWindowProc != NULL) << "the program imports no DefWindowProcW";
    }
};

/* ---- Start-up ---- */

TEST_F(AppTest, MainWindowHasClassAndTitle)
{
    WCHAR foundClass[64];
    GetClassNameW(FontViewState.mainWindow, foundClass, 64);
    EXPECT_STREQ(PROGRAM_CLASS, foundClass);
    EXPECT_EQ(PROGRAM_TITLE, windowText(FontViewState.mainWindow));
    EXPECT_TRUE(IsWindowVisible(FontViewState.mainWindow));
}

TEST_F(AppTest, FirstFontIsTheSystemFontWithDefaultCharset)
{
    LOGFONTW system;
    ASSERT_EQ((int)sizeof system, GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system));
    EXPECT_EQ(DEFAULT_CHARSET, FontViewState.logFont.lfCharSet);
    system.lfCharSet = DEFAULT_CHARSET;
    EXPECT_EQ(0, memcmp(&system, &FontViewState.logFont, sizeof system))
        << "every member but lfCharSet must be the system font's";
}

TEST_F(AppTest, DrawingDefaultsAreStored)
{
    EXPECT_EQ(OPAQUE, FontViewState.bkMode);
    EXPECT_EQ(RGB(255, 255, 255), FontViewState.bkColor);
    EXPECT_EQ(RGB(128, 0, 0), FontViewState.eraseColor);
    EXPECT_EQ(TRUE, FontViewState.showBaseline);
    EXPECT_EQ((UINT)TA_BASELINE, FontViewState.textAlign);
    EXPECT_EQ(RGB(0, 0, 0), FontViewState.textColor);
    EXPECT_EQ(FALSE, FontViewState.showBoundingBoxes);
    EXPECT_EQ(sizeof(SHACTIVATEINFO), FontViewState.activateInfo.cbSize);
}

static RECT createdRect;

static LRESULT CALLBACK noteCreatedRect(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *call = (const CWPRETSTRUCT *)lParam;
    if (code == HC_ACTION && call->message == WM_CREATE && !GetParent(call->hwnd)) {
        WCHAR name[32];
        GetClassNameW(call->hwnd, name, 32);
        if (!lstrcmpW(name, PROGRAM_CLASS))
            GetWindowRect(call->hwnd, &createdRect);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

/* The device places a new main window under the navigation bar, full width, down to the
   screen's bottom; start-up then makes room for the soft-key bar. */
TEST(StartUp, MainWindowEndsAtTheSoftKeyBar)
{
    setPortrait();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, noteCreatedRect, NULL, GetCurrentThreadId());
    ASSERT_TRUE(startApp());
    UnhookWindowsHookEx(hook);

    RECT window = windowRect(FontViewState.mainWindow);
    RECT bar = windowRect(FontViewState.menuBar);
    ASSERT_TRUE(IsWindow(FontViewState.menuBar));
    EXPECT_TRUE(rectIs(createdRect, 0, EMULATOR_BAR_HEIGHT, PORTRAIT_WIDTH, PORTRAIT_HEIGHT));
    EXPECT_TRUE(rectIs(window, createdRect.left, createdRect.top, createdRect.right,
                       createdRect.bottom - (bar.bottom - bar.top)));
    EXPECT_TRUE(rectIs(bar, 0, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT, PORTRAIT_WIDTH, PORTRAIT_HEIGHT));

    POINT origin = { 0, 0 };
    ClientToScreen(FontViewState.mainWindow, &origin);
    EXPECT_EQ(window.left, origin.x) << "the device shows no frame";
    EXPECT_EQ(window.top, origin.y) << "the device shows no caption";
    EXPECT_EQ(0, GetWindowLongW(FontViewState.mainWindow, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    stopApp();
}

/* ---- Single instance ---- */

/* The real program, with its own message loop and accelerators. */
static void expectProgramEndsWithZero(const std::function<void(HWND)> &end, const char *how)
{
    PROCESS_INFORMATION program;
    ASSERT_TRUE(startProgram(&program));
    HWND hwnd = waitForProgramWindow(program);
    EXPECT_TRUE(hwnd != NULL) << "the program showed no window ready for input";
    if (hwnd)
        end(hwnd);
    EXPECT_EQ(0, waitForExit(program)) << how;
    EXPECT_TRUE(FindWindowW(PROGRAM_CLASS, PROGRAM_TITLE) == NULL) << how << " left the window";
    EXPECT_TRUE(FindWindowW(L"menu_worker", NULL) == NULL) << how << " left the soft-key bar";
}

static void closeWindow(HWND hwnd)
{
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

/* Puts a window of the calling thread in front, starts the program a second time and waits
   until it has ended with its exit code; answers the window then in front. */
static HWND frontAfterASecondStart(int *exitCode)
{
    HWND other = CreateWindowExW(0, L"STATIC", L"somebody else", WS_POPUP | WS_VISIBLE, 0, 100, 100, 100,
                                 NULL, NULL, NULL, NULL);
    SetForegroundWindow(other);
    HWND front = NULL;
    PROCESS_INFORMATION process;
    if (pumpUntil([&] { return GetForegroundWindow() == other; }) && startProgram(&process)) {
        *exitCode = waitForExit(process);
        pumpUntil([&] { return GetForegroundWindow() != other; });
        front = GetForegroundWindow();
    }
    DestroyWindow(other);
    return front;
}

TEST_F(AppTest, SecondStartBringsTheRunningWindowForwardAndExits)
{
    int exitCode = -2;
    EXPECT_EQ(FontViewState.mainWindow, frontAfterASecondStart(&exitCode));
    EXPECT_EQ(0, exitCode);
}

/* The running window comes forward with the windows it owns, the last active one in front. */
TEST_F(AppTest, SecondStartBringsAnOpenDialogForward)
{
    HWND about = NULL, front = NULL;
    int exitCode = -2;
    ASSERT_TRUE(runModal(40002, [&](HWND modal) {
        about = modal;
        front = frontAfterASecondStart(&exitCode);
        closeWindow(modal);
    }));
    EXPECT_EQ(about, front) << "the open About box must come to the front, not its disabled owner";
    EXPECT_EQ(0, exitCode);
}

/* Only a window with both the class and the title is the running program. */
static void expectStartsBeside(LPCWSTR windowClass, LPCWSTR windowTitle)
{
    HWND lookalike = CreateWindowExW(0, windowClass, windowTitle, WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                     NULL, NULL, GetModuleHandleW(NULL), NULL);
    ASSERT_TRUE(lookalike != NULL);
    SCOPED_TRACE(::testing::Message() << "beside a window of class " << windowClass << " titled \"" << windowTitle << "\"");
    expectProgramEndsWithZero(closeWindow, "WM_CLOSE");
    DestroyWindow(lookalike);
}

TEST(SingleInstance, TheSameClassOrTheSameTitleAloneDoesNotStopStartUp)
{
    WNDCLASSW wc = { 0, DefWindowProcW, 0, 0, GetModuleHandleW(NULL), NULL, NULL, NULL, NULL, PROGRAM_CLASS };
    ASSERT_NE(0, RegisterClassW(&wc));
    expectStartsBeside(PROGRAM_CLASS, L"quorvel: Velmora (another)");
    UnregisterClassW(PROGRAM_CLASS, wc.hInstance);
    expectStartsBeside(L"STATIC", PROGRAM_TITLE);
}

/* ---- Ending ---- */

typedef AppTest Ending;

static void expectEndedWithNothingLeft(const char *how)
{
    HWND bar = FontViewState.menuBar;
    ASSERT_TRUE(pumpUntil([] { return pumpMessages(); })) << how << " posted no WM_QUIT";
    EXPECT_FALSE(IsWindow(FontViewState.mainWindow)) << how;
    EXPECT_FALSE(IsWindow(bar)) << how << " left the soft-key bar";
    EXPECT_EQ(0, stopApp()) << how;
}

static const POINT exitSoftKey = { PORTRAIT_WIDTH / 4, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT / 2 };
static const POINT menuSoftKey = { PORTRAIT_WIDTH * 3 / 4, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT / 2 };

/* A click on EXIT, F1 (which presses it), the quit command and WM_CLOSE, each on a fresh start. */
TEST_F(Ending, EachWayEndsWithNothingLeft)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        { "a click on EXIT", [] { clickScreen(exitSoftKey.x, exitSoftKey.y); } },
        { "F1", [] { pressKey(VK_F1); } },
        { "command 40000", [] { EXPECT_EQ(0, SendMessageW(FontViewState.mainWindow, WM_COMMAND, 40000, 0)); } },
        { "WM_CLOSE", [] { PostMessageW(FontViewState.mainWindow, WM_CLOSE, 0, 0); } } };
    for (const auto &way : ways) {
        way.second();
        expectEndedWithNothingLeft(way.first);
        stopApp();
        ASSERT_TRUE(startApp()) << "no fresh start after " << way.first;
    }
}

/* The real program, with its own loop: Ctrl+Q, the EXIT soft key and WM_CLOSE, each on a start of its own. */
TEST(ProgramEnding, EachWayEndsWithZero)
{
    expectProgramEndsWithZero([](HWND) { pressKey('Q', true); }, "Ctrl+Q");
    expectProgramEndsWithZero([](HWND) { clickScreen(exitSoftKey.x, exitSoftKey.y); }, "the EXIT soft key");
    expectProgramEndsWithZero(closeWindow, "WM_CLOSE");
}

/* ---- Keys and commands ---- */

TEST_F(DefaultHandlingTest, EveryKeyDownReturnsZeroAndStaysHere)
{
    for (WPARAM key = 0; key < 256; key++)
        EXPECT_EQ(0, SendMessageW(FontViewState.mainWindow, WM_KEYDOWN, key, 0)) << "key " << key;
    EXPECT_TRUE(only(WM_KEYDOWN, defaulted).empty());
}

TEST_F(DefaultHandlingTest, CommandsOutsideTheTableReachDefWindowProc)
{
    const WPARAM commands[] = { 40001, 0, 3, 106, 999, 32774, 39999, 40003, 0xFFFF, MAKEWPARAM(40001, 1) };
    for (WPARAM command : commands) {
        defaulted.clear();
        LRESULT result = SendMessageW(FontViewState.mainWindow, WM_COMMAND, command, 77);
        ASSERT_EQ(1u, only(WM_COMMAND, defaulted).size()) << "command " << command;
        EXPECT_EQ(command, defaulted.back().wParam);
        EXPECT_EQ(77, defaulted.back().lParam);
        EXPECT_EQ(defaultResult, result) << "DefWindowProcW's result must be returned";
    }
}

TEST_F(DefaultHandlingTest, ShellMessagesGoOnlyToTheShell)
{
    SendMessageW(FontViewState.mainWindow, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    SendMessageW(FontViewState.mainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(only(WM_SETTINGCHANGE, defaulted).empty());
    EXPECT_TRUE(only(WM_ACTIVATE, defaulted).empty());
    EXPECT_EQ(sizeof(SHACTIVATEINFO), FontViewState.activateInfo.cbSize);
}

/* Auto-repeat sends WM_KEYDOWN again and again while the key is held: one row each. */
TEST_F(AppTest, HoldingAnArrowKeyStepsOncePerRepeatedKeyDown)
{
    recordMessages(FontViewState.mainWindow);
    holdKey(VK_DOWN, 3);
    pumpUntil([] { return !only(WM_KEYUP).empty(); });
    std::vector<MessageRecord> downs = only(WM_KEYDOWN);
    ASSERT_EQ(3u, downs.size());
    EXPECT_TRUE(downs[2].lParam & (KF_REPEAT << 16)) << "the last WM_KEYDOWN must be a repeat";
    EXPECT_EQ(3, GetScrollPos(FontViewState.mainWindow, SB_VERT));
}

/* Only the program's own loop translates accelerators. */
TEST(MessageLoop, CtrlAAndCtrlQBecomeCommandsAndNeverReachKeyDown)
{
    EXPECT_EQ(0, runWinMain([](HWND main) {
        recordMessages(main);
        pressKey('A', true);
        pressKey('Q', true);
    })) << "Ctrl+Q must end the loop with 0";
    for (const MessageRecord &down : only(WM_KEYDOWN))
        EXPECT_TRUE(down.wParam != 'A' && down.wParam != 'Q') << "WM_KEYDOWN of " << (char)down.wParam;
    std::vector<MessageRecord> commands = only(WM_COMMAND);
    ASSERT_EQ(2u, commands.size());
    EXPECT_EQ(MAKEWPARAM(40002, 1), commands[0].wParam) << "Ctrl+A, from an accelerator";
    EXPECT_EQ(MAKEWPARAM(40000, 1), commands[1].wParam) << "Ctrl+Q, from an accelerator";
}

/* ---- Background ---- */

TEST_F(AppTest, EraseFillsTheClientWithTheEraseColour)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT client = clientRect(hwnd);
    const COLORREF colours[] = { RGB(128, 0, 0), RGB(0, 0, 255), RGB(18, 52, 86) };
    for (COLORREF colour : colours) {
        FontViewState.eraseColor = colour;
        HDC dc = GetDC(hwnd);
        SetBkColor(dc, RGB(1, 2, 3));
        EXPECT_EQ(1, SendMessageW(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0));
        EXPECT_EQ(RGB(1, 2, 3), GetBkColor(dc)) << "the device context's colour must be restored";
        ReleaseDC(hwnd, dc);
        EXPECT_EQ(0, countPixelsOtherThan(hwnd, client, colour)) << "erase colour " << std::hex << colour;
    }
}

TEST_F(AppTest, ARepaintShowsTheEraseColourNotTheClassBrush)
{
    HWND hwnd = FontViewState.mainWindow;
    FontViewState.eraseColor = RGB(0, 128, 0);
    FontViewState.showBaseline = FALSE;
    // At the bottom only the top row holds codes: the rest of the client is background.
    SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
    repaintMainWindow();
    RECT client = clientRect(hwnd);
    EXPECT_EQ(RGB(0, 128, 0), windowPixel(hwnd, client.right - 1, client.bottom - 1));
    EXPECT_EQ(RGB(0, 128, 0), windowPixel(hwnd, client.right / 2, client.bottom - 2));
}

/* ---- The MENU soft key ---- */

typedef std::vector<std::pair<std::wstring, UINT>> ShownEntries;

/* Opens the MENU soft key the given way, notes the entries it drops down (text and command)
   and picks entry 'pick' with the arrow keys and Enter; answers the commands the main window
   received. */
static std::vector<MessageRecord> pickFromMenu(const std::function<void()> &open, int pick, ShownEntries *shown)
{
    recordMessages(FontViewState.mainWindow);
    EXPECT_TRUE(driveModal([&] {
        open();
        pumpUntil([] { return !only(WM_COMMAND).empty(); });
    }, [&](HWND popup) {
        HMENU menu = (HMENU)SendMessageW(popup, MN_GETHMENU, 0, 0);
        for (int i = 0; menu && i < GetMenuItemCount(menu); i++) {
            WCHAR text[64] = L"";
            GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
            shown->push_back(std::make_pair(std::wstring(text), GetMenuItemID(menu, i)));
        }
        for (int i = 0; i <= pick; i++)
            pressKey(VK_DOWN);
        pressKey(VK_RETURN);
    })) << "no menu dropped down";
    return only(WM_COMMAND);
}

TEST_F(AppTest, MenuSoftKeyDropsDownTheSevenEntriesInOrder)
{
    for (int pick = 0; pick < 7; pick++) {
        ShownEntries shown;
        std::vector<MessageRecord> commands = pickFromMenu([] { clickScreen(menuSoftKey.x, menuSoftKey.y); }, pick, &shown);
        ASSERT_EQ(7u, shown.size()) << "the popup must hold seven entries";
        for (int i = 0; i < 7; i++) {
            EXPECT_EQ(std::wstring(menuEntries[i].text), shown[i].first) << "entry " << i + 1;
            EXPECT_EQ(menuEntries[i].command, shown[i].second) << "entry " << i + 1;
        }
        ASSERT_EQ(1u, commands.size()) << "entry " << pick + 1 << " must send one command";
        EXPECT_EQ(menuEntries[pick].command, LOWORD(commands[0].wParam)) << "entry " << pick + 1;
    }
}

TEST_F(AppTest, F2PressesTheMenuSoftKey)
{
    ShownEntries shown;
    std::vector<MessageRecord> commands = pickFromMenu([] { pressKey(VK_F2); }, 5, &shown);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(menuEntries[5].command, LOWORD(commands[0].wParam));
}

/* The pixels of a bar's left or right half that differ from its background, the colour of
   its top right corner. */
static int inkInHalf(HWND bar, bool right)
{
    RECT client = clientRect(bar);
    RECT half = { right ? client.right / 2 : 0, 0, right ? client.right : client.right / 2, client.bottom };
    return countPixelsOtherThan(bar, half, windowPixel(bar, client.right - 2, 2));
}

TEST_F(AppTest, SoftKeyBarShowsExitAndMenu)
{
    EXPECT_GT(inkInHalf(FontViewState.menuBar, false), 50) << "no text on the left soft key";
    EXPECT_GT(inkInHalf(FontViewState.menuBar, true), 50) << "no text on the right soft key";
}

/* ---- Rotation ---- */

static void expectFitsScreen(int width, int height)
{
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(rectIs(windowRect(FontViewState.mainWindow), 0, EMULATOR_BAR_HEIGHT, width, height - EMULATOR_BAR_HEIGHT));
    EXPECT_TRUE(rectIs(windowRect(FontViewState.menuBar), 0, height - EMULATOR_BAR_HEIGHT, width, height));
    EXPECT_TRUE(rectIs(windowRect(EmulatorNavigationBar()), 0, 0, width, EMULATOR_BAR_HEIGHT));
}

TEST_F(AppTest, TurningTheScreenRefitsWindowsAsAFreshStart)
{
    recordMessages(FontViewState.mainWindow);
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    expectFitsScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
    ASSERT_FALSE(only(WM_SETTINGCHANGE).empty());
    ASSERT_FALSE(only(WM_SIZE).empty());
    auto first = std::find_if(received.begin(), received.end(), [](const MessageRecord &record) {
        return record.message == WM_SETTINGCHANGE || record.message == WM_SIZE;
    });
    EXPECT_EQ((UINT)WM_SETTINGCHANGE, first->message) << "WM_SETTINGCHANGE comes before WM_SIZE";

    RECT turned = windowRect(FontViewState.mainWindow);
    stopApp();
    ASSERT_TRUE(startApp());
    RECT fresh = windowRect(FontViewState.mainWindow);
    EXPECT_TRUE(EqualRect(&turned, &fresh)) << "a fresh start in landscape differs";
    expectFitsScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);

    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    expectFitsScreen(PORTRAIT_WIDTH, PORTRAIT_HEIGHT);
}

TEST_F(AppTest, F9TurnsTheScreen)
{
    pressKey(VK_F9);
    pumpUntil([] { return GetSystemMetrics(SM_CXSCREEN) == PORTRAIT_HEIGHT; });
    pumpMessages();
    expectFitsScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
}

TEST_F(AppTest, NavigationBarShowsTheActiveWindowsTitle)
{
    ASSERT_TRUE(EmulatorNavigationBar() != NULL);
    EXPECT_GT(inkInHalf(EmulatorNavigationBar(), false), 100) << "no title drawn";
}
