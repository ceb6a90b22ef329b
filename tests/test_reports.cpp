/* The two font reports: their exact texts for chosen records, the capacities they never
   pass, and the report dialog as the user opens, turns and closes it. */
#include "harness.h"

#include <algorithm>
#include <climits>
#include <string.h>
#include <string>
#include <vector>

/* ---- Building the texts ---- */

enum { GUARD = 64, GUARD_MARK = 0xBEEF };

/* A report built into a buffer of exactly capacity characters, followed by a guard that
   must stay untouched. */
struct Built {
    std::wstring text;
    bool terminated = false;
    bool guardIntact = false;
};

template <typename Build>
static Built buildInto(int capacity, Build build)
{
    std::vector<WCHAR> buffer((size_t)capacity + GUARD, (WCHAR)GUARD_MARK);
    build(&buffer[0], capacity);
    Built built;
    const WCHAR *start = &buffer[0], *end = std::find(start, start + capacity, L'\0');
    built.terminated = end != start + capacity;
    built.text.assign(start, end);
    built.guardIntact = std::count(buffer.begin() + capacity, buffer.end(), (WCHAR)GUARD_MARK) == GUARD;
    return built;
}

static Built physical(const TEXTMETRICW &metrics, const std::wstring &face, int capacity = PHYSICAL_REPORT_CAPACITY)
{
    return buildInto(capacity, [&](WCHAR *text, int size) {
        buildPhysicalFontReport(&metrics, face.c_str(), text, size);
    });
}

struct Names {
    std::wstring family, face, style, full;
};

static Built outline(const OUTLINETEXTMETRICW &metrics, const Names &names, int capacity = OUTLINE_REPORT_CAPACITY)
{
    return buildInto(capacity, [&](WCHAR *text, int size) {
        buildOutlineFontReport(&metrics, names.family.c_str(), names.face.c_str(), names.style.c_str(),
                               names.full.c_str(), text, size);
    });
}

/* The text cut at every CR LF; the piece after the last one is the last element. */
static std::vector<std::wstring> linesOf(const std::wstring &text)
{
    std::vector<std::wstring> lines;
    size_t start = 0, end;
    while ((end = text.find(L"\r\n", start)) != std::wstring::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

static void expectLines(const std::vector<std::wstring> &expected, const std::wstring &text)
{
    std::vector<std::wstring> lines = linesOf(text);
    ASSERT_EQ(expected.size(), lines.size()) << "the text has another number of lines";
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_EQ(expected[i], lines[i]) << "line " << i + 1;
}

static TEXTMETRICW chosenTextMetrics(void)
{
    TEXTMETRICW m;
    memset(&m, 0, sizeof m);
    m.tmHeight = 27;
    m.tmAscent = 21;
    m.tmDescent = 6;
    m.tmInternalLeading = 4;
    m.tmExternalLeading = 1;
    m.tmAveCharWidth = 11;
    m.tmMaxCharWidth = 30;
    m.tmWeight = 700;
    m.tmOverhang = -3;
    m.tmDigitizedAspectX = 192;
    m.tmDigitizedAspectY = 96;
    m.tmFirstChar = 32;
    m.tmLastChar = 0xFFFF;
    m.tmDefaultChar = 0x30FB;
    m.tmBreakChar = 0x3000;
    m.tmItalic = 255;
    m.tmUnderlined = 1;
    m.tmStruckOut = 0;
    m.tmPitchAndFamily = 0x27;
    m.tmCharSet = 128;
    return m;
}

TEST(PhysicalReport, EveryLineInOrderWithTheFaceLast)
{
    Built built = physical(chosenTextMetrics(), L"IPAGothic");
    ASSERT_TRUE(built.terminated);
    expectLines({ L"Height\t\t= 27", L"Ascent\t\t= 21", L"Descent\t\t= 6", L"InternalLeading\t= 4",
                  L"ExternalLeading\t= 1", L"AveCharWidth\t= 11", L"MaxCharWidth\t= 30", L"Weight\t\t= 700",
                  L"Overhang\t\t= -3", L"DigitizedAspectX\t= 192", L"DigitizedAspectY\t= 96",
                  L"FirstChar\t\t= 32", L"LastChar\t\t= 65535", L"DefaultChar\t= 12539", L"BreakChar\t= 12288",
                  L"Italic\t\t= 255", L"Underlined\t= 1", L"StruckOut\t\t= 0", L"Pitch\t\t= 3", L"Family\t\t= 32",
                  L"CharSet\t\t= 128", L"FaceName\t= IPAGothic" },
                built.text);
}

TEST(PhysicalReport, PitchAndFamilyShowTheirOwnBitsOfOneByte)
{
    TEXTMETRICW m = chosenTextMetrics();
    m.tmPitchAndFamily = 0xFF;
    std::vector<std::wstring> lines = linesOf(physical(m, L"").text);
    ASSERT_EQ(22u, lines.size());
    EXPECT_EQ(L"Pitch\t\t= 3", lines[18]);
    EXPECT_EQ(L"Family\t\t= 240", lines[19]) << "the high four bits left in place; bits 2 and 3 in neither line";
    m.tmPitchAndFamily = 0x0C;
    lines = linesOf(physical(m, L"").text);
    EXPECT_EQ(L"Pitch\t\t= 0", lines[18]);
    EXPECT_EQ(L"Family\t\t= 0", lines[19]);
}

TEST(PhysicalReport, EndsWithTheFaceNameWithoutALineEnd)
{
    std::wstring text = physical(chosenTextMetrics(), L"DejaVu Sans").text;
    EXPECT_EQ(L"\r\nFaceName\t= DejaVu Sans", text.substr(text.size() - 24));
    std::wstring empty = physical(chosenTextMetrics(), L"").text;
    EXPECT_EQ(L"\r\nFaceName\t= ", empty.substr(empty.size() - 13)) << "an empty face leaves the label alone";
}

/* Every 32-bit field 0x80808080, 11 characters in decimal; the narrower ones at their largest. */
static TEXTMETRICW widestTextMetrics(void)
{
    TEXTMETRICW m;
    memset(&m, 0x80, sizeof m);
    m.tmFirstChar = m.tmLastChar = m.tmDefaultChar = m.tmBreakChar = 0xFFFF;
    m.tmItalic = m.tmUnderlined = m.tmStruckOut = m.tmPitchAndFamily = m.tmCharSet = 255;
    return m;
}

TEST(PhysicalReport, WidestFormFitsWellWithinItsCapacity)
{
    const std::wstring face(31, L'M');
    Built built = physical(widestTextMetrics(), face);
    EXPECT_TRUE(built.terminated);
    EXPECT_TRUE(built.guardIntact);
    EXPECT_LT(built.text.size(), 600u);
    EXPECT_EQ(L"Height\t\t= -2139062144", linesOf(built.text)[0]);
    EXPECT_EQ(L"FaceName\t= " + face, linesOf(built.text).back());
}

/* A text that does not fit ends after the last line that fits whole, never past its buffer. */
TEST(PhysicalReport, StopsAtTheLastWholeLineThatFits)
{
    const TEXTMETRICW m = chosenTextMetrics();
    const std::wstring whole = physical(m, L"IPAGothic").text;
    for (int capacity : { 1, 13, 14, 15, 100, (int)whole.size(), (int)whole.size() + 1 }) {
        Built built = physical(m, L"IPAGothic", capacity);
        EXPECT_TRUE(built.terminated) << "capacity " << capacity;
        EXPECT_TRUE(built.guardIntact) << "capacity " << capacity << ": written past the buffer";
        ASSERT_EQ(0u, whole.find(built.text)) << "capacity " << capacity << ": not the start of the report";
        if (built.text.size() == whole.size() || built.text.empty())
            continue;
        EXPECT_EQ(L"\r\n", built.text.substr(built.text.size() - 2)) << "capacity " << capacity;
        size_t next = whole.find(L"\r\n", built.text.size());
        size_t nextEnd = next == std::wstring::npos ? whole.size() : next + 2;
        EXPECT_GE(nextEnd, (size_t)capacity) << "capacity " << capacity << ": a line that fits was left out";
    }
    EXPECT_EQ(whole, physical(m, L"IPAGothic", (int)whole.size() + 1).text) << "room for the text and its NUL";

    /* No face the state can hold is this long; the report still stays in its buffer. */
    const std::wstring absurd(3000, L'F');
    Built built = physical(m, absurd);
    EXPECT_TRUE(built.guardIntact);
    EXPECT_EQ(L"CharSet\t\t= 128\r\n", built.text.substr(built.text.size() - 16)) << "the face line is left out";
}

static OUTLINETEXTMETRICW chosenOutlineMetrics(void)
{
    OUTLINETEXTMETRICW m;
    memset(&m, 0, sizeof m);
    m.otmSize = 999;
    m.otmTextMetrics.tmHeight = 777;
    m.otmFiller = 255;
    m.otmPanoseNumber.bFamilyType = 2;
    m.otmPanoseNumber.bSerifStyle = 11;
    m.otmPanoseNumber.bWeight = 6;
    m.otmPanoseNumber.bProportion = 9;
    m.otmPanoseNumber.bContrast = 3;
    m.otmPanoseNumber.bStrokeVariation = 5;
    m.otmPanoseNumber.bArmStyle = 4;
    m.otmPanoseNumber.bLetterform = 8;
    m.otmPanoseNumber.bMidline = 255;
    m.otmPanoseNumber.bXHeight = 7;
    m.otmfsSelection = 0x80000040;
    m.otmfsType = 8;
    m.otmsCharSlopeRise = 1;
    m.otmsCharSlopeRun = 0;
    m.otmItalicAngle = -120;
    m.otmEMSquare = 2048;
    m.otmAscent = 1802;
    m.otmDescent = -455;
    m.otmLineGap = 67;
    m.otmsCapEmHeight = 1493;
    m.otmsXHeight = 1120;
    m.otmrcFontBox.left = -100;
    m.otmrcFontBox.top = 900;
    m.otmrcFontBox.right = 1000;
    m.otmrcFontBox.bottom = -200;
    m.otmMacAscent = 1901;
    m.otmMacDescent = -483;
    m.otmMacLineGap = 0xFFFFFFFF;
    m.otmusMinimumPPEM = 9;
    m.otmptSubscriptSize.x = 1331;
    m.otmptSubscriptSize.y = 1433;
    m.otmptSubscriptOffset.x = -12;
    m.otmptSubscriptOffset.y = 286;
    m.otmptSuperscriptSize.x = 1332;
    m.otmptSuperscriptSize.y = 1434;
    m.otmptSuperscriptOffset.x = 13;
    m.otmptSuperscriptOffset.y = 983;
    m.otmsStrikeoutSize = 102;
    m.otmsStrikeoutPosition = 530;
    m.otmsUnderscoreSize = 90;
    m.otmsUnderscorePosition = -173;
    m.otmpFamilyName = (PSTR)(ULONG_PTR)216;
    return m;
}

static const Names chosenNames = { L"DejaVu Sans", L"DejaVu Sans Bold", L"Bold", L"DejaVu Sans Bold Full" };

static std::vector<std::wstring> panoseLines(const char *const values[10])
{
    static const wchar_t *const labels[10] = {
        L"otmPanoseNumber.bFamilyType\t= ", L"otmPanoseNumber.bSerifStyle\t\t= ", L"otmPanoseNumber.bWeight\t\t= ",
        L"otmPanoseNumber.bProportion\t\t= ", L"otmPanoseNumber.bContrast\t\t= ",
        L"otmPanoseNumber.bLetterform\t\t= ", L"otmPanoseNumber.bStrokeVariation\t= ",
        L"otmPanoseNumber.bArmStyle\t\t= ", L"otmPanoseNumber.bMidline\t\t= ", L"otmPanoseNumber.bXHeight\t\t= " };
    std::vector<std::wstring> lines;
    for (int i = 0; i < 10; i++)
        lines.push_back(labels[i] + std::wstring(values[i], values[i] + strlen(values[i])));
    return lines;
}

TEST(OutlineReport, EveryLineInOrderEndingWithALineEnd)
{
    Built built = outline(chosenOutlineMetrics(), chosenNames);
    ASSERT_TRUE(built.terminated);
    std::vector<std::wstring> expected = {
        L"otmFiller\t\t\t= 255", L"otmfsSelection\t\t= -2147483584", L"otmfsType\t\t= 8",
        L"otmsCharSlopeRise\t\t= 1", L"otmsCharSlopeRun\t\t= 0", L"otmItalicAngle\t\t= -120",
        L"otmEMSquare\t\t= 2048", L"otmAscent\t\t= 1802", L"otmDescent\t\t= -455", L"otmLineGap\t\t= 67",
        L"otmsCapEmHeight\t\t= 1493", L"otmsXHeight\t\t= 1120",
        L"otmrcFontBox\t\t= -100,1000,900,-200 (Left,Right,Top,Bottom)", L"otmMacAscent\t\t= 1901",
        L"otmMacDescent\t\t= -483", L"otmMacLineGap\t\t= -1", L"otmusMinimumPPEM\t\t= 9",
        L"otmptSubscriptSize\t\t= 1331,1433 (x,y)", L"otmptSubscriptOffset\t= -12,286 (x,y)",
        L"otmptSuperscriptSize\t= 1332,1434 (x,y)", L"otmptSuperscriptOffset\t= 13,983 (x,y)",
        L"otmsStrikeoutSize\t\t= 102", L"otmsStrikeoutPosition\t= 530", L"otmsUnderscoreSize\t\t= 90",
        L"otmsUnderscorePosition\t= -173", L"otmpFamilyName\t\t= DejaVu Sans",
        L"otmpFaceName\t\t= DejaVu Sans Bold", L"otmpStyleName\t\t= Bold",
        L"otmpFullName\t\t= DejaVu Sans Bold Full" };
    static const char *const panose[10] = { "2", "11", "6", "9", "3", "8", "5", "4", "255", "7" };
    for (const std::wstring &line : panoseLines(panose))
        expected.push_back(line);
    expected.push_back(L"");   /* the text ends with CR LF */
    expectLines(expected, built.text);
}

TEST(OutlineReport, RightAfterStartWithoutOutlineMetricsEveryNumberIsZero)
{
    OUTLINETEXTMETRICW zero;
    memset(&zero, 0, sizeof zero);
    const Names error = { L"ERROR", L"ERROR", L"ERROR", L"ERROR" };
    std::vector<std::wstring> lines = linesOf(outline(zero, error).text);
    ASSERT_EQ(40u, lines.size());
    for (size_t i = 0; i < 39; i++) {
        const std::wstring value = lines[i].substr(lines[i].find(L"= ") + 2);
        if (i >= 25 && i <= 28)
            EXPECT_EQ(L"ERROR", value) << "line " << i + 1;
        else if (i == 12)
            EXPECT_EQ(L"0,0,0,0 (Left,Right,Top,Bottom)", value);
        else if (i >= 17 && i <= 20)
            EXPECT_EQ(L"0,0 (x,y)", value) << "line " << i + 1;
        else
            EXPECT_EQ(L"0", value) << "line " << i + 1;
    }
    EXPECT_EQ(L"", lines[39]);
}

/* Every 32-bit figure at its widest (0x80808080, 11 characters), every byte 255 (3). */
static OUTLINETEXTMETRICW widestOutlineMetrics(void)
{
    OUTLINETEXTMETRICW m;
    memset(&m, 0x80, sizeof m);
    m.otmFiller = 255;
    memset(&m.otmPanoseNumber, 255, sizeof m.otmPanoseNumber);
    return m;
}

static Names namesOfLengths(size_t family, size_t face, size_t style, size_t full)
{
    return { std::wstring(family, L'A'), std::wstring(face, L'B'), std::wstring(style, L'C'), std::wstring(full, L'D') };
}

/* 964 fixed characters, 31 figures of 11 and 11 bytes of 3 leave 661 for the names before the NUL. */
TEST(OutlineReport, TheLargestTextThatFitsIsWhole)
{
    const Names names = namesOfLengths(166, 165, 165, 165);
    Built unbounded = outline(widestOutlineMetrics(), names, 8000);
    ASSERT_EQ(1999u, unbounded.text.size()) << "the widest report with 661 name characters";
    Built built = outline(widestOutlineMetrics(), names);
    EXPECT_TRUE(built.guardIntact);
    EXPECT_EQ(unbounded.text, built.text);
}

TEST(OutlineReport, OneCharacterTooManyLeavesOutTheLastLine)
{
    const Names names = namesOfLengths(166, 166, 165, 165);
    Built unbounded = outline(widestOutlineMetrics(), names, 8000);
    Built built = outline(widestOutlineMetrics(), names);
    EXPECT_TRUE(built.terminated);
    EXPECT_TRUE(built.guardIntact);
    std::vector<std::wstring> lines = linesOf(built.text);
    ASSERT_EQ(39u, lines.size());
    EXPECT_EQ(L"otmPanoseNumber.bMidline\t\t= 255", lines[37]) << "the text stops after the line before";
    EXPECT_EQ(unbounded.text.substr(0, built.text.size()), built.text);
}

/* The longest names the state holds: the text stops after the last line that fits whole. */
TEST(OutlineReport, LongestNamesStopAtTheCapacity)
{
    const Names names = namesOfLengths(259, 259, 259, 259);
    Built unbounded = outline(widestOutlineMetrics(), names, 8000);
    ASSERT_GT(unbounded.text.size(), 1999u);
    Built built = outline(widestOutlineMetrics(), names);
    EXPECT_TRUE(built.terminated);
    EXPECT_TRUE(built.guardIntact) << "written past the 2000 characters";
    EXPECT_LE(built.text.size(), 1999u);
    ASSERT_EQ(0u, unbounded.text.find(built.text)) << "not the start of the report";
    EXPECT_EQ(L"\r\n", built.text.substr(built.text.size() - 2)) << "it ends with a whole line";
    size_t nextEnd = unbounded.text.find(L"\r\n", built.text.size()) + 2;
    EXPECT_GT(nextEnd, 1999u) << "the next line would have fitted";
    std::vector<std::wstring> lines = linesOf(built.text);
    EXPECT_EQ(L"otmpStyleName\t\t= " + names.style, lines[lines.size() - 2]) << "the full name's line does not fit";

    /* No name the state can hold is longer, but a longer one still stays in the buffer. */
    Built absurd = outline(widestOutlineMetrics(), namesOfLengths(5000, 5000, 5000, 5000));
    EXPECT_TRUE(absurd.guardIntact);
    EXPECT_EQ(25u + 1, linesOf(absurd.text).size()) << "the figures, and no name line";
}

/* ---- The report dialog ---- */

static const FONTVIEWSTATE &state = FontViewState;

static std::wstring physicalOfState(void)
{
    return physical(state.textMetrics, state.textFace).text;
}

static std::wstring outlineOfState(void)
{
    Names names = { state.familyName, state.faceName, state.styleName, state.fullName };
    return outline(state.outlineMetrics, names).text;
}

static HWND reportBox(HWND dialog)
{
    return GetDlgItem(dialog, IDC_REPORTTEXT);
}

static ::testing::AssertionResult boxFillsTheClientArea(HWND dialog)
{
    RECT client, box;
    GetClientRect(dialog, &client);
    GetWindowRect(reportBox(dialog), &box);
    MapWindowPoints(NULL, dialog, (POINT *)&box, 2);
    if (!EqualRect(&client, &box) || client.right <= 0 || client.bottom <= 0)
        return ::testing::AssertionFailure() << "the box is at (" << box.left << "," << box.top << ")-(" << box.right
                                             << "," << box.bottom << "), the client area (0,0)-(" << client.right
                                             << "," << client.bottom << ")";
    return ::testing::AssertionSuccess();
}

struct Selection {
    DWORD start = 1, end = 0;
    bool empty() const { return start == end; }
};

static Selection selectionOf(HWND dialog)
{
    Selection selection;
    SendMessageW(reportBox(dialog), EM_GETSEL, (WPARAM)&selection.start, (LPARAM)&selection.end);
    return selection;
}

/* From the driving thread: turns the screen and waits until the dialog has been fitted to it. */
static bool turnScreenTo(HWND dialog, int width, int height)
{
    if (!EmulatorSetScreenSize(width, height))
        return false;
    DWORD start = GetTickCount();
    RECT r;
    while (GetWindowRect(dialog, &r) && r.right - r.left != width) {
        if (GetTickCount() - start > 5000)
            return false;
        Sleep(10);
    }
    Sleep(100);
    return true;
}

/* The report that the command shows, read from its box; the dialog is then cancelled. */
static std::wstring shownReport(WPARAM command)
{
    std::wstring text;
    EXPECT_TRUE(runModal(command, [&](HWND dialog) {
        text = controlText(dialog, IDC_REPORTTEXT);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })) << "the report did not open or did not close on IDCANCEL";
    return text;
}

TEST_F(AppTest, PhysicalReportShowsTheRealisedFontFullScreenAndReadOnly)
{
    std::wstring caption, text;
    LONG style = 0;
    ::testing::AssertionResult full = ::testing::AssertionFailure(), filled = ::testing::AssertionFailure();
    ASSERT_TRUE(runModal(IDM_PHYSFONT, [&](HWND dialog) {
        Sleep(100);
        WCHAR title[64] = L"";
        GetWindowTextW(dialog, title, 64);
        caption = title;
        text = controlText(dialog, IDC_REPORTTEXT);
        style = GetWindowLongW(reportBox(dialog), GWL_STYLE);
        full = fillsTheScreenBetweenTheBars(dialog);
        filled = boxFillsTheClientArea(dialog);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(L"Infomations", caption);
    EXPECT_EQ(physicalOfState(), text);
    EXPECT_NE(std::wstring::npos, text.find(L"FaceName\t= " + std::wstring(state.textFace)));
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(full);
    EXPECT_TRUE(filled);
}

TEST_F(AppTest, OutlineReportShowsTheCapturedFiguresAndNames)
{
    LOGFONTW font = state.logFont;
    font.lfHeight = -24;
    wcscpy(font.lfFaceName, L"Tahoma");
    FontViewState.logFont = font;
    applyFont();
    ASSERT_STREQ(L"Tahoma", state.familyName) << "the outline font was not realised";
    std::wstring text = shownReport(IDM_OUTLINEFONT);
    EXPECT_EQ(outlineOfState(), text);
    std::vector<std::wstring> lines = linesOf(text);
    ASSERT_EQ(40u, lines.size());
    EXPECT_EQ(L"otmpFamilyName\t\t= Tahoma", lines[25]);
    EXPECT_EQ(L"otmEMSquare\t\t= " + std::to_wstring(state.outlineMetrics.otmEMSquare), lines[6]);
}

TEST_F(AppTest, ReportsOfARasterFontAfterAnOutlineFont)
{
    std::wstring file = addTestRasterFont("VelmoraReports");
    ASSERT_FALSE(file.empty()) << "the raster font could not be added";
    LOGFONTW font = state.logFont;
    font.lfHeight = -24;
    wcscpy(font.lfFaceName, L"Tahoma");
    FontViewState.logFont = font;
    applyFont();
    std::vector<std::wstring> before = linesOf(shownReport(IDM_OUTLINEFONT));

    font.lfHeight = 16;
    wcscpy(font.lfFaceName, L"VelmoraReports");
    FontViewState.logFont = font;
    applyFont();
    std::vector<std::wstring> after = linesOf(shownReport(IDM_OUTLINEFONT));
    std::vector<std::wstring> physicalLines = linesOf(shownReport(IDM_PHYSFONT));
    removeTestRasterFont(file);

    ASSERT_EQ(40u, before.size());
    ASSERT_EQ(40u, after.size());
    for (size_t i = 0; i < after.size(); i++) {
        if (i >= 25 && i <= 28)
            EXPECT_EQ(L"= ERROR", after[i].substr(after[i].size() - 7)) << "line " << i + 1;
        else
            EXPECT_EQ(before[i], after[i]) << "line " << i + 1 << ": the outline font's figures must stay";
    }
    ASSERT_EQ(22u, physicalLines.size());
    EXPECT_EQ(L"Height\t\t= 16", physicalLines[0]);
    EXPECT_EQ(L"Ascent\t\t= 13", physicalLines[1]);
    EXPECT_EQ(L"FaceName\t= VelmoraReports", physicalLines[21]);
}

TEST_F(AppTest, ReportBoxFillsTheClientAreaInPortraitAndLandscape)
{
    bool landscape = false, portrait = false;
    ::testing::AssertionResult inLandscape = ::testing::AssertionFailure(),
                               inPortrait = ::testing::AssertionFailure(),
                               fullInLandscape = ::testing::AssertionFailure();
    ASSERT_TRUE(runModal(IDM_OUTLINEFONT, [&](HWND dialog) {
        Sleep(100);
        landscape = turnScreenTo(dialog, PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
        inLandscape = boxFillsTheClientArea(dialog);
        fullInLandscape = fillsTheScreenBetweenTheBars(dialog);
        portrait = turnScreenTo(dialog, PORTRAIT_WIDTH, PORTRAIT_HEIGHT);
        inPortrait = boxFillsTheClientArea(dialog);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    ASSERT_TRUE(landscape) << "the dialog was not fitted to the landscape screen";
    EXPECT_TRUE(inLandscape);
    EXPECT_TRUE(fullInLandscape);
    ASSERT_TRUE(portrait) << "the dialog was not fitted to the portrait screen";
    EXPECT_TRUE(inPortrait);
}

TEST_F(AppTest, ReportOpenedInLandscapeFillsItsClientArea)
{
    setScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
    ::testing::AssertionResult filled = ::testing::AssertionFailure(), full = ::testing::AssertionFailure();
    ASSERT_TRUE(runModal(IDM_PHYSFONT, [&](HWND dialog) {
        Sleep(100);
        filled = boxFillsTheClientArea(dialog);
        full = fillsTheScreenBetweenTheBars(dialog);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_TRUE(filled);
    EXPECT_TRUE(full);
}

TEST_F(AppTest, SelectionIsRemovedOnceAfterOpeningAndNotOnALaterResize)
{
    Selection opened, kept;
    int length = 0;
    bool turned = false;
    ASSERT_TRUE(runModal(IDM_PHYSFONT, [&](HWND dialog) {
        Sleep(100);
        opened = selectionOf(dialog);
        length = GetWindowTextLengthW(reportBox(dialog));
        SendMessageW(reportBox(dialog), EM_SETSEL, 0, -1);
        turned = turnScreenTo(dialog, PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
        kept = selectionOf(dialog);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_TRUE(opened.empty()) << "selected " << opened.start << " to " << opened.end << " after opening";
    ASSERT_TRUE(turned);
    EXPECT_EQ(0u, kept.start) << "a later resize must keep the user's selection";
    EXPECT_EQ((DWORD)length, kept.end);
    EXPECT_EQ(0, state.reportJustOpened);
}

TEST_F(AppTest, ReportClosesOnTheNavigationBarOkAndOnCancelOnly)
{
    bool stayedOpen = false;
    EXPECT_TRUE(runModal(IDM_PHYSFONT, [&](HWND dialog) {
        Sleep(200);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REPORTTEXT, EN_SETFOCUS), (LPARAM)reportBox(dialog));
        SendMessageW(dialog, WM_COMMAND, 3, 0);
        Sleep(100);
        stayedOpen = IsWindowVisible(dialog) != FALSE;
        clickDoneButton();
    })) << "a click on the navigation bar's ok must close the report";
    EXPECT_TRUE(stayedOpen) << "another command id must leave the report open";
    EXPECT_TRUE(runModal(IDM_OUTLINEFONT, [&](HWND) {
        Sleep(200);
        clickDoneButton();
    })) << "the outline report too";
    EXPECT_TRUE(runModal(IDM_OUTLINEFONT, [&](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })) << "IDCANCEL must close the report";
}

TEST_F(AppTest, ReportsFollowTheFontButNotTheDrawingSettings)
{
    std::wstring physical1 = shownReport(IDM_PHYSFONT), outline1 = shownReport(IDM_OUTLINEFONT);
    EXPECT_EQ(physical1, shownReport(IDM_PHYSFONT)) << "two openings, no change in between";
    EXPECT_EQ(outline1, shownReport(IDM_OUTLINEFONT));

    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        setFieldText(dialog, IDC_TEXTALIGN, L"0");
        setFieldText(dialog, IDC_BKMODE, L"1");
        setFieldText(dialog, IDC_TEXTCOLOR, L"0000FF");
        setFieldText(dialog, IDC_ERASECOLOR, L"00FF00");
        clickButton(dialog, IDOK);
    }));
    ASSERT_EQ(0u, state.textAlign) << "the drawing settings were not taken";
    EXPECT_EQ(physical1, shownReport(IDM_PHYSFONT)) << "the drawing settings do not change the font";
    EXPECT_EQ(outline1, shownReport(IDM_OUTLINEFONT));

    FontViewState.logFont.lfHeight = state.textMetrics.tmHeight * 2;
    FontViewState.logFont.lfWeight = FW_BOLD;
    applyFont();
    std::wstring physical2 = shownReport(IDM_PHYSFONT), outline2 = shownReport(IDM_OUTLINEFONT);
    EXPECT_NE(physical1, physical2) << "a font change changes the report";
    EXPECT_NE(outline1, outline2);
    EXPECT_EQ(physicalOfState(), physical2);
    EXPECT_EQ(outlineOfState(), outline2);
}
