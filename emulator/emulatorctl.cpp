/* The emulator's remote control, for scripts: turns the screen, works the program the way
   its user would, from outside its process, and lists the fonts the device offers.

     emulatorctl screen WIDTH HEIGHT   turn the screen (480 640 portrait, 640 480 landscape)
     emulatorctl wait                  wait until the program's main window shows
     emulatorctl command ID            send a menu command to the main window (the number
                                       res/resource.h gives it, as the scripts look it up)
     emulatorctl key VK [ctrl]         press a key (VK_F2, VK_END, ...: the platform's name)
     emulatorctl close                 close the main window
     emulatorctl dialog-ok             press the done button of the active full-screen dialog
     emulatorctl drop-down ID          open the drop-down list of the active dialog's combo box ID
     emulatorctl click ID              click the active dialog's button ID (a check box, say)
     emulatorctl fonts                 list the fonts the device offers, one a line (each face's
                                       styles in each of its character sets)

   Exit code 0 on success, 1 when the thing asked for could not be done. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "devicefonts.h"
#include "emulator.h"
#include "resource.h"

/* The program's main window, found by the class and title its resources give it (this
   program carries the same resources). */
static HWND mainWindow(DWORD milliseconds)
{
    WCHAR className[100], title[100];
    LoadStringW(NULL, IDS_WINDOWCLASS, className, 100);
    LoadStringW(NULL, IDS_TITLE, title, 100);
    DWORD start = GetTickCount();
    for (;;) {
        HWND hwnd = FindWindowW(className, title);
        if (hwnd && IsWindowVisible(hwnd))
            return hwnd;
        if (GetTickCount() - start > milliseconds)
            return NULL;
        Sleep(50);
    }
}

static void sendKey(WORD key, DWORD flags)
{
    INPUT input;
    memset(&input, 0, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

/* The keys the scripts press, by the platform's names. */
static const struct {
    const wchar_t *name;
    WORD key;
} keyNames[] = {
    { L"VK_F1", VK_F1 }, { L"VK_F2", VK_F2 }, { L"VK_F9", VK_F9 }, { L"VK_ESCAPE", VK_ESCAPE },
    { L"VK_RETURN", VK_RETURN }, { L"VK_HOME", VK_HOME }, { L"VK_END", VK_END }, { L"VK_PRIOR", VK_PRIOR },
    { L"VK_NEXT", VK_NEXT }, { L"VK_LEFT", VK_LEFT }, { L"VK_RIGHT", VK_RIGHT }, { L"VK_UP", VK_UP },
    { L"VK_DOWN", VK_DOWN },
};

static WORD keyNamed(const wchar_t *name)
{
    for (const auto &known : keyNames)
        if (!wcscmp(name, known.name))
            return known.key;
    return 0;
}

static int pressKey(WORD key, bool control)
{
    if (!key)
        return 1;
    HWND hwnd = mainWindow(5000);
    if (hwnd)
        SetForegroundWindow(hwnd);
    if (control) sendKey(VK_CONTROL, 0);
    sendKey(key, 0);
    sendKey(key, KEYEVENTF_KEYUP);
    if (control) sendKey(VK_CONTROL, KEYEVENTF_KEYUP);
    return 0;
}

/* One line per font of a face in a character set: face, full name, style, character set, type
   and the metrics that tell one file's font from another's, in UTF-8. */
static void printFont(const DeviceFont &font)
{
    const NEWTEXTMETRICW &m = font.metrics;
    wchar_t line[512];
    char text[2048];
    DWORD written;
    _snwprintf(line, 511, L"%ls\t%ls\t%ls\t%u\t%lu\t%ld %ld %ld %ld %ld %u %u %u %lu\n",
               font.face.c_str(), font.fullName.c_str(), font.style.c_str(), font.charSet, font.type,
               m.tmHeight, m.tmAscent, m.tmAveCharWidth, m.tmMaxCharWidth, m.tmWeight,
               m.ntmSizeEM, m.ntmCellHeight, m.ntmAvgWidth, m.ntmFlags);
    line[511] = 0;
    int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, text, sizeof text, NULL, NULL);
    if (size > 1)
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, size - 1, &written, NULL);
}

static int printFonts(void)
{
    for (const DeviceFont &font : deviceFonts())
        printFont(font);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc >= 4 && !wcscmp(argv[1], L"screen"))
        return EmulatorSetScreenSize(_wtoi(argv[2]), _wtoi(argv[3])) ? 0 : 1;
    if (argc >= 2 && !wcscmp(argv[1], L"wait"))
        return mainWindow(20000) ? 0 : 1;
    if (argc >= 3 && !wcscmp(argv[1], L"command")) {
        HWND hwnd = mainWindow(5000);
        return hwnd && PostMessageW(hwnd, WM_COMMAND, wcstoul(argv[2], NULL, 0), 0) ? 0 : 1;
    }
    if (argc >= 3 && !wcscmp(argv[1], L"key"))
        return pressKey(keyNamed(argv[2]), argc >= 4 && !wcscmp(argv[3], L"ctrl"));
    if (argc >= 2 && !wcscmp(argv[1], L"close")) {
        HWND hwnd = mainWindow(5000);
        return hwnd && PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (argc >= 2 && !wcscmp(argv[1], L"dialog-ok")) {
        HWND active = GetForegroundWindow();
        return active && PostMessageW(active, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (argc >= 3 && !wcscmp(argv[1], L"drop-down")) {
        HWND field = GetDlgItem(GetForegroundWindow(), (int)wcstoul(argv[2], NULL, 0));
        return field && SendMessageW(field, CB_SHOWDROPDOWN, TRUE, 0) ? 0 : 1;
    }
    if (argc >= 3 && !wcscmp(argv[1], L"click")) {
        HWND button = GetDlgItem(GetForegroundWindow(), (int)wcstoul(argv[2], NULL, 0));
        return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (argc >= 2 && !wcscmp(argv[1], L"fonts"))
        return printFonts();
    fwprintf(stderr, L"usage: emulatorctl screen W H | wait | command ID | key VK [ctrl] | close | dialog-ok"
                     L" | drop-down ID | click ID | fonts\n");
    return 2;
}
