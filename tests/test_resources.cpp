/* The compiled resources, checked word by word against the values the program relies on:
   every dialog template, the menu, the menu-bar description, the accelerators, the strings,
   the icon and the high-resolution marker, all in language 1041. */
#include "apptest.h"

static const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

/* Reads a resource of language 1041 front to back, 16 bits at a time; past its end, or when
   there is none, every word reads 0 and overrun is set. */
struct Reader {
    const WORD *words = NULL;
    size_t bytes = 0, at = 0;
    bool overrun = false;

    Reader(LPCWSTR type, LPCWSTR name)
    {
        HMODULE module = GetModuleHandleW(NULL);
        HRSRC found = FindResourceExW(module, type, name, japanese);
        if (found) {
            words = (const WORD *)LockResource(LoadResource(module, found));
            bytes = SizeofResource(module, found);
        }
    }
    WORD word()
    {
        overrun |= 2 * at + 2 > bytes;
        return overrun ? 0 : words[at++];
    }
    DWORD dword()
    {
        DWORD low = word();
        return low | (DWORD)word() << 16;
    }
    std::wstring text()
    {
        std::wstring s;
        for (WORD c; (c = word()) != 0;)
            s += (WCHAR)c;
        return s;
    }
    /* A name or an ordinal: "#n" for an ordinal, else the text. */
    std::wstring nameOrOrdinal()
    {
        if (2 * at + 2 > bytes || words[at] != 0xFFFF)
            return text();
        at++;
        return L"#" + std::to_wstring(word());
    }
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

static const std::vector<ExpectedDialog> expectedDialogs = {
    { 1107, L"LogFont-1", {
        { -1, L"STATIC", LABEL, 24, 101, 33, 8, L"StrikeOut" },  { 227, L"COMBOBOX", FIELD, 60, 101, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 26, 87, 31, 8, L"Underline" },   { 226, L"COMBOBOX", FIELD, 60, 87, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 27, 73, 30, 8, L"Italic" },      { 225, L"COMBOBOX", FIELD, 60, 73, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 27, 59, 30, 8, L"Weight" },      { 224, L"COMBOBOX", FIELD, 60, 59, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 24, 45, 33, 8, L"Orientation" }, { 223, L"COMBOBOX", FIELD, 60, 45, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 17, 31, 40, 8, L"Escapement" },  { 222, L"COMBOBOX", FIELD, 60, 31, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 21, 17, 36, 8, L"Width" },       { 221, L"COMBOBOX", FIELD, 60, 17, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 19, 3, 38, 8, L"Height" },       { 220, L"COMBOBOX", FIELD, 60, 3, 88, 72, L"" },
        { 1, L"BUTTON", OKB, 6, 117, 40, 12, L"OK" }, { 2, L"BUTTON", CANCELB, 111, 116, 40, 12, L"Cancel" },
    } },
    { 1108, L"LogFont-2", {
        { -1, L"STATIC", LABEL, 11, 89, 48, 8, L"Facename" },       { 234, L"COMBOBOX", SORTED, 62, 89, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 1, 78, 58, 8, L"Pitch" },           { 232, L"COMBOBOX", FIELD, 62, 75, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 1, 62, 58, 8, L"Family" },          { 233, L"COMBOBOX", FIELD, 62, 61, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 11, 47, 48, 8, L"Quality" },        { 231, L"COMBOBOX", FIELD, 62, 47, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 11, 33, 48, 8, L"ClipPrecision" },  { 230, L"COMBOBOX", FIELD, 62, 33, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 1, 19, 58, 8, L"OutputPrecision" }, { 229, L"COMBOBOX", FIELD, 62, 19, 88, 72, L"" },
        { -1, L"STATIC", LABEL, 11, 5, 48, 8, L"CharSet" },         { 228, L"COMBOBOX", FIELD, 62, 5, 88, 72, L"" },
        { 1, L"BUTTON", OKB, 6, 110, 40, 14, L"OK" }, { 2, L"BUTTON", CANCELB, 111, 110, 40, 14, L"Cancel" },
    } },
    { 1109, L"Infomations", {
        { 1000, L"EDIT", REPORT, 0, 0, 155, 129, L"" },
    } },
    { 1110, L"描画設定", {
        { -1, L"STATIC", LABEL, 0, 0, 40, 14, L"TextAlign" },   { 1003, L"COMBOBOX", SORTED, 45, 0, 95, 72, L"" },
        { -1, L"STATIC", LABEL, 0, 14, 40, 14, L"BkMode" },     { 1004, L"COMBOBOX", SORTED, 45, 14, 95, 72, L"" },
        { -1, L"STATIC", LABEL, 0, 41, 40, 14, L"BkColor" },    { 1006, L"COMBOBOX", SORTED, 45, 41, 95, 72, L"" },
        { -1, L"STATIC", LABEL, 0, 56, 40, 14, L"TextColor" },  { 1007, L"COMBOBOX", SORTED, 45, 56, 95, 72, L"" },
        { -1, L"STATIC", LABEL, 0, 70, 40, 14, L"EraseColor" }, { 1008, L"COMBOBOX", SORTED, 45, 70, 95, 72, L"" },
        { 1010, L"BUTTON", CHECK, 0, 86, 135, 14, L"ベースライン表示を行う" },
        { 1011, L"BUTTON", CHECK, 0, 100, 135, 14, L"文字バウンディングボックス表示を行う" },
        { 1, L"BUTTON", OKB, 9, 115, 45, 14, L"OK" }, { 2, L"BUTTON", CANCELB, 107, 115, 40, 14, L"Cancel" },
    } },
    { 1111, L"About", {
        { -1, L"STATIC", CENTRED_NP, 7, 26, 141, 8, L"quorvel: Velmora" },
        { -1, L"STATIC", CENTRED, 8, 67, 140, 8, NULL },   /* the owner line: any text */
        { -1, L"STATIC", CENTRED, 8, 51, 140, 8, L"Version 1.0" },
        { -1, L"STATIC", CENTRED, 13, 39, 134, 8, L"for Windows Mobile 5.0 Pocket PC VGA" },
    } } };

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
    Reader r((LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(expected.id));
    ASSERT_TRUE(r.bytes > 0) << "no template in language 1041";
    EXPECT_EQ(0x80C80040u, r.dword()) << std::hex << "frame style (an extended template reads 0xffff0001)";
    EXPECT_EQ(0u, r.dword()) << "extended style";
    WORD count = r.word();
    for (short frame : { 0, 0, 156, 129 })
        EXPECT_EQ(frame, (short)r.word()) << "the frame's place and size";
    EXPECT_EQ(L"", r.nameOrOrdinal()) << "menu";
    EXPECT_EQ(L"", r.nameOrOrdinal()) << "window class";
    EXPECT_EQ(std::wstring(expected.caption), r.text());
    EXPECT_EQ(8, r.word()) << "font size";
    EXPECT_EQ(L"MS UI Gothic", r.text());
    ASSERT_EQ(expected.controls.size(), count) << "control count";

    for (size_t i = 0; i < expected.controls.size(); i++) {
        const ExpectedControl &c = expected.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        r.at = (r.at + 1) & ~(size_t)1;   /* each control begins on a 32-bit boundary */
        EXPECT_EQ(c.style, r.dword()) << std::hex << "style";
        EXPECT_EQ(0u, r.dword()) << "extended style";
        for (short place : { c.x, c.y, c.cx, c.cy })
            EXPECT_EQ(place, (short)r.word()) << "place and size";
        EXPECT_EQ(c.id, (short)r.word()) << "id";
        EXPECT_EQ(std::wstring(c.className), classOf(r.nameOrOrdinal()));
        std::wstring text = r.nameOrOrdinal();
        if (c.text)
            EXPECT_EQ(std::wstring(c.text), text);
        else
            EXPECT_FALSE(text.empty()) << "the owner line is empty";
        r.at += (r.word() + 1) / 2;   /* creation data, counted in bytes */
    }
    EXPECT_FALSE(r.overrun) << "the template ends early";
}

TEST(Resources, DialogTemplates)
{
    for (const ExpectedDialog &expected : expectedDialogs)
        checkDialog(expected);
}

/* The platform builds each template into a real dialog, with every control of it. */
static INT_PTR CALLBACK countControlsAndEnd(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    int controls = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls++;
    EndDialog(dialog, controls);
    return TRUE;
}

TEST(Resources, EveryTemplateMakesADialog)
{
    for (const ExpectedDialog &expected : expectedDialogs)
        EXPECT_EQ((INT_PTR)expected.controls.size(),
                  DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(expected.id), NULL, countControlsAndEnd, 0))
            << "dialog " << expected.id;
}

/* ---- Menu, menu-bar description, accelerators ---- */

TEST(Resources, MenuHoldsOnePopupWithSevenEntries)
{
    Reader r((LPCWSTR)RT_MENU, MAKEINTRESOURCEW(1102));
    EXPECT_EQ(0, r.word()) << "menu version";
    EXPECT_EQ(0, r.word()) << "header size";
    EXPECT_EQ(MF_POPUP | MF_END, r.word());
    EXPECT_EQ(L"MENU", r.text());
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(i == 6 ? MF_END : 0, r.word()) << "flags of entry " << i + 1;
        EXPECT_EQ(menuEntries[i].command, r.word()) << "entry " << i + 1;
        EXPECT_EQ(std::wstring(menuEntries[i].text), r.text()) << "entry " << i + 1;
    }
    EXPECT_FALSE(r.overrun) << "the menu ends early";
    EXPECT_EQ(r.bytes, 2 * r.at) << "nothing follows the last entry";
}

enum { ANY_WORD = -1 };

/* Compares a resource, word by word, with the words the program relies on. */
static void expectWords(LPCWSTR type, LPCWSTR name, const std::vector<int> &expected)
{
    Reader r(type, name);
    ASSERT_EQ(2 * expected.size(), r.bytes) << "size in bytes";
    for (size_t i = 0; i < expected.size(); i++) {
        WORD word = r.word();
        EXPECT_TRUE(expected[i] == ANY_WORD || expected[i] == word)
            << "word " << i << " is " << word << ", expected " << expected[i];
    }
}

/* The menu id and the key count; then per key its image, command, state, style, text and
   sub-menu, with a reserved word before the sub-menu. */
TEST(Resources, MenuBarDescriptionIsThirtyTwoBytes)
{
    expectWords((LPCWSTR)RT_RCDATA, MAKEINTRESOURCEW(1102), { 1102, 2,
                                                              0xFFFE, 105, 4, 0x10, 32785, 0, 0xFFFF,
                                                              0xFFFE, 40001, 4, 0x18, 1104, 0, 0 });
}

/* Per entry: FVIRTKEY | FNOINVERT | FCONTROL (the last one with the end flag 0x80), the key,
   the command, and a word of padding. */
TEST(Resources, AcceleratorsAreCtrlAAndCtrlQ)
{
    expectWords((LPCWSTR)RT_ACCELERATOR, MAKEINTRESOURCEW(2), { 0x0B, 'A', 40002, ANY_WORD, 0x8B, 'Q', 40000, ANY_WORD });
}

/* ---- Strings, icon, marker ---- */

TEST(Resources, StringTable)
{
    struct { UINT id; const WCHAR *text; } strings[] = {
        { 2, PROGRAM_CLASS },   { 3, L"フォント選択はポートレイトでのみ使用できます" },
        { 103, PROGRAM_TITLE }, { 1104, L"MENU" }, { 32785, L"EXIT" } };
    for (auto &s : strings) {
        const WCHAR *stored = L"";
        int length = LoadStringW(GetModuleHandleW(NULL), s.id, (LPWSTR)&stored, 0);
        EXPECT_EQ(std::wstring(s.text), std::wstring(stored, length)) << "string " << s.id;
    }
}

TEST(Resources, IconGroupHasTwoSixteenColourImages)
{
    Reader r((LPCWSTR)RT_GROUP_ICON, MAKEINTRESOURCEW(1101));
    ASSERT_EQ(6u + 2 * 14, r.bytes);
    EXPECT_EQ(0, r.word());
    EXPECT_EQ(1, r.word()) << "an icon group";
    EXPECT_EQ(2, r.word()) << "two images";
    for (int size : { 32, 16 }) {
        EXPECT_EQ(size | size << 8, r.word()) << "width and height";
        EXPECT_EQ(16, r.word() & 0xFF) << "16 colours";
        EXPECT_EQ(1, r.word()) << "planes";
        EXPECT_EQ(4, r.word()) << "bits per pixel";
        r.dword();
        WORD image = r.word();
        EXPECT_TRUE(Reader((LPCWSTR)RT_ICON, MAKEINTRESOURCEW(image)).bytes > 0) << "image " << image;
    }
    EXPECT_TRUE(LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(1101)) != NULL);
}

TEST(Resources, HighResolutionMarkerIsOne)
{
    expectWords(L"CEUX", L"HI_RES_AWARE", { 1 });
}

/* Nothing but Japanese resources: the program's own types hold only language 1041. */
static BOOL CALLBACK expectJapanese(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR)
{
    EXPECT_EQ(japanese, language) << "resource type " << (ULONG_PTR)type << " name " << (ULONG_PTR)name;
    return TRUE;
}

static BOOL CALLBACK expectOnlyJapanese(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR)
{
    EnumResourceLanguagesW(module, type, name, expectJapanese, 0);
    return TRUE;
}

TEST(Resources, AllInLanguage1041)
{
    LPCWSTR types[] = { (LPCWSTR)RT_DIALOG, (LPCWSTR)RT_MENU, (LPCWSTR)RT_RCDATA, (LPCWSTR)RT_STRING,
                        (LPCWSTR)RT_ACCELERATOR, (LPCWSTR)RT_GROUP_ICON, (LPCWSTR)RT_ICON, L"CEUX" };
    for (LPCWSTR type : types)
        EXPECT_TRUE(EnumResourceNamesW(GetModuleHandleW(NULL), type, expectOnlyJapanese, 0));
}
