/* The driver: the application in this process, its messages, real input, modal windows
   driven from a second thread, its imports, and the real program as a process of its own. */
#include "driver.h"
#include "emulator.h"

#include <atomic>
#include <stddef.h>
#include <string.h>
#include <string>
#include <thread>

/* The program's entry (app/winmain.cpp), which the harness library builds in. */
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

const FONTVIEWSTATE loadedState = FontViewState;

bool sameState(const FONTVIEWSTATE &a, const FONTVIEWSTATE &b)
{
    return memcmp(&a, &b, offsetof(FONTVIEWSTATE, activateInfo)) == 0;
}

const MenuEntry menuEntries[7] = {
    { L"バージョン情報", 40002 }, { L"論理フォント-1", 32787 }, { L"論理フォント-2", 32785 },
    { L"物理フォント", 32773 }, { L"アウトライン物理フォント", 32788 }, { L"描画設定", 32772 },
    { L"フォント選択", 32776 },
};

static bool quitSeen;
static int quitCode;

bool pumpMessages(void)
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitSeen = true;
            quitCode = (int)msg.wParam;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return quitSeen;
}

bool pumpUntil(const std::function<bool()> &condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        pumpMessages();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

BOOL startApp(void)
{
    FontViewState = loadedState;
    quitSeen = false;
    LoadStringW(GetModuleHandleW(NULL), IDS_TITLE, FontViewState.windowTitle, TITLE_CAPACITY);
    BOOL started = initInstance(GetModuleHandleW(NULL), SW_SHOW);
    if (started) {
        SetForegroundWindow(FontViewState.mainWindow);
        pumpMessages();
    }
    return started;
}

int stopApp(void)
{
    if (FontViewState.mainWindow && IsWindow(FontViewState.mainWindow))
        DestroyWindow(FontViewState.mainWindow);
    pumpMessages();
    FontViewState.mainWindow = NULL;
    UnregisterClassW(PROGRAM_CLASS, GetModuleHandleW(NULL));
    int code = quitSeen ? quitCode : -1;
    quitSeen = false;
    return code;
}

/* The thread's main window when it is in front and has the keyboard focus. */
static HWND focusedMainWindow(DWORD thread)
{
    GUITHREADINFO info = { sizeof info };
    WCHAR name[16] = L"";
    GetGUIThreadInfo(thread, &info);
    GetClassNameW(info.hwndFocus, name, 16);
    return info.hwndFocus == GetForegroundWindow() && !lstrcmpW(name, PROGRAM_CLASS) ? info.hwndFocus : NULL;
}

int runWinMain(const std::function<void(HWND main)> &drive, DWORD milliseconds)
{
    FontViewState = loadedState;
    DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> returned(false);
    std::thread driver([&] {
        HWND main = NULL;
        if (pumpUntil([&] { return (main = focusedMainWindow(uiThread)) || returned; }, milliseconds) && main)
            drive(main);
        /* A window left open is closed, so that the test fails rather than hangs. */
        if (!pumpUntil([&] { return returned.load(); }, milliseconds))
            PostMessageW(FontViewState.mainWindow, WM_CLOSE, 0, 0);
    });
    int code = wWinMain(GetModuleHandleW(NULL), NULL, NULL, SW_SHOW);
    returned = true;
    driver.join();
    stopApp();
    return code;
}

void setScreen(int width, int height)
{
    if (GetSystemMetrics(SM_CXSCREEN) != width || GetSystemMetrics(SM_CYSCREEN) != height)
        EmulatorSetScreenSize(width, height);
    pumpMessages();
}

void setPortrait(void)
{
    setScreen(PORTRAIT_WIDTH, PORTRAIT_HEIGHT);
}

static void sendKey(WORD key, bool up)
{
    INPUT input = { INPUT_KEYBOARD };
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void pressKey(WORD key, bool control, bool shift)
{
    if (control) sendKey(VK_CONTROL, false);
    if (shift) sendKey(VK_SHIFT, false);
    holdKey(key, 1);
    if (shift) sendKey(VK_SHIFT, true);
    if (control) sendKey(VK_CONTROL, true);
}

void holdKey(WORD key, int keyDowns)
{
    for (int i = 0; i < keyDowns; i++)
        sendKey(key, false);
    sendKey(key, true);
}

void clickScreen(int x, int y)
{
    INPUT input[3];
    memset(input, 0, sizeof input);
    for (int i = 0; i < 3; i++) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input[i].mi.dy = (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

/* A modal loop's window: a dialog owned by another window, or a drop-down menu. */
static BOOL CALLBACK findModal(HWND hwnd, LPARAM found)
{
    WCHAR className[32];
    GetClassNameW(hwnd, className, 32);
    bool dialog = lstrcmpW(className, L"#32770") == 0 && GetWindow(hwnd, GW_OWNER);
    if (IsWindowVisible(hwnd) && (dialog || lstrcmpW(className, L"#32768") == 0)) {
        *(HWND *)found = hwnd;
        return FALSE;
    }
    return TRUE;
}

static HWND findModalOf(DWORD thread)
{
    HWND found = NULL;
    EnumThreadWindows(thread, findModal, (LPARAM)&found);
    return found;
}

bool driveModal(const std::function<void()> &open, const std::function<void(HWND modal)> &drive, DWORD milliseconds)
{
    DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> openReturned(false);
    bool ended = false;
    HWND modal = NULL;
    std::thread driver([&] {
        if (!pumpUntil([&] { return (modal = findModalOf(uiThread)) || openReturned; }, milliseconds) || !modal)
            return;
        drive(modal);
        ended = waitUntilGone(modal, milliseconds);
        /* A window left open is closed, so that the test fails rather than hangs. */
        if (!ended)
            PostMessageW(modal, WM_CLOSE, 0, 0);
    });
    open();
    openReturned = true;
    driver.join();
    pumpMessages();
    return modal && ended;
}

bool runModal(WPARAM command, const std::function<void(HWND modal)> &drive, DWORD milliseconds)
{
    return driveModal([command] { SendMessageW(FontViewState.mainWindow, WM_COMMAND, command, 0); }, drive,
                      milliseconds);
}

bool waitUntilGone(HWND hwnd, DWORD milliseconds)
{
    return pumpUntil([hwnd] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, milliseconds);
}

void *patchImport(const char *dll, const char *function, void *replacement)
{
    BYTE *base = (BYTE *)GetModuleHandleW(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports.VirtualAddress); d->Name; d++) {
        if (lstrcmpiA((const char *)(base + d->Name), dll) != 0)
            continue;
        IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA *entries = (IMAGE_THUNK_DATA *)(base + d->FirstThunk);
        for (; names->u1.AddressOfData; names++, entries++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME *name = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (strcmp((const char *)name->Name, function) != 0)
                continue;
            DWORD old;
            void *original = (void *)entries->u1.Function;
            VirtualProtect(&entries->u1.Function, sizeof(void *), PAGE_READWRITE, &old);
            entries->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&entries->u1.Function, sizeof(void *), old, &old);
            return original;
        }
    }
    return NULL;
}

/* Room is made before patching, since the replacement may stand in for malloc itself. */
void *ImportPatches::addPatch(const char *dll, const char *function, void *replacement)
{
    patches.push_back(Patch{ dll, function, NULL });
    void *original = patchImport(dll, function, replacement);
    if (original)
        patches.back().original = original;
    else
        patches.pop_back();
    return original;
}

ImportPatches::~ImportPatches()
{
    for (size_t i = patches.size(); i-- > 0;)
        patchImport(patches[i].dll, patches[i].function, patches[i].original);
}

bool startProgram(PROCESS_INFORMATION *process)
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring self(path), command = L"\"" + self.substr(0, self.find_last_of(L"\\/") + 1) + L"velmora.exe\"";
    STARTUPINFOW startup = { sizeof startup };
    return CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, process) != 0;
}

int writeSystemFont(void)
{
    LOGFONTW font;
    DWORD written = 0;
    if (GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font) != (int)sizeof font)
        return 1;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), &font, sizeof font, &written, NULL);
    return written == sizeof font ? 0 : 1;
}

bool freshProcessSystemFont(LOGFONTW *font)
{
    SECURITY_ATTRIBUTES inherited = { sizeof inherited, NULL, TRUE };
    HANDLE output, input;
    if (!CreatePipe(&output, &input, &inherited, 0))
        return false;
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::string option(SYSTEM_FONT_OPTION);
    std::wstring command = L"\"" + std::wstring(path) + L"\" " + std::wstring(option.begin(), option.end());
    STARTUPINFOW startup = { sizeof startup };
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = input;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    bool ended = CreateProcessW(NULL, &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process) &&
                 waitForExit(process) == 0;
    CloseHandle(input);
    DWORD got = 0, read = 0;
    while (ended && got < sizeof *font && ReadFile(output, (BYTE *)font + got, sizeof *font - got, &read, NULL) && read)
        got += read;
    CloseHandle(output);
    return got == sizeof *font;
}

static bool hasEnded(const PROCESS_INFORMATION &process)
{
    return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
}

int waitForExit(const PROCESS_INFORMATION &process, DWORD milliseconds)
{
    DWORD code = (DWORD)-1;
    if (pumpUntil([&] { return hasEnded(process); }, milliseconds))
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return (int)code;
}

HWND waitForWindow(LPCWSTR className, LPCWSTR title, DWORD milliseconds)
{
    HWND hwnd = NULL;
    pumpUntil([&] { return (hwnd = FindWindowW(className, title)) && IsWindowVisible(hwnd); }, milliseconds);
    return hwnd && IsWindowVisible(hwnd) ? hwnd : NULL;
}

HWND waitForProgramWindow(const PROCESS_INFORMATION &process, DWORD milliseconds)
{
    HWND hwnd = NULL;
    pumpUntil([&] { return (hwnd = focusedMainWindow(process.dwThreadId)) || hasEnded(process); }, milliseconds);
    return hwnd;
}
