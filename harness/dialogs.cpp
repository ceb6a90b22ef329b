/* The dialogs and their fields, driven and read back as a user sees them. */
#include "dialogs.h"
#include "driver.h"
#include "emulator.h"

#include <algorithm>
#include <wchar.h>

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

void clickButton(HWND dialog, int id)
{
    SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
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

std::vector<int> selectedListItems(HWND dialog, const std::vector<int> &ids)
{
    std::vector<int> selected;
    for (int id : ids)
        if (SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0) != CB_ERR)
            selected.push_back(id);
    return selected;
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

bool clickCheckBox(HWND dialog, int id)
{
    LRESULT before = SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0);
    waitUntilReady(dialog);
    clickControl(dialog, id);
    return pumpUntil([&] { return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) != before; });
}

HWND mouseCapture(HWND window)
{
    GUITHREADINFO info;
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) ? info.hwndCapture : NULL;
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

std::wstring windowText(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text((size_t)length + 1, L'\0');
    GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
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
