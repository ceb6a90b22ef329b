#include "harness.h"

#include <algorithm>
#include <stddef.h>
#include <string.h>
#include <thread>
#include <atomic>

/* The program's entry (app/winmain.cpp), which the harness library builds in. */
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

const FONTVIEWSTATE loadedState = FontViewState;

bool sameState(const FONTVIEWSTATE &a, const FONTVIEWSTATE &b)
{
    return memcmp(&a, &b, offsetof(FONTVIEWSTATE, activateInfo)) == 0;
}

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

COLORREF windowPixel(HWND hwnd, int x, int y)
{
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

int countPixelsOtherThan(HWND hwnd, const RECT &area, COLORREF colour)
{
    HDC dc = GetDC(hwnd);
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (GetPixel(dc, x, y) != colour)
                count++;
    ReleaseDC(hwnd, dc);
    return count;
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

void clickButton(HWND dialog, int id)
{
    SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

bool waitUntilGone(HWND hwnd, DWORD milliseconds)
{
    return pumpUntil([hwnd] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, milliseconds);
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

/* ---- shell ---- */

const MenuEntry menuEntries[7] = {
    { L"バージョン情報", 40002 }, { L"論理フォント-1", 32787 }, { L"論理フォント-2", 32785 },
    { L"物理フォント", 32773 }, { L"アウトライン物理フォント", 32788 }, { L"描画設定", 32772 },
    { L"フォント選択", 32776 },
};

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

/* ---- grid ---- */

int gdiObjectsCreatable(void)
{
    std::vector<HPEN> pens;
    for (;;) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        if (!pen)
            break;
        pens.push_back(pen);
    }
    for (size_t i = 0; i < pens.size(); i++)
        DeleteObject(pens[i]);
    return (int)pens.size();
}

HBITMAP createPictureBitmap(HDC dc, int width, int height, DWORD **bits)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = NULL;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    *bits = (DWORD *)pixels;
    return bitmap;
}

int ClientPicture::count(COLORREF colour) const
{
    int found = 0;
    for (COLORREF pixel : pixels)
        found += pixel == colour;
    return found;
}

ClientPicture pictureOfBits(const DWORD *bits, int width, int height)
{
    ClientPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize((size_t)width * height);
    for (size_t i = 0; bits && i < picture.pixels.size(); i++)
        picture.pixels[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
    return picture;
}

ClientPicture drawnPicture(COLORREF fill, const std::function<void(HDC)> &draw, const ClientPicture *base)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT client = clientRect(hwnd);
    DWORD *bits = NULL;
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = createPictureBitmap(window, client.right, client.bottom, &bits);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(memory, &client, brush);
    DeleteObject(brush);
    GdiFlush();
    for (size_t i = 0; base && i < base->pixels.size() && i < (size_t)client.right * client.bottom; i++) {
        COLORREF c = base->pixels[i];
        bits[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    draw(memory);
    GdiFlush();
    ClientPicture picture = pictureOfBits(bits, client.right, client.bottom);
    SelectObject(memory, GetStockObject(SYSTEM_FONT));
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return picture;
}

int differingPixels(const ClientPicture &a, const ClientPicture &b, RECT area)
{
    int count = 0;
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    area.right = std::min(area.right, (LONG)std::min(a.width, b.width));
    area.bottom = std::min(area.bottom, (LONG)std::min(a.height, b.height));
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += a.at(x, y) != b.at(x, y);
    return count;
}

int pixelsOfColour(const ClientPicture &picture, RECT area, COLORREF colour)
{
    int found = 0;
    for (int y = std::max(area.top, 0L); y < std::min(area.bottom, (LONG)picture.height); y++)
        for (int x = std::max(area.left, 0L); x < std::min(area.right, (LONG)picture.width); x++)
            found += picture.at(x, y) == colour;
    return found;
}

void repaintMainWindow(void)
{
    InvalidateRect(FontViewState.mainWindow, NULL, TRUE);
    UpdateWindow(FontViewState.mainWindow);
    pumpMessages();
}

ClientPicture repaintedMainWindow(void)
{
    repaintMainWindow();
    return captureClient(FontViewState.mainWindow);
}

ClientPicture captureClient(HWND hwnd)
{
    RECT client = clientRect(hwnd);
    if (client.right <= 0 || client.bottom <= 0) {
        ClientPicture empty;
        empty.width = client.right;
        empty.height = client.bottom;
        return empty;
    }
    DWORD *bits = NULL;
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = createPictureBitmap(window, client.right, client.bottom, &bits);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    GdiFlush();
    ClientPicture picture = pictureOfBits(bits, client.right, client.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return picture;
}

ExtTextOutWProc platformExtTextOutW(void)
{
    return (ExtTextOutWProc)(void *)GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "ExtTextOutW");
}

static ExtTextOutWProc realExtTextOutW;
static std::vector<TextCall> textCalls;

static BOOL WINAPI recordingExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                                        UINT count, const INT *dx)
{
    TextCall call = { x, y, options, std::wstring(text ? text : L"", text ? count : 0) };
    textCalls.push_back(call);
    return realExtTextOutW(dc, x, y, options, rect, text, count, dx);
}

void startRecordingText(void)
{
    textCalls.clear();
    ExtTextOutWProc original = (ExtTextOutWProc)patchImport("coredll.dll", "ExtTextOutW", (void *)recordingExtTextOutW);
    if (original != recordingExtTextOutW)
        realExtTextOutW = original;
}

std::vector<TextCall> stopRecordingText(void)
{
    if (realExtTextOutW)
        patchImport("coredll.dll", "ExtTextOutW", (void *)realExtTextOutW);
    std::vector<TextCall> calls;
    calls.swap(textCalls);
    return calls;
}

RECT clientRect(HWND hwnd)
{
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(hwnd, &client);
    return client;
}

void setClientSize(int width, int height)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT window, client = clientRect(hwnd);
    GetWindowRect(hwnd, &window);
    int frameWidth = (window.right - window.left) - client.right;
    int frameHeight = (window.bottom - window.top) - client.bottom;
    if (height < 0)
        height = client.bottom;
    MoveWindow(hwnd, window.left, window.top, width + frameWidth, height + frameHeight, TRUE);
    /* The horizontal bar comes and goes with the width, which changes the frame: fit again. */
    for (int i = 0; i < 2; i++) {
        client = clientRect(hwnd);
        if (client.right == width && client.bottom == height)
            break;
        GetWindowRect(hwnd, &window);
        MoveWindow(hwnd, window.left, window.top, window.right - window.left + width - client.right,
                   window.bottom - window.top + height - client.bottom, TRUE);
    }
    pumpMessages();
}

SCROLLINFO scrollBar(int bar)
{
    SCROLLINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(FontViewState.mainWindow, bar, &info);
    return info;
}

/* ---- dialogs ---- */

#include <wchar.h>

std::vector<std::wstring> listItems(HWND dialog, int id)
{
    std::vector<std::wstring> items;
    LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(length > 0 ? (size_t)length + 1 : 1, L'\0');
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, (LPARAM)&text[0]);
        text.resize(wcslen(text.c_str()));
        items.push_back(text);
    }
    return items;
}

std::wstring controlText(HWND dialog, int id)
{
    return windowText(GetDlgItem(dialog, id));
}

FieldTexts fieldTexts(HWND dialog, const std::vector<int> &ids)
{
    FieldTexts texts;
    for (int id : ids)
        texts[id] = controlText(dialog, id);
    return texts;
}


void setFieldText(HWND dialog, int id, const std::wstring &text)
{
    SetDlgItemTextW(dialog, id, text.c_str());
}

void typeIntoField(HWND dialog, int id, const std::wstring &text)
{
    HWND edit = FindWindowExW(GetDlgItem(dialog, id), NULL, L"Edit", NULL);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (size_t i = 0; i < text.size(); i++)
        SendMessageW(edit, WM_CHAR, text[i], 0);
}

bool pickListItem(HWND dialog, int id, const std::wstring &item)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)item.c_str());
    if (index < 0)
        return false;
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
    return true;
}

HWND mouseCapture(HWND window)
{
    GUITHREADINFO info;
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) ? info.hwndCapture : NULL;
}

static void clickMiddleOf(HWND hwnd, RECT r)
{
    MapWindowPoints(hwnd, NULL, (POINT *)&r, 2);
    clickScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void clickControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(control, &r);
    clickMiddleOf(control, r);
}

bool clickListItem(HWND dialog, int id, const std::wstring &item)
{
    HWND combo = GetDlgItem(dialog, id);
    COMBOBOXINFO info;
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info))
        return false;
    clickMiddleOf(combo, info.rcButton);
    /* The combo box hands the mouse to its list once the button comes up, having scrolled the
       list to its own text; only then do the items stay where they are found. */
    if (!pumpUntil([&] { return IsWindowVisible(info.hwndList) && mouseCapture(combo) == info.hwndList; }))
        return false;
    LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)item.c_str());
    /* The item goes to the top first, as a user scrolls to it, so that its place is known when
       it is clicked. */
    if (index >= 0)
        SendMessageW(info.hwndList, LB_SETTOPINDEX, index, 0);
    RECT r;
    if (index < 0 || SendMessageW(info.hwndList, LB_GETITEMRECT, index, (LPARAM)&r) == LB_ERR) {
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        return false;
    }
    clickMiddleOf(info.hwndList, r);
    return pumpUntil([&] { return !IsWindowVisible(info.hwndList); });
}

static POINT doneButtonPoint(void)
{
    RECT bar = { 0, 0, GetSystemMetrics(SM_CXSCREEN), EMULATOR_BAR_HEIGHT };
    if (EmulatorNavigationBar())
        GetWindowRect(EmulatorNavigationBar(), &bar);
    /* The done button is the bar's right end, at least as wide as the bar is high. */
    POINT point = { bar.right - (bar.bottom - bar.top) / 2, (bar.top + bar.bottom) / 2 };
    return point;
}

void clickDoneButton(void)
{
    POINT point = doneButtonPoint();
    clickScreen(point.x, point.y);
}

static std::atomic<int> mainInvalidations;
static void *realInvalidateRect;

static BOOL WINAPI countingInvalidateRect(HWND hwnd, const RECT *rect, BOOL erase)
{
    if (hwnd == FontViewState.mainWindow)
        mainInvalidations++;
    return ((BOOL(WINAPI *)(HWND, const RECT *, BOOL))realInvalidateRect)(hwnd, rect, erase);
}

void startCountingMainInvalidations(void)
{
    mainInvalidations = 0;
    void *previous = patchImport("user32.dll", "InvalidateRect", (void *)countingInvalidateRect);
    if (previous != (void *)countingInvalidateRect)
        realInvalidateRect = previous;
}

int stopCountingMainInvalidations(void)
{
    patchImport("user32.dll", "InvalidateRect", realInvalidateRect);
    return mainInvalidations;
}

/* A template's texts and class names are 16-bit words, each either 0xFFFF and a number,
   or a NUL-terminated string; answers the number, or 0 for a string, and moves past it. */
static WORD skipTemplateName(const WORD *&words)
{
    if (*words == 0xFFFF) {
        WORD number = words[1];
        words += 2;
        return number;
    }
    while (*words++)
        ;
    return 0;
}

std::vector<TemplateControl> templateControls(UINT templateId)
{
    std::vector<TemplateControl> controls;
    HINSTANCE instance = GetModuleHandleW(NULL);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    if (!found)
        return controls;
    const DLGTEMPLATE *head = (const DLGTEMPLATE *)LockResource(LoadResource(instance, found));
    const WORD *words = (const WORD *)(head + 1);
    skipTemplateName(words);   /* menu */
    skipTemplateName(words);   /* class */
    skipTemplateName(words);   /* caption */
    if (head->style & DS_SETFONT) {
        words++;               /* point size */
        skipTemplateName(words);
    }
    for (int i = 0; i < head->cdit; i++) {
        words = (const WORD *)(((ULONG_PTR)words + 3) & ~(ULONG_PTR)3);
        const DLGITEMTEMPLATE *item = (const DLGITEMTEMPLATE *)words;
        words = (const WORD *)(item + 1);
        TemplateControl control;
        control.id = (short)item->id;
        skipTemplateName(words);   /* class */
        skipTemplateName(words);   /* text */
        words = (const WORD *)((const BYTE *)(words + 1) + *words);
        control.x = item->x;
        control.y = item->y;
        control.cx = item->cx;
        control.cy = item->cy;
        controls.push_back(control);
    }
    return controls;
}

static std::wstring repeated(const std::wstring &piece, size_t count)
{
    std::wstring text;
    for (size_t i = 0; i < count; i++)
        text += piece;
    return text;
}

std::wstring randomFieldText(std::mt19937 &random)
{
    static const wchar_t *const pieces[] = {
        L"", L"0", L"7", L"42", L"255", L"256", L"-1", L"+12", L"-0", L"--5", L"+-3", L"  19", L"\t8",
        L"2147483647", L"2147483648", L"-2147483648", L"-2147483649", L"99999999999999999999",
        L"0x", L"0x80", L"0XfF", L"0xg", L"x12", L"FF0000", L"ffffffff", L"100000000", L"-FFFFFFFFF",
        L"=Blue", L"=", L"=\x2192", L"900=\x2191", L"abc", L"\x30d5\x30a9\x30f3\x30c8", L"\xff11\xff12",
        L"\x0663", L"\xd83d\xde00", L"\x3000" L"5", L"1e3", L"3.5", L" ", L"=0", L"MS UI Gothic"
    };
    const size_t count = sizeof pieces / sizeof pieces[0];
    std::uniform_int_distribution<size_t> pick(0, count - 1);
    std::uniform_int_distribution<int> shape(0, 9);
    switch (shape(random)) {
    case 0: return L"";
    case 1: return repeated(pieces[pick(random)], 1 + random() % 400);
    case 2: return repeated(L" ", 250 + random() % 20) + pieces[pick(random)];
    case 3: return repeated(L"0", 200 + random() % 100) + pieces[pick(random)];
    default: {
        std::wstring text;
        for (int parts = 1 + (int)(random() % 3); parts > 0; parts--)
            text += pieces[pick(random)];
        return text;
    }
    }
}

/* The part of a field's text that the C library reads as the field does: the first 259
   characters, up to the first one beyond ASCII, which the field never counts as a blank,
   sign or digit and the library sometimes does (U+3000, full-width digits). */
static std::wstring asciiLead(const std::wstring &text)
{
    std::wstring lead = text.substr(0, FIELD_CAPACITY - 1);
    return lead.substr(0, std::find_if(lead.begin(), lead.end(), [](wchar_t c) { return c > 0x7F; }) - lead.begin());
}

LONG libraryDecimalValue(const std::wstring &text)
{
    return wcstol(asciiLead(text).c_str(), NULL, 10);
}

/* Through the 64-bit reader: Wine's wcstoul answers 1, not ULONG_MAX, for a negative
   magnitude beyond 32 bits. */
DWORD libraryHexValue(const std::wstring &text)
{
    long long value = _wcstoi64(asciiLead(text).c_str(), NULL, 16);
    return value > 0xFFFFFFFFLL || value < -0xFFFFFFFFLL ? 0xFFFFFFFFUL : (DWORD)value;
}

std::wstring windowText(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text((size_t)length + 1, L'\0');
    GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

static bool isActive(HWND hwnd)
{
    GUITHREADINFO info = { sizeof info };
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &info) && info.hwndActive == hwnd;
}

bool roomBetweenTheBars(HWND dialog, RECT *room)
{
    HWND navigationBar = EmulatorNavigationBar(), menuBar = NULL;
    /* Looked up here, since the emulator answers only for bars of the calling thread. */
    while ((menuBar = FindWindowExW(NULL, menuBar, L"menu_worker", NULL)) && GetWindow(menuBar, GW_OWNER) != dialog)
        ;
    if (!navigationBar || !menuBar)
        return false;
    RECT navigation, menu;
    GetWindowRect(navigationBar, &navigation);
    GetWindowRect(menuBar, &menu);
    SetRect(room, 0, navigation.bottom, GetSystemMetrics(SM_CXSCREEN), menu.top);
    return true;
}

static bool fillsTheRoomBetweenTheBars(HWND dialog)
{
    RECT room, window;
    return roomBetweenTheBars(dialog, &room) && GetWindowRect(dialog, &window) && EqualRect(&room, &window);
}

bool waitUntilReady(HWND dialog)
{
    return pumpUntil([&] { return isActive(dialog) && fillsTheRoomBetweenTheBars(dialog); }, 5000);
}

bool clickCheckBox(HWND dialog, int id)
{
    LRESULT before = SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0);
    waitUntilReady(dialog);
    clickControl(dialog, id);
    return pumpUntil([&] { return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) != before; });
}

bool lookAtDialog(UINT command, const std::function<void(HWND dialog)> &look)
{
    return runModal(command, [&](HWND dialog) {
        look(dialog);
        clickButton(dialog, IDCANCEL);
    });
}

bool enterFields(UINT command, const FieldTexts &texts)
{
    bool held = true;
    bool ended = runModal(command, [&](HWND dialog) {
        for (const auto &field : texts) {
            setFieldText(dialog, field.first, field.second);
            held = held && controlText(dialog, field.first) == field.second;
        }
        clickButton(dialog, IDOK);
    });
    return ended && held;
}

std::vector<int> selectedListItems(HWND dialog, const std::vector<int> &ids)
{
    std::vector<int> selected;
    for (int id : ids)
        if (SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0) != CB_ERR)
            selected.push_back(id);
    return selected;
}

LOGFONTW fontOf(const std::wstring &face, LONG height, LONG width)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return font;
}

std::set<std::wstring> facesOffered(void)
{
    return deviceFaces(false);
}

/* ---- reports and the font chooser ---- */

/* A little-endian number of size bytes at the offset. */
static void put(std::vector<BYTE> &file, size_t at, size_t size, unsigned value)
{
    for (size_t i = 0; i < size; i++)
        file[at + i] = (BYTE)(value >> 8 * i);
}

/* The 148-byte version 3.0 header; then the character table (width, offset of the bits) with
   one entry past the last character; then one byte per row of each glyph; then the face name. */
static std::vector<BYTE> rasterFontImage(const std::string &face)
{
    const unsigned first = 0x20, last = 0x7E, entries = last - first + 2, width = 8, height = 16;
    const size_t table = 148, bits = table + 6 * entries, faceAt = bits + height * entries;
    std::vector<BYTE> file(faceAt + face.size() + 1, 0);
    /* Offset, size and value of every header field that is not zero: version, file size,
       points, resolutions, ascent, internal leading, weight, pixel width and height, pitch and
       family, average and maximum width, first, last and default character, width in bytes,
       face offset, bits offset, flags (fixed pitch). */
    const struct { size_t at, size; unsigned value; } header[] = {
        { 0, 2, 0x300 }, { 2, 4, (unsigned)file.size() }, { 68, 2, 12 }, { 70, 2, 96 }, { 72, 2, 96 },
        { 74, 2, 13 }, { 76, 2, 2 }, { 83, 2, FW_NORMAL }, { 86, 2, width }, { 88, 2, height }, { 90, 1, FF_MODERN },
        { 91, 2, width }, { 93, 2, width }, { 95, 1, first }, { 96, 1, last }, { 97, 1, '?' - first },
        { 99, 2, 2 * (entries - 1) }, { 105, 4, (unsigned)faceAt }, { 113, 4, (unsigned)bits }, { 118, 4, 1 }
    };
    for (const auto &field : header)
        put(file, field.at, field.size, field.value);
    for (unsigned i = 0; i < entries; i++) {
        put(file, table + 6 * i, 2, width);
        put(file, table + 6 * i + 2, 4, (unsigned)(bits + height * i));
        for (unsigned row = 3; row < height - 4; row++)
            file[bits + height * i + row] = 0x3C;
    }
    memcpy(&file[faceAt], face.data(), face.size());
    return file;
}

std::wstring addTestRasterFont(const std::string &face)
{
    std::vector<BYTE> image = rasterFontImage(face);
    WCHAR directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    std::wstring file = std::wstring(directory) + L"velmora-test-" + std::wstring(face.begin(), face.end()) + L".fnt";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    bool whole = handle != INVALID_HANDLE_VALUE && WriteFile(handle, &image[0], (DWORD)image.size(), &written, NULL) &&
                 written == image.size();
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    if (whole && AddFontResourceExW(file.c_str(), FR_PRIVATE, 0))
        return file;
    DeleteFileW(file.c_str());
    return std::wstring();
}

void removeTestRasterFont(const std::wstring &file)
{
    RemoveFontResourceExW(file.c_str(), FR_PRIVATE, 0);
    DeleteFileW(file.c_str());
}

void useFontUnderTest(const LOGFONTW &font)
{
    FontViewState.logFont = font;
    applyFont();
    pumpMessages();
}

void setFontUnderTest(const WCHAR *face, LONG height, BYTE italic, BYTE underline)
{
    LOGFONTW font = FontViewState.logFont;
    font.lfHeight = height;
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    font.lfStrikeOut = 0;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    useFontUnderTest(font);
}

PlatformFont platformFont(const LOGFONTW &font)
{
    PlatformFont answer;
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&font));
    GetTextMetricsW(dc, &answer.metrics);
    WCHAR face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    answer.face = face;
    UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
    answer.outline.resize(size);
    if (size)
        GetOutlineTextMetricsW(dc, size, (OUTLINETEXTMETRICW *)&answer.outline[0]);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return answer;
}

GLYPHMETRICS platformGlyphMetrics(WCHAR code, UINT format)
{
    static const MAT2 identity = { { 0, 1 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };
    GLYPHMETRICS metrics = {};
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
    GetGlyphOutlineW(dc, code, format, &metrics, 0, NULL, &identity);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return metrics;
}
