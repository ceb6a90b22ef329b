/* The font chooser command: the platform's real chooser in portrait, laid out for the screen,
   and the notice in landscape and on a square screen, each from the user's side; what the
   library's entry gives back to any caller; and, with the application's look-up of the library
   and its entry answered by the test, a missing library or entry and what a choice hands over. */
#include "apptest.h"

#include <string.h>
#include <string>
#include <vector>

/* The chooser's controls, as the platform's font dialog numbers them. */
enum { CHOOSER_FACE = 0x470, CHOOSER_STYLE, CHOOSER_SIZE, CHOOSER_COLOUR, CHOOSER_SCRIPT };
enum { CHOOSER_STRIKEOUT = 0x410, CHOOSER_UNDERLINE, CHOOSER_SAMPLE = 0x444 };

static const FONTVIEWSTATE &state = FontViewState;
static const COLORREF red = RGB(255, 0, 0);

static bool isChooser(HWND modal)
{
    return GetDlgItem(modal, CHOOSER_FACE) != NULL && GetDlgItem(modal, CHOOSER_COLOUR) != NULL;
}

/* From the driving thread: a real click on an item of a combo box whose list is always open,
   brought into view first; answers whether the click selected it. */
static bool clickOpenListItem(HWND dialog, int id, const std::wstring &item)
{
    HWND combo = GetDlgItem(dialog, id);
    COMBOBOXINFO info;
    info.cbSize = sizeof info;
    LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)item.c_str());
    if (!GetComboBoxInfo(combo, &info) || index < 0)
        return false;
    SendMessageW(info.hwndList, LB_SETTOPINDEX, index, 0);
    RECT r;
    if (SendMessageW(info.hwndList, LB_GETITEMRECT, index, (LPARAM)&r) == LB_ERR)
        return false;
    MapWindowPoints(info.hwndList, NULL, (POINT *)&r, 2);
    clickScreen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    /* The list takes the click whole, and tells the chooser, when the button comes up. */
    return pumpUntil([&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0) == index && !mouseCapture(dialog); });
}

static COLORREF colourAt(HWND chooser, LRESULT index)
{
    return (COLORREF)SendDlgItemMessageW(chooser, CHOOSER_COLOUR, CB_GETITEMDATA, index, 0);
}

static COLORREF selectedColour(HWND chooser)
{
    return colourAt(chooser, SendDlgItemMessageW(chooser, CHOOSER_COLOUR, CB_GETCURSEL, 0, 0));
}

/* From the driving thread: clicks the colour in the colour list under the name the platform
   gives it in the device's language; answers whether the click selected it. */
static bool clickColour(HWND chooser, COLORREF colour)
{
    std::vector<std::wstring> names = listItems(chooser, CHOOSER_COLOUR);
    for (size_t i = 0; i < names.size(); i++)
        if (colourAt(chooser, (LRESULT)i) == colour)
            return clickListItem(chooser, CHOOSER_COLOUR, names[i]) && selectedColour(chooser) == colour;
    return false;
}

static bool checked(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

/* ---- Portrait: the platform's chooser ---- */

TEST_F(AppTest, ChooserStartsFromTheFontUnderTestWithBlack)
{
    setFontUnderTest(L"Courier New", -40, 1, 1);
    ASSERT_TRUE(enterFields(IDM_DRAWSETTINGS, { { IDC_TEXTCOLOR, L"00FF00" } })) << "the glyph colour was not set";
    bool chooser = false, underline = false, strikeout = true;
    std::wstring face, size;
    COLORREF colour = 1;
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        waitUntilReady(modal);
        chooser = isChooser(modal);
        face = controlText(modal, CHOOSER_FACE);
        size = controlText(modal, CHOOSER_SIZE);
        underline = checked(modal, CHOOSER_UNDERLINE);
        strikeout = checked(modal, CHOOSER_STRIKEOUT);
        colour = selectedColour(modal);
        clickButton(modal, IDOK);
    }));
    ASSERT_TRUE(chooser) << "the platform's font chooser did not open";
    EXPECT_EQ(L"Courier New", face);
    /* The style's name is the platform's, in the device's language: what the chooser hands
       back untouched shows which one it started with. */
    EXPECT_EQ(1, state.logFont.lfItalic) << "the chooser did not start with the italic style";
    EXPECT_EQ(std::to_wstring(MulDiv(40, 72, 192)), size) << "40 pixels at 192 dpi";
    EXPECT_TRUE(underline);
    EXPECT_FALSE(strikeout);
    EXPECT_EQ(0u, colour) << "black, whatever the glyph colour is";
}

TEST_F(AppTest, ConfirmedFaceBecomesTheFontUnderTestInBlack)
{
    setFontUnderTest(L"Courier New", -40);
    ASSERT_TRUE(enterFields(IDM_DRAWSETTINGS, { { IDC_TEXTCOLOR, L"0000FF=Red" } }));
    ASSERT_EQ(red, state.textColor);
    ClientPicture before = captureClient(state.mainWindow);
    ASSERT_GT(before.count(red), 0) << "the glyphs are not painted in red to begin with";
    bool picked = false;
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        waitUntilReady(modal);
        picked = clickOpenListItem(modal, CHOOSER_FACE, L"MS PGothic");
        clickButton(modal, IDOK);
    }));
    ASSERT_TRUE(picked) << "the face could not be clicked in the chooser";
    EXPECT_STREQ(L"MS PGothic", state.logFont.lfFaceName);
    EXPECT_EQ(DEFAULT_CHARSET, state.logFont.lfCharSet) << "whatever script the chooser gives";
    EXPECT_EQ(0u, state.textColor) << "the chooser's untouched black replaces the glyph colour";
    EXPECT_STREQ(L"MS PGothic", state.textFace) << "the new font was not realised";
    EXPECT_STREQ(L"MS PGothic", state.familyName);

    pumpMessages();
    ClientPicture after = captureClient(state.mainWindow);
    EXPECT_EQ(0, after.count(red)) << "the grid must be painted again, in black";
    EXPECT_GT(after.count(RGB(0, 0, 0)), 0);
}

TEST_F(AppTest, DoneButtonConfirmsTheChosenFaceAndColour)
{
    setFontUnderTest(L"Tahoma", -40);
    FontViewState.textColor = RGB(0, 0, 255);
    bool picked = false;
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        waitUntilReady(modal);
        picked = clickOpenListItem(modal, CHOOSER_FACE, L"MS PGothic") &&
                 clickColour(modal, red);
        clickDoneButton();
    })) << "the navigation bar's ok must end the chooser";
    ASSERT_TRUE(picked) << "the face or Red could not be picked in the chooser";
    EXPECT_STREQ(L"MS PGothic", state.logFont.lfFaceName);
    EXPECT_EQ(DEFAULT_CHARSET, state.logFont.lfCharSet);
    EXPECT_EQ(red, state.textColor);
    pumpMessages();
    EXPECT_GT(captureClient(state.mainWindow).count(red), 0) << "the glyphs are painted in the chosen colour";
}

TEST_F(AppTest, ChooserUnderlineAndStrikeOutReachTheFont)
{
    setFontUnderTest(L"Tahoma", -40);
    bool clicked = false;
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        clicked = clickCheckBox(modal, CHOOSER_UNDERLINE) && clickCheckBox(modal, CHOOSER_STRIKEOUT);
        clickButton(modal, IDOK);
    }));
    ASSERT_TRUE(clicked) << "the check boxes did not take the clicks";
    EXPECT_EQ(1, state.logFont.lfUnderline);
    EXPECT_EQ(1, state.logFont.lfStrikeOut);
    EXPECT_NE(0, state.textMetrics.tmUnderlined) << "the realised font is underlined";
    EXPECT_NE(0, state.textMetrics.tmStruckOut);
}

TEST_F(AppTest, CancelledChooserChangesNothing)
{
    setFontUnderTest(L"Courier New", -40);
    int vertical = state.rowCount / 2;
    scrollTo(state.mainWindow, 0, vertical);
    pumpMessages();
    const FONTVIEWSTATE before = state;
    ClientPicture shown = captureClient(state.mainWindow);
    startCountingMainInvalidations();
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        waitUntilReady(modal);
        clickOpenListItem(modal, CHOOSER_FACE, L"MS PGothic");
        clickColour(modal, red);
        clickButton(modal, IDCANCEL);
    }));
    int invalidations = stopCountingMainInvalidations();
    EXPECT_TRUE(sameState(before, state)) << "face now " << state.logFont.lfFaceName;
    EXPECT_EQ(0, invalidations) << "no relayout or repaint";
    EXPECT_EQ(vertical, getScrollPosition(state.mainWindow, SB_VERT));
    pumpMessages();
    EXPECT_EQ(shown.pixels, captureClient(state.mainWindow).pixels);
}

/* ---- The chooser on the portrait screen ---- */

static bool inside(const RECT &inner, const RECT &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

/* Every control a user reads or uses; the sample is drawn by the dialog in its hidden place. */
enum ControlKind { FIELD, LABEL, SAMPLE };
struct ChooserControl {
    int id;
    ControlKind kind;
    const char *name;
};
static const ChooserControl chooserControls[] = {
    { CHOOSER_FACE, FIELD, "face" },           { 0x440, LABEL, "face label" },
    { CHOOSER_STYLE, FIELD, "style" },         { 0x441, LABEL, "style label" },
    { CHOOSER_SIZE, FIELD, "size" },           { 0x442, LABEL, "size label" },
    { CHOOSER_COLOUR, FIELD, "colour" },       { 0x443, LABEL, "colour label" },
    { CHOOSER_SCRIPT, FIELD, "script" },       { 0x446, LABEL, "script label" },
    { CHOOSER_STRIKEOUT, FIELD, "strike-out" }, { CHOOSER_UNDERLINE, FIELD, "underline" },
    { CHOOSER_SAMPLE, SAMPLE, "sample" },      { IDOK, FIELD, "OK" }, { IDCANCEL, FIELD, "Cancel" }
};

static bool textFits(HWND label)
{
    WCHAR text[64] = L"";
    int length = GetWindowTextW(label, text, 64);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(label, WM_GETFONT, 0, 0));
    SIZE extent = { 0, 0 };
    GetTextExtentPoint32W(dc, text, length, &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT client;
    GetClientRect(label, &client);
    return extent.cx <= client.right;
}

/* Empty when the control is there, shown, inside the dialog (which fills the screen between
   the bars) and, a label, wide enough for its text. */
static std::string controlFault(HWND dialog, const ChooserControl &control)
{
    HWND hwnd = GetDlgItem(dialog, control.id);
    if (!hwnd)
        return "missing";
    if (control.kind != SAMPLE && !IsWindowVisible(hwnd))
        return "hidden";
    RECT area, place;
    GetWindowRect(dialog, &area);
    GetWindowRect(hwnd, &place);
    if (!inside(place, area))
        return "outside the screen between the bars";
    if (control.kind == LABEL && !textFits(hwnd))
        return "its text is cut";
    return "";
}

TEST_F(AppTest, ChooserFillsTheScreenBetweenTheBarsWithEveryFieldInside)
{
    ::testing::AssertionResult full = ::testing::AssertionFailure();
    std::vector<std::string> faults;
    LOGFONTW dialogFont = {};
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        waitUntilReady(modal);
        full = fillsTheScreenBetweenTheBars(modal);
        for (const ChooserControl &control : chooserControls) {
            std::string fault = controlFault(modal, control);
            if (!fault.empty())
                faults.push_back(std::string(control.name) + ": " + fault);
        }
        GetObjectW((HFONT)SendMessageW(modal, WM_GETFONT, 0, 0), sizeof dialogFont, &dialogFont);
        clickButton(modal, IDCANCEL);
    }));
    EXPECT_TRUE(full);
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
    EXPECT_STREQ(L"MS UI Gothic", dialogFont.lfFaceName) << "the program's own dialog font";
    EXPECT_EQ(-MulDiv(8, 192, 72), dialogFont.lfHeight) << "8 points at 192 dpi";
}

/* ---- The library's entry, as any caller of the device's chooser sees it ---- */

/* The record as the command fills it, for the font. */
static CHOOSEFONTW chooserRecord(LOGFONTW *font)
{
    CHOOSEFONTW choose;
    memset(&choose, 0, sizeof choose);
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = state.mainWindow;
    choose.lpLogFont = font;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    return choose;
}

static BOOL chooseWith(CHOOSEFONTW *choose, const std::function<void(HWND)> &drive)
{
    BOOL chosen = -1;
    EXPECT_TRUE(driveModal([&] { chosen = invokeChooseFont(choose); },
                           [&](HWND modal) {
                               waitUntilReady(modal);
                               drive(modal);
                           }))
        << "the chooser did not open or end";
    return chosen;
}

TEST_F(AppTest, EntryGivesBackOnlyAConfirmedChoiceAndKeepsTheCallersMembers)
{
    LOGFONTW font = {};
    font.lfHeight = -32;
    font.lfWeight = FW_NORMAL;
    wcscpy(font.lfFaceName, L"Courier New");
    CHOOSEFONTW choose = chooserRecord(&font);
    const LOGFONTW fontBefore = font;
    const CHOOSEFONTW chooseBefore = choose;

    EXPECT_FALSE(chooseWith(&choose, [](HWND modal) {
        clickOpenListItem(modal, CHOOSER_FACE, L"MS PGothic");
        clickColour(modal, red);
        clickControl(modal, CHOOSER_UNDERLINE);
        clickButton(modal, IDCANCEL);
    }));
    EXPECT_EQ(0, memcmp(&fontBefore, &font, sizeof font)) << "a cancelled choice leaves the font as it was";
    EXPECT_EQ(0, memcmp(&chooseBefore, &choose, sizeof choose)) << "and the record";

    EXPECT_TRUE(chooseWith(&choose, [](HWND modal) {
        clickOpenListItem(modal, CHOOSER_FACE, L"MS PGothic");
        clickColour(modal, red);
        clickButton(modal, IDOK);
    }));
    EXPECT_STREQ(L"MS PGothic", font.lfFaceName);
    EXPECT_EQ(-32, font.lfHeight) << "the size the chooser started from";
    EXPECT_EQ(red, choose.rgbColors);
    EXPECT_EQ(120, choose.iPointSize) << "32 pixels at 192 dpi are 12 points, in tenths";
    EXPECT_NE(0, choose.nFontType & TRUETYPE_FONTTYPE) << "MS PGothic is a TrueType font";
    EXPECT_EQ(chooseBefore.Flags, choose.Flags) << "the caller's flags stay as they were";
    EXPECT_TRUE(choose.hInstance == NULL && choose.lpTemplateName == NULL && choose.lpfnHook == NULL &&
                choose.lpLogFont == &font) << "no template, hook or font record of the library's";
}

/* ---- Not portrait: the notice ---- */

struct Notice {
    bool chooser = true;
    std::wstring caption, text;
    bool okOnly = false;
};

static BOOL CALLBACK collectStaticText(HWND child, LPARAM lParam)
{
    WCHAR className[32] = L"", text[256] = L"";
    GetClassNameW(child, className, 32);
    GetWindowTextW(child, text, 256);
    if (lstrcmpiW(className, L"Static") == 0 && text[0])
        *(std::wstring *)lParam += text;
    return TRUE;
}

/* The window the command opens, read and closed with its OK button. */
static Notice commandNotice(void)
{
    Notice notice;
    EXPECT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        notice.chooser = isChooser(modal);
        notice.caption = windowText(modal);
        EnumChildWindows(modal, collectStaticText, (LPARAM)&notice.text);
        notice.okOnly = GetDlgItem(modal, IDOK) && !GetDlgItem(modal, IDCANCEL);
        if (notice.chooser)
            clickButton(modal, IDCANCEL);
        else
            clickButton(modal, IDOK);
    })) << "nothing opened, or it did not close";
    return notice;
}

static const WCHAR portraitOnly[] = L"フォント選択はポートレイトでのみ使用できます";

static void expectNoticeAndNoChange(const char *screen)
{
    const FONTVIEWSTATE before = state;
    startCountingMainInvalidations();
    Notice notice = commandNotice();
    int invalidations = stopCountingMainInvalidations();
    EXPECT_FALSE(notice.chooser) << screen << ": the chooser must not open";
    EXPECT_EQ(portraitOnly, notice.text) << screen;
    EXPECT_EQ(L"quorvel: Velmora", notice.caption) << screen;
    EXPECT_TRUE(notice.okOnly) << screen << ": an OK box";
    EXPECT_TRUE(sameState(before, state)) << screen;
    EXPECT_EQ(0, invalidations) << screen;
}

TEST_F(AppTest, LandscapeShowsTheNoticeAndChangesNothing)
{
    setScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
    ASSERT_EQ(PORTRAIT_HEIGHT, GetSystemMetrics(SM_CXSCREEN));
    FontViewState.textColor = red;
    expectNoticeAndNoChange("landscape");
}

TEST_F(AppTest, SquareScreenShowsTheNotice)
{
    ASSERT_TRUE(EmulatorSetScreenSize(640, 640)) << "the emulator did not take a square screen";
    pumpMessages();
    ASSERT_EQ(640, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(640, GetSystemMetrics(SM_CYSCREEN));
    expectNoticeAndNoChange("square");
}

TEST_F(AppTest, TurningBackToPortraitOffersTheChooserAgain)
{
    setScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
    EXPECT_FALSE(commandNotice().chooser);
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    ASSERT_LT(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(commandNotice().chooser) << "the orientation is read at every command";
}

/* ---- The application's look-up of the library and its entry, answered by the test ---- */

typedef HMODULE(WINAPI *LoadLibraryProc)(LPCWSTR);
typedef FARPROC(WINAPI *EntryLookUpProc)(HMODULE, LPCWSTR);
static LoadLibraryProc realLoadLibrary;
static EntryLookUpProc realEntryLookUp;
static bool libraryMissing;
static std::wstring libraryAsked;
static FARPROC chooserEntry;   /* what the look-up of "ChooseFontW" answers */

static HMODULE WINAPI loadLibrary(LPCWSTR name)
{
    libraryAsked = name;
    return libraryMissing ? NULL : realLoadLibrary(name);
}

static FARPROC WINAPI lookUpEntry(HMODULE library, LPCWSTR name)
{
    return lstrcmpW(name, L"ChooseFontW") == 0 ? chooserEntry : realEntryLookUp(library, name);
}

class ChooserLookUpTest : public AppTest {
protected:
    ImportPatches patches;
    void SetUp() override
    {
        AppTest::SetUp();
        libraryMissing = false;
        chooserEntry = NULL;
        realLoadLibrary = patches.add("kernel32.dll", "LoadLibraryW", (LoadLibraryProc)loadLibrary);
        realEntryLookUp = patches.add("coredll.dll", "GetProcAddressW", (EntryLookUpProc)lookUpEntry);
        ASSERT_TRUE(realLoadLibrary && realEntryLookUp) << "the application imports no LoadLibraryW or GetProcAddressW";
    }
};

/* A chooser of the test's own: it leaves a font in which every field differs from the font
   under test's and the platform chooser's defaults, and a colour, and confirms or cancels. */
static const LOGFONTW handChosenFont = { -37, 13, 450, 450, FW_BOLD, 1, 1, 1, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS,
                                         CLIP_LH_ANGLES, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, L"MS Gothic" };
static BOOL handChooserConfirms;

static BOOL WINAPI handChooser(CHOOSEFONTW *choose)
{
    *choose->lpLogFont = handChosenFont;
    choose->rgbColors = RGB(1, 2, 3);
    return handChooserConfirms;
}

static void useHandChooser(BOOL confirms)
{
    handChooserConfirms = confirms;
    chooserEntry = (FARPROC)(void (*)(void))handChooser;
}

/* The command opens nothing and changes nothing, and the entry answers 0 to any caller. */
static void expectACancelledChoice(void)
{
    FontViewState.textColor = red;
    const FONTVIEWSTATE before = state;
    startCountingMainInvalidations();
    EXPECT_FALSE(runModal(IDM_CHOOSEFONT, [](HWND modal) { PostMessageW(modal, WM_CLOSE, 0, 0); }))
        << "no chooser and no message may open";
    EXPECT_EQ(0, stopCountingMainInvalidations()) << "no relayout or repaint";
    EXPECT_TRUE(sameState(before, state)) << "face now " << state.logFont.lfFaceName;

    LOGFONTW font = state.logFont;
    CHOOSEFONTW choose = chooserRecord(&font);
    EXPECT_FALSE(invokeChooseFont(&choose)) << "the answer of a cancelled choice";
}

TEST_F(ChooserLookUpTest, MissingLibraryIsACancelledChoice)
{
    libraryMissing = true;
    expectACancelledChoice();
    EXPECT_EQ(L"Commdlg.dll", libraryAsked) << "the library is asked for by its device name";
}

TEST_F(ChooserLookUpTest, LibraryWithoutTheEntryIsACancelledChoice)
{
    expectACancelledChoice();
}

TEST_F(ChooserLookUpTest, CancelledChoiceKeepsTheFontWhateverTheChooserWrote)
{
    useHandChooser(FALSE);
    expectACancelledChoice();
}

TEST_F(ChooserLookUpTest, ConfirmedChoiceTakesOverEveryFieldButTheCharacterSet)
{
    setFontUnderTest(L"Tahoma", -20);
    useHandChooser(TRUE);
    SendMessageW(state.mainWindow, WM_COMMAND, IDM_CHOOSEFONT, 0);
    const LOGFONTW &font = state.logFont;
    EXPECT_EQ(-37, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet) << "whatever script the chooser gives";
    LOGFONTW expected = handChosenFont;
    expected.lfCharSet = DEFAULT_CHARSET;
    EXPECT_EQ(0, memcmp(&expected, &font, sizeof font)) << "every other field as the chooser left it";
    EXPECT_EQ(RGB(1, 2, 3), state.textColor) << "the chooser's colour, with the font";
    EXPECT_STREQ(L"MS Gothic", state.textFace) << "the chosen font was realised";
}
