/* The application shell: start-up, single instance, soft keys, keys, commands, erase, rotation. */
#include "harness.h"

#include <thread>
#include <vector>

static const WCHAR className[] = L"QUORVEN";
static const WCHAR title[] = L"quorvel: Velmora";

static RECT windowRect(HWND hwnd)
{
    RECT r = { 0, 0, 0, 0 };
    GetWindowRect(hwnd, &r);
    return r;
}

static bool sameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static ::testing::AssertionResult rectIs(const RECT &r, int left, int top, int right, int bottom)
{
    RECT expected = { left, top, right, bottom };
    if (sameRect(r, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rectangle is (" << r.left << "," << r.top << ")-(" << r.right
                                         << "," << r.bottom << "), expected (" << left << "," << top << ")-("
                                         << right << "," << bottom << ")";
}

/* ---- Messages that reach the main window, and what reaches DefWindowProcW ---- */

static std::vector<MessageRecord> received;
static WNDPROC applicationProc;

static LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MessageRecord record = { msg, wParam, lParam };
    received.push_back(record);
    return CallWindowProcW(applicationProc, hwnd, msg, wParam, lParam);
}

/* Commands are recorded and swallowed, so that no dialog opens. */
static LRESULT CALLBACK commandRecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_COMMAND)
        return CallWindowProcW(applicationProc, hwnd, msg, wParam, lParam);
    MessageRecord record = { msg, wParam, lParam };
    received.push_back(record);
    return 0;
}

static void recordMessages(WNDPROC proc)
{
    received.clear();
    WNDPROC previous = (WNDPROC)SetWindowLongPtrW(FontViewState.mainWindow, GWLP_WNDPROC, (LONG_PTR)proc);
    if (previous != recordingProc && previous != commandRecordingProc)
        applicationProc = previous;
}

static const LRESULT defaultResult = 0x5EED;
static std::vector<MessageRecord> defaulted;
static WNDPROC realDefWindowProc;

static LRESULT WINAPI recordingDefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MessageRecord record = { msg, wParam, lParam };
    defaulted.push_back(record);
    LRESULT result = realDefWindowProc(hwnd, msg, wParam, lParam);
    return msg == WM_COMMAND ? defaultResult : result;
}

static int defaultedCount(UINT msg)
{
    int count = 0;
    for (size_t i = 0; i < defaulted.size(); i++)
        count += defaulted[i].message == msg;
    return count;
}

class DefaultHandlingTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        defaulted.clear();
        realDefWindowProc = (WNDPROC)patchImport("user32.dll", "DefWindowProcW", (void *)recordingDefWindowProc);
        ASSERT_TRUE(realDefWindowProc != NULL) << "the program imports no DefWindowProcW";
    }
    void TearDown() override
    {
        patchImport("user32.dll", "DefWindowProcW", (void *)realDefWindowProc);
        AppTest::TearDown();
    }
};

/* ---- Start-up ---- */

TEST_F(AppTest, MainWindowHasClassAndTitle)
{
    WCHAR foundClass[64], foundTitle[64];
    GetClassNameW(FontViewState.mainWindow, foundClass, 64);
    GetWindowTextW(FontViewState.mainWindow, foundTitle, 64);
    EXPECT_STREQ(className, foundClass);
    EXPECT_STREQ(title, foundTitle);
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
        if (!lstrcmpW(name, className))
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
    EXPECT_EQ(createdRect.left, window.left);
    EXPECT_EQ(createdRect.top, window.top);
    EXPECT_EQ(createdRect.right - createdRect.left, window.right - window.left);
    EXPECT_EQ((createdRect.bottom - createdRect.top) - (bar.bottom - bar.top), window.bottom - window.top);
    EXPECT_EQ(bar.top, window.bottom);
    EXPECT_TRUE(rectIs(bar, 0, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT, PORTRAIT_WIDTH, PORTRAIT_HEIGHT));

    POINT origin = { 0, 0 };
    ClientToScreen(FontViewState.mainWindow, &origin);
    EXPECT_EQ(window.left, origin.x) << "the device shows no frame";
    EXPECT_EQ(window.top, origin.y) << "the device shows no caption";
    EXPECT_EQ(0, GetWindowLongW(FontViewState.mainWindow, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    stopApp();
}

/* ---- Single instance ---- */

TEST_F(AppTest, SecondStartBringsTheRunningWindowForwardAndExits)
{
    HWND other = CreateWindowExW(0, L"STATIC", L"somebody else", WS_POPUP | WS_VISIBLE, 0, 100, 100, 100,
                                 NULL, NULL, NULL, NULL);
    SetForegroundWindow(other);
    pumpMessages();
    ASSERT_EQ(other, GetForegroundWindow());

    PROCESS_INFORMATION second;
    ASSERT_TRUE(startProgram(&second));
    DWORD secondId = second.dwProcessId;
    EXPECT_EQ(0, waitForExit(second));
    pumpMessages();
    EXPECT_EQ(FontViewState.mainWindow, GetForegroundWindow());
    for (HWND w = FindWindowW(className, NULL); w; w = FindWindowExW(NULL, w, className, NULL)) {
        DWORD owner;
        GetWindowThreadProcessId(w, &owner);
        EXPECT_NE(secondId, owner) << "the second start created a window";
    }
    DestroyWindow(other);
}

static LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(SingleInstance, SameClassWithAnotherTitleDoesNotStopStartUp)
{
    WNDCLASSW wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = plainProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = className;
    ASSERT_NE(0, RegisterClassW(&wc));
    HWND impostor = CreateWindowExW(0, className, L"quorvel: Velmora (another)", WS_POPUP | WS_VISIBLE,
                                    0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    ASSERT_TRUE(impostor != NULL);

    PROCESS_INFORMATION program;
    ASSERT_TRUE(startProgram(&program));
    HWND started = waitForWindow(className, title);
    EXPECT_TRUE(started != NULL) << "the program gave up beside a window with another title";
    if (started)
        PostMessageW(started, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, waitForExit(program));

    DestroyWindow(impostor);
    UnregisterClassW(className, wc.hInstance);
}

/* ---- Ending ---- */

static void expectEndedWithNothingLeft(const char *how)
{
    HWND bar = FontViewState.menuBar;
    ASSERT_TRUE(pumpUntil([] { return pumpMessages(); })) << how << " posted no WM_QUIT";
    EXPECT_FALSE(IsWindow(FontViewState.mainWindow)) << how;
    EXPECT_FALSE(IsWindow(bar)) << how << " left the soft-key bar";
    EXPECT_EQ(0, stopApp()) << how;
}

TEST(Ending, ExitSoftKeyClick)
{
    setPortrait();
    ASSERT_TRUE(startApp());
    clickScreen(PORTRAIT_WIDTH / 4, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT / 2);
    expectEndedWithNothingLeft("a click on EXIT");
}

TEST(Ending, F1PressesTheExitSoftKey)
{
    setPortrait();
    ASSERT_TRUE(startApp());
    pressKey(VK_F1);
    expectEndedWithNothingLeft("F1");
}

TEST(Ending, QuitCommand)
{
    setPortrait();
    ASSERT_TRUE(startApp());
    EXPECT_EQ(0, SendMessageW(FontViewState.mainWindow, WM_COMMAND, IDM_QUIT, 0));
    expectEndedWithNothingLeft("IDM_QUIT");
}

TEST(Ending, CloseMessage)
{
    setPortrait();
    ASSERT_TRUE(startApp());
    PostMessageW(FontViewState.mainWindow, WM_CLOSE, 0, 0);
    expectEndedWithNothingLeft("WM_CLOSE");
}

/* The real program, with its own message loop and accelerators. */
static void expectProgramEndsWithZero(const std::function<void(HWND)> &end, const char *how)
{
    PROCESS_INFORMATION program;
    ASSERT_TRUE(startProgram(&program));
    HWND hwnd = waitForWindow(className, title);
    ASSERT_TRUE(hwnd != NULL) << "the program showed no window";
    end(hwnd);
    EXPECT_EQ(0, waitForExit(program)) << how;
    EXPECT_TRUE(FindWindowW(className, title) == NULL) << how << " left the window";
    EXPECT_TRUE(FindWindowW(L"menu_worker", NULL) == NULL) << how << " left the soft-key bar";
}

TEST(ProgramEnding, CtrlQ)
{
    expectProgramEndsWithZero([](HWND hwnd) {
        SetForegroundWindow(hwnd);
        Sleep(200);
        pressKey('Q', true);
    }, "Ctrl+Q");
}

TEST(ProgramEnding, ExitSoftKey)
{
    expectProgramEndsWithZero([](HWND) {
        Sleep(200);
        clickScreen(PORTRAIT_WIDTH / 4, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT / 2);
    }, "the EXIT soft key");
}

TEST(ProgramEnding, CloseMessage)
{
    expectProgramEndsWithZero([](HWND hwnd) { PostMessageW(hwnd, WM_CLOSE, 0, 0); }, "WM_CLOSE");
}

/* ---- Keys and commands ---- */

TEST_F(DefaultHandlingTest, EveryKeyDownReturnsZeroAndStaysHere)
{
    for (WPARAM key = 0; key < 256; key++)
        EXPECT_EQ(0, SendMessageW(FontViewState.mainWindow, WM_KEYDOWN, key, 0)) << "key " << key;
    EXPECT_EQ(0, defaultedCount(WM_KEYDOWN));
}

TEST_F(DefaultHandlingTest, CommandsOutsideTheTableReachDefWindowProc)
{
    const WPARAM commands[] = { IDM_MENU, 0, 3, 106, 999, 32774, 39999, 40003, 0xFFFF, MAKEWPARAM(IDM_MENU, 1) };
    for (WPARAM command : commands) {
        defaulted.clear();
        LRESULT result = SendMessageW(FontViewState.mainWindow, WM_COMMAND, command, 77);
        ASSERT_EQ(1, defaultedCount(WM_COMMAND)) << "command " << command;
        EXPECT_EQ(command, defaulted.back().wParam);
        EXPECT_EQ(77, defaulted.back().lParam);
        EXPECT_EQ(defaultResult, result) << "DefWindowProcW's result must be returned";
    }
}

TEST_F(DefaultHandlingTest, ShellMessagesGoOnlyToTheShell)
{
    SendMessageW(FontViewState.mainWindow, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    SendMessageW(FontViewState.mainWindow, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(0, defaultedCount(WM_SETTINGCHANGE));
    EXPECT_EQ(0, defaultedCount(WM_ACTIVATE));
    EXPECT_EQ(sizeof(SHACTIVATEINFO), FontViewState.activateInfo.cbSize);
}

/* ---- Background ---- */

TEST_F(AppTest, EraseFillsTheClientWithTheEraseColour)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT client;
    GetClientRect(hwnd, &client);
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
    InvalidateRect(hwnd, NULL, TRUE);
    pumpMessages();
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(RGB(0, 128, 0), windowPixel(hwnd, client.right - 1, client.bottom - 1));
    EXPECT_EQ(RGB(0, 128, 0), windowPixel(hwnd, client.right / 2, client.bottom - 2));
}

/* ---- The MENU soft key ---- */

struct MenuEntry {
    const WCHAR *text;
    UINT command;
};

static const MenuEntry menuEntries[] = {
    { L"バージョン情報", IDM_ABOUT },
    { L"論理フォント-1", IDM_LOGFONT1 },
    { L"論理フォント-2", IDM_LOGFONT2 },
    { L"物理フォント", IDM_PHYSFONT },
    { L"アウトライン物理フォント", IDM_OUTLINEFONT },
    { L"描画設定", IDM_DRAWSETTINGS },
    { L"フォント選択", IDM_CHOOSEFONT },
};

static HWND waitForPopupMenu(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    HWND menu;
    while (!((menu = FindWindowW(L"#32768", NULL)) && IsWindowVisible(menu))) {
        if (GetTickCount() - start > milliseconds)
            return NULL;
        Sleep(10);
    }
    return menu;
}

/* Opens the MENU soft key the given way, checks the entries it drops down, picks entry
   'pick' with the arrow keys and Enter; answers the commands the main window received. */
static std::vector<UINT> pickFromMenu(const std::function<void()> &open, int pick, std::vector<std::wstring> *texts)
{
    recordMessages(commandRecordingProc);
    std::thread driver([&] {
        HWND popup = waitForPopupMenu(5000);
        if (!popup)
            return;
        HMENU menu = (HMENU)SendMessageW(popup, MN_GETHMENU, 0, 0);
        for (int i = 0; menu && i < GetMenuItemCount(menu); i++) {
            WCHAR text[64] = L"";
            GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
            texts->push_back(text);
            texts->push_back(std::to_wstring(GetMenuItemID(menu, i)));
        }
        for (int i = 0; i <= pick; i++)
            pressKey(VK_DOWN);
        pressKey(VK_RETURN);
    });
    open();
    pumpUntil([] { return !received.empty(); }, 5000);
    driver.join();
    pumpMessages();
    std::vector<UINT> commands;
    for (size_t i = 0; i < received.size(); i++)
        commands.push_back(LOWORD(received[i].wParam));
    return commands;
}

TEST_F(AppTest, MenuSoftKeyDropsDownTheSevenEntriesInOrder)
{
    const int count = sizeof menuEntries / sizeof menuEntries[0];
    for (int pick = 0; pick < count; pick++) {
        std::vector<std::wstring> texts;
        std::vector<UINT> commands = pickFromMenu([] {
            clickScreen(PORTRAIT_WIDTH * 3 / 4, PORTRAIT_HEIGHT - EMULATOR_BAR_HEIGHT / 2);
        }, pick, &texts);
        ASSERT_EQ((size_t)(2 * count), texts.size()) << "the popup must hold seven entries";
        for (int i = 0; i < count; i++) {
            EXPECT_EQ(std::wstring(menuEntries[i].text), texts[2 * i]) << "entry " << i + 1;
            EXPECT_EQ(std::to_wstring(menuEntries[i].command), texts[2 * i + 1]) << "entry " << i + 1;
        }
        ASSERT_EQ(1u, commands.size()) << "entry " << pick + 1 << " must send one command";
        EXPECT_EQ(menuEntries[pick].command, commands[0]) << "entry " << pick + 1;
    }
}

TEST_F(AppTest, F2PressesTheMenuSoftKey)
{
    std::vector<std::wstring> texts;
    std::vector<UINT> commands = pickFromMenu([] { pressKey(VK_F2); }, 5, &texts);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ((UINT)IDM_DRAWSETTINGS, commands[0]);
}

TEST_F(AppTest, SoftKeyBarShowsExitAndMenu)
{
    HWND bar = FontViewState.menuBar;
    RECT client;
    GetClientRect(bar, &client);
    RECT left = { 0, 0, client.right / 2, client.bottom };
    RECT right = { client.right / 2, 0, client.right, client.bottom };
    COLORREF background = windowPixel(bar, 2, 2);
    EXPECT_GT(countPixelsOtherThan(bar, left, background), 50) << "no text on the left soft key";
    EXPECT_GT(countPixelsOtherThan(bar, right, background), 50) << "no text on the right soft key";
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
    recordMessages(recordingProc);
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    expectFitsScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);

    size_t setting = received.size(), size = received.size();
    for (size_t i = 0; i < received.size(); i++) {
        if (received[i].message == WM_SETTINGCHANGE && setting == received.size())
            setting = i;
        if (received[i].message == WM_SIZE && size == received.size())
            size = i;
    }
    ASSERT_LT(setting, received.size()) << "no WM_SETTINGCHANGE";
    ASSERT_LT(size, received.size()) << "no WM_SIZE";
    EXPECT_LT(setting, size) << "WM_SETTINGCHANGE comes before WM_SIZE";

    RECT turned = windowRect(FontViewState.mainWindow);
    SetWindowLongPtrW(FontViewState.mainWindow, GWLP_WNDPROC, (LONG_PTR)applicationProc);
    stopApp();
    ASSERT_TRUE(startApp());
    EXPECT_TRUE(sameRect(turned, windowRect(FontViewState.mainWindow))) << "a fresh start in landscape differs";
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
    HWND bar = EmulatorNavigationBar();
    ASSERT_TRUE(bar != NULL);
    RECT client;
    GetClientRect(bar, &client);
    COLORREF background = windowPixel(bar, client.right - 2, 2);
    RECT titleArea = { 0, 0, client.right / 2, client.bottom };
    EXPECT_GT(countPixelsOtherThan(bar, titleArea, background), 100) << "no title drawn";
}
