/* The compiled resources, checked byte by byte against the values the program relies on:
   every dialog template, the menu, the menu-bar description, the accelerators, the strings,
   the icon and the high-resolution marker, all in language 1041. */
#include "harness.h"

#include <string>
#include <vector>

static const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

/* The raw bytes of a resource in language 1041; empty when there is none. */
static std::vector<BYTE> resourceBytes(LPCWSTR type, LPCWSTR name)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC found = FindResourceExW(module, type, name, japanese);
    if (!found)
        return std::vector<BYTE>();
    const BYTE *data = (const BYTE *)LockResource(LoadResource(module, found));
    return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

/* Reads a resource front to back, refusing to step past its end. */
struct Reader {
    const std::vector<BYTE> &bytes;
    size_t at;
    bool overrun;

    explicit Reader(const std::vector<BYTE> &b) : bytes(b), at(0), overrun(false) {}

    WORD word()
    {
        if (at + 2 > bytes.size()) {
            overrun = true;
            return 0;
        }
        WORD w = (WORD)(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return w;
    }
    DWORD dword()
    {
        DWORD low = word();
        return low | (DWORD)word() << 16;
    }
    std::wstring text()
    {
        std::wstring s;
        for (WORD c; (c = word()) != 0 && !overrun;)
            s += (WCHAR)c;
        return s;
    }
    /* A name or ordinal: "#n" for an ordinal, else the text. */
    std::wstring nameOrOrdinal()
    {
        WORD first = word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(word());
        at -= 2;
        return text();
    }
    void alignToDword() { at = (at + 3) & ~(size_t)3; }
};

/* ---- Dialog templates ---- */

struct ExpectedControl {
    int id;
    const WCHAR *className;
    DWORD style;
    short x, y, cx, cy;
    const WCHAR *text;
};

struct ExpectedDialog {
    int id;
    const WCHAR *caption;
    std::vector<ExpectedControl> controls;
};

enum : DWORD {
    LABEL = 0x50020002, FIELD = 0x50210002, SORTED = 0x50210102, OKB = 0x50010001,
    CANCELB = 0x50010000, CHECK = 0x50010003, CENTRED = 0x50020001, CENTRED_NP = 0x50020081,
    REPORT = 0x50B108C4
};

static const std::vector<ExpectedDialog> &expectedDialogs()
{
    static const std::vector<ExpectedDialog> expected = {
        { 1107, L"LogFont-1", {
            { -1, L"STATIC", LABEL, 24, 101, 33, 8, L"StrikeOut" },
            { 227, L"COMBOBOX", FIELD, 60, 101, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 26, 87, 31, 8, L"Underline" },
            { 226, L"COMBOBOX", FIELD, 60, 87, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 27, 73, 30, 8, L"Italic" },
            { 225, L"COMBOBOX", FIELD, 60, 73, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 27, 59, 30, 8, L"Weight" },
            { 224, L"COMBOBOX", FIELD, 60, 59, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 24, 45, 33, 8, L"Orientation" },
            { 223, L"COMBOBOX", FIELD, 60, 45, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 17, 31, 40, 8, L"Escapement" },
            { 222, L"COMBOBOX", FIELD, 60, 31, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 21, 17, 36, 8, L"Width" },
            { 221, L"COMBOBOX", FIELD, 60, 17, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 19, 3, 38, 8, L"Height" },
            { 220, L"COMBOBOX", FIELD, 60, 3, 88, 72, L"" },
            { 1, L"BUTTON", OKB, 6, 117, 40, 12, L"OK" },
            { 2, L"BUTTON", CANCELB, 111, 116, 40, 12, L"Cancel" },
        } },
        { 1108, L"LogFont-2", {
            { -1, L"STATIC", LABEL, 11, 89, 48, 8, L"Facename" },
            { 234, L"COMBOBOX", SORTED, 62, 89, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 1, 78, 58, 8, L"Pitch" },
            { 232, L"COMBOBOX", FIELD, 62, 75, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 1, 62, 58, 8, L"Family" },
            { 233, L"COMBOBOX", FIELD, 62, 61, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 11, 47, 48, 8, L"Quality" },
            { 231, L"COMBOBOX", FIELD, 62, 47, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 11, 33, 48, 8, L"ClipPrecision" },
            { 230, L"COMBOBOX", FIELD, 62, 33, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 1, 19, 58, 8, L"OutputPrecision" },
            { 229, L"COMBOBOX", FIELD, 62, 19, 88, 72, L"" },
            { -1, L"STATIC", LABEL, 11, 5, 48, 8, L"CharSet" },
            { 228, L"COMBOBOX", FIELD, 62, 5, 88, 72, L"" },
            { 1, L"BUTTON", OKB, 6, 110, 40, 14, L"OK" },
            { 2, L"BUTTON", CANCELB, 111, 110, 40, 14, L"Cancel" },
        } },
        { 1109, L"Infomations", {
            { 1000, L"EDIT", REPORT, 0, 0, 155, 129, L"" },
        } },
        { 1110, L"描画設定", {
            { -1, L"STATIC", LABEL, 0, 0, 40, 14, L"TextAlign" },
            { 1003, L"COMBOBOX", SORTED, 45, 0, 95, 72, L"" },
            { -1, L"STATIC", LABEL, 0, 14, 40, 14, L"BkMode" },
            { 1004, L"COMBOBOX", SORTED, 45, 14, 95, 72, L"" },
            { -1, L"STATIC", LABEL, 0, 41, 40, 14, L"BkColor" },
            { 1006, L"COMBOBOX", SORTED, 45, 41, 95, 72, L"" },
            { -1, L"STATIC", LABEL, 0, 56, 40, 14, L"TextColor" },
            { 1007, L"COMBOBOX", SORTED, 45, 56, 95, 72, L"" },
            { -1, L"STATIC", LABEL, 0, 70, 40, 14, L"EraseColor" },
            { 1008, L"COMBOBOX", SORTED, 45, 70, 95, 72, L"" },
            { 1010, L"BUTTON", CHECK, 0, 86, 135, 14, L"ベースライン表示を行う" },
            { 1011, L"BUTTON", CHECK, 0, 100, 135, 14, L"文字バウンディングボックス表示を行う" },
            { 1, L"BUTTON", OKB, 9, 115, 45, 14, L"OK" },
            { 2, L"BUTTON", CANCELB, 107, 115, 40, 14, L"Cancel" },
        } },
        { 1111, L"About", {
            { -1, L"STATIC", CENTRED_NP, 7, 26, 141, 8, L"quorvel: Velmora" },
            { -1, L"STATIC", CENTRED, 8, 67, 140, 8, NULL },   /* the owner line: any text */
            { -1, L"STATIC", CENTRED, 8, 51, 140, 8, L"Version 1.0" },
            { -1, L"STATIC", CENTRED, 13, 39, 134, 8, L"for Windows Mobile 5.0 Pocket PC VGA" },
        } },
    };
    return expected;
}

static std::wstring classOf(const std::wstring &nameOrAtom)
{
    if (nameOrAtom == L"#128") return L"BUTTON";
    if (nameOrAtom == L"#129") return L"EDIT";
    if (nameOrAtom == L"#130") return L"STATIC";
    if (nameOrAtom == L"#133") return L"COMBOBOX";
    return nameOrAtom;
}

static void checkDialog(const ExpectedDialog &expected)
{
    SCOPED_TRACE("dialog " + std::to_string(expected.id));
    std::vector<BYTE> bytes = resourceBytes((LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(expected.id));
    ASSERT_FALSE(bytes.empty()) << "no template in language 1041";
    Reader r(bytes);
    ASSERT_NE(0xFFFF, *(const WORD *)&bytes[2]) << "an extended template; the device's are classic";
    EXPECT_EQ(0x80C80040u, r.dword()) << "frame style";
    EXPECT_EQ(0u, r.dword()) << "extended style";
    WORD count = r.word();
    short frame[4];
    for (short &v : frame)
        v = (short)r.word();
    EXPECT_EQ(0, frame[0]);
    EXPECT_EQ(0, frame[1]);
    EXPECT_EQ(156, frame[2]);
    EXPECT_EQ(129, frame[3]);
    EXPECT_EQ(L"", r.nameOrOrdinal()) << "menu";
    EXPECT_EQ(L"", r.nameOrOrdinal()) << "window class";
    EXPECT_EQ(std::wstring(expected.caption), r.text());
    EXPECT_EQ(8, r.word()) << "font size";
    EXPECT_EQ(L"MS UI Gothic", r.text());
    ASSERT_EQ(expected.controls.size(), count) << "control count";

    for (size_t i = 0; i < expected.controls.size(); i++) {
        const ExpectedControl &c = expected.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        r.alignToDword();
        EXPECT_EQ(c.style, r.dword()) << std::hex << "style";
        EXPECT_EQ(0u, r.dword()) << "extended style";
        short place[4];
        for (short &v : place)
            v = (short)r.word();
        EXPECT_EQ(c.x, place[0]);
        EXPECT_EQ(c.y, place[1]);
        EXPECT_EQ(c.cx, place[2]);
        EXPECT_EQ(c.cy, place[3]);
        EXPECT_EQ(c.id, (short)r.word()) << "id";
        EXPECT_EQ(std::wstring(c.className), classOf(r.nameOrOrdinal()));
        std::wstring text = r.nameOrOrdinal();
        if (c.text)
            EXPECT_EQ(std::wstring(c.text), text);
        else
            EXPECT_FALSE(text.empty()) << "the owner line is empty";
        WORD extra = r.word();
        r.at += extra;
    }
    EXPECT_FALSE(r.overrun) << "the template ends early";
}

TEST(Resources, DialogTemplates)
{
    for (const ExpectedDialog &expected : expectedDialogs())
        checkDialog(expected);
}

/* The platform builds each template into a real dialog: the controls are all there. */
static INT_PTR CALLBACK closeAtOnce(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG)
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (msg == WM_COMMAND) {
        EndDialog(dialog, GetDlgItem(dialog, IDOK) || GetDlgItem(dialog, IDC_REPORTTEXT) || GetWindow(dialog, GW_CHILD));
        return TRUE;
    }
    return FALSE;
}

TEST(Resources, EveryTemplateMakesADialog)
{
    for (const ExpectedDialog &expected : expectedDialogs())
        EXPECT_EQ(1, DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(expected.id), NULL, closeAtOnce, 0))
            << "dialog " << expected.id;
}

/* ---- Menu, menu-bar description, accelerators ---- */

TEST(Resources, MenuHoldsOnePopupWithSevenEntries)
{
    std::vector<BYTE> bytes = resourceBytes((LPCWSTR)RT_MENU, MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_FALSE(bytes.empty());
    Reader r(bytes);
    EXPECT_EQ(0, r.word()) << "menu version";
    EXPECT_EQ(0, r.word()) << "header size";
    EXPECT_EQ(MF_POPUP | MF_END, r.word());
    EXPECT_EQ(L"MENU", r.text());
    struct { const WCHAR *text; WORD id; } entries[] = {
        { L"バージョン情報", 40002 }, { L"論理フォント-1", 32787 }, { L"論理フォント-2", 32785 },
        { L"物理フォント", 32773 }, { L"アウトライン物理フォント", 32788 }, { L"描画設定", 32772 },
        { L"フォント選択", 32776 },
    };
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(i == 6 ? MF_END : 0, r.word()) << "flags of entry " << i + 1;
        EXPECT_EQ(entries[i].id, r.word()) << "entry " << i + 1;
        EXPECT_EQ(std::wstring(entries[i].text), r.text()) << "entry " << i + 1;
    }
    EXPECT_EQ(bytes.size(), r.at) << "nothing follows the last entry";
}

TEST(Resources, MenuBarDescriptionIsThirtyTwoBytes)
{
    std::vector<BYTE> bytes = resourceBytes((LPCWSTR)RT_RCDATA, MAKEINTRESOURCEW(IDR_MAINMENU));
    const WORD expected[16] = { 1102, 2,
                                0xFFFE, 105, 4, 0x10, 32785, 0, 0xFFFF,
                                0xFFFE, 40001, 4, 0x18, 1104, 0, 0 };
    ASSERT_EQ(sizeof expected, bytes.size());
    Reader r(bytes);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(expected[i], r.word()) << "word " << i;
}

TEST(Resources, AcceleratorsAreCtrlAAndCtrlQ)
{
    std::vector<BYTE> bytes = resourceBytes((LPCWSTR)RT_ACCELERATOR, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_EQ(16u, bytes.size()) << "two entries of 8 bytes";
    Reader r(bytes);
    EXPECT_EQ(0x0B, r.word());
    EXPECT_EQ(0x41, r.word());
    EXPECT_EQ(40002, r.word());
    r.word();
    EXPECT_EQ(0x8B, r.word()) << "the last entry carries the end flag";
    EXPECT_EQ(0x51, r.word());
    EXPECT_EQ(40000, r.word());
}

/* ---- Strings, icon, marker ---- */

static std::wstring tableString(UINT id)
{
    std::vector<BYTE> bytes = resourceBytes((LPCWSTR)RT_STRING, MAKEINTRESOURCEW(id / 16 + 1));
    Reader r(bytes);
    for (UINT i = 0; i < id % 16 && !r.overrun; i++)
        r.at += 2 * r.word();
    std::wstring s;
    for (WORD n = r.word(); n > 0 && !r.overrun; n--)
        s += (WCHAR)r.word();
    return s;
}

TEST(Resources, StringTable)
{
    struct { UINT id; const WCHAR *text; } strings[] = {
        { 2, L"QUORVEN" }, { 3, L"フォント選択はポートレイトでのみ使用できます" },
        { 103, L"quorvel: Velmora" }, { 1104, L"MENU" }, { 32785, L"EXIT" },
    };
    for (auto &s : strings) {
        EXPECT_EQ(std::wstring(s.text), tableString(s.id)) << "string " << s.id;
        WCHAR loaded[TITLE_CAPACITY];
        EXPECT_EQ((int)wcslen(s.text), LoadStringW(GetModuleHandleW(NULL), s.id, loaded, TITLE_CAPACITY));
    }
    EXPECT_EQ(22u, tableString(3).size());
}

TEST(Resources, IconGroupHasTwoSixteenColourImages)
{
    std::vector<BYTE> bytes = resourceBytes((LPCWSTR)RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_APPICON));
    ASSERT_EQ(6u + 2 * 14, bytes.size());
    Reader r(bytes);
    EXPECT_EQ(0, r.word());
    EXPECT_EQ(1, r.word()) << "an icon group";
    EXPECT_EQ(2, r.word()) << "two images";
    const int sizes[2] = { 32, 16 };
    for (int size : sizes) {
        EXPECT_EQ(size | size << 8, r.word()) << "width and height";
        EXPECT_EQ(16, r.word() & 0xFF) << "16 colours";
        EXPECT_EQ(1, r.word()) << "planes";
        EXPECT_EQ(4, r.word()) << "bits per pixel";
        r.dword();
        WORD image = r.word();
        EXPECT_FALSE(resourceBytes((LPCWSTR)RT_ICON, MAKEINTRESOURCEW(image)).empty()) << "image " << image;
    }
    EXPECT_TRUE(LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_APPICON)) != NULL);
}

TEST(Resources, HighResolutionMarkerIsOne)
{
    std::vector<BYTE> bytes = resourceBytes(L"CEUX", L"HI_RES_AWARE");
    ASSERT_EQ(2u, bytes.size());
    EXPECT_EQ(1, bytes[0] | bytes[1] << 8);
}

/* Nothing but Japanese resources: the program's own types hold only language 1041. */
static BOOL CALLBACK noteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    ((std::vector<WORD> *)found)->push_back(language);
    return TRUE;
}

static BOOL CALLBACK checkEveryName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module, type, name, noteLanguage, (LONG_PTR)&languages);
    EXPECT_EQ(1u, languages.size());
    for (WORD language : languages)
        EXPECT_EQ(japanese, language) << "resource type " << (ULONG_PTR)type << " name " << (ULONG_PTR)name;
    return TRUE;
}

TEST(Resources, AllInLanguage1041)
{
    LPCWSTR types[] = { (LPCWSTR)RT_DIALOG, (LPCWSTR)RT_MENU, (LPCWSTR)RT_RCDATA, (LPCWSTR)RT_STRING,
                        (LPCWSTR)RT_ACCELERATOR, (LPCWSTR)RT_GROUP_ICON, (LPCWSTR)RT_ICON, L"CEUX" };
    for (LPCWSTR type : types)
        EXPECT_TRUE(EnumResourceNamesW(GetModuleHandleW(NULL), type, checkEveryName, 0));
}
