/* The two font reports: their exact texts for chosen records, the capacities they never
   pass, and the report dialog as the user opens, turns and closes it. */
#include "apptest.h"

#include <algorithm>
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

/* Every field its own value, in the record's order. */
static const TEXTMETRICW chosenTextMetrics = { 27, 21, 6, 4, 1, 11, 30, 700, -3, 192, 96, 32, 0xFFFF, 0x30FB, 0x3000,
                                               255, 1, 0, 0x27, 128 };

/* The report of chosenTextMetrics with the face "IPAGothic", line by line. */
static const std::vector<std::wstring> chosenPhysicalLines = {
    L"Height\t\t= 27", L"Ascent\t\t= 21", L"Descent\t\t= 6", L"InternalLeading\t= 4", L"ExternalLeading\t= 1",
    L"AveCharWidth\t= 11", L"MaxCharWidth\t= 30", L"Weight\t\t= 700", L"Overhang\t\t= -3",
    L"DigitizedAspectX\t= 192", L"DigitizedAspectY\t= 96", L"FirstChar\t\t= 32", L"LastChar\t\t= 65535",
    L"DefaultChar\t= 12539", L"BreakChar\t= 12288", L"Italic\t\t= 255", L"Underlined\t= 1", L"StruckOut\t\t= 0",
    L"Pitch\t\t= 3", L"Family\t\t= 32", L"CharSet\t\t= 128", L"FaceName\t= IPAGothic"
};

TEST(PhysicalReport, EveryLineInOrderEndingWithTheFaceWithoutALineEnd)
{
    Built built = physical(chosenTextMetrics, L"IPAGothic");
    ASSERT_TRUE(built.terminated);
    expectLines(chosenPhysicalLines, built.text);
}

TEST(PhysicalReport, PitchAndFamilyShowTheirOwnBitsOfOneByte)
{
    TEXTMETRICW m = chosenTextMetrics;
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

TEST(PhysicalReport, AnEmptyFaceLeavesTheLabelAloneAtTheEnd)
{
    std::wstring text = physical(chosenTextMetrics, L"").text;
    EXPECT_EQ(L"\r\nFaceName\t= ", text.substr(text.size() - 13));
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

/* A line goes in whole or not at all: the text ends after the last line that fits before its
   NUL, never past its buffer. The first line, "Height\t\t= 27" and CR LF, takes 14 characters. */
TEST(PhysicalReport, StopsAtTheLastWholeLineThatFits)
{
    const TEXTMETRICW m = chosenTextMetrics;
    std::wstring whole;
    for (const std::wstring &line : chosenPhysicalLines)
        whole += (whole.empty() ? L"" : L"\r\n") + line;
    EXPECT_EQ(L"", physical(m, L"IPAGothic", 14).text) << "no room for the first line's NUL";
    EXPECT_EQ(L"Height\t\t= 27\r\n", physical(m, L"IPAGothic", 15).text);
    EXPECT_EQ(whole, physical(m, L"IPAGothic", (int)whole.size() + 1).text) << "room for the text and its NUL";
    for (int capacity : { 1, 13, 16, 100, (int)whole.size() }) {
        Built built = physical(m, L"IPAGothic", capacity);
        EXPECT_TRUE(built.terminated) << "capacity " << capacity;
        EXPECT_TRUE(built.guardIntact) << "capacity " << capacity << ": written past the buffer";
        ASSERT_EQ(0u, whole.find(built.text)) << "capacity " << capacity << ": not the start of the report";
        if (built.text.empty())
            continue;
        EXPECT_EQ(L"\r\n", built.text.substr(built.text.size() - 2)) << "capacity " << capacity;
        size_t next = whole.find(L"\r\n", built.text.size());
        size_t nextEnd = next == std::wstring::npos ? whole.size() : next + 2;
        EXPECT_GE(nextEnd, (size_t)capacity) << "capacity " << capacity << ": a line that fits was left out";
    }

    /* No face the state can hold is this long; the report still stays in its buffer. */
    Built built = physical(m, std::wstring(3000, L'F'));
    EXPECT_TRUE(built.guardIntact);
    EXPECT_EQ(L"CharSet\t\t= 128\r\n", built.text.substr(built.text.size() - 16)) << "the face line is left out";
}

/* The figures in the record's order, the PANOSE bytes too: there stroke variation (5), arm style
   (4) and letterform (8) come in that order. The size, the text metrics and the name offsets
   are not printed. */
static const OUTLINETEXTMETRICW chosenOutlineMetrics = {
    999, { 777 }, 255, { 2, 11, 6, 9, 3, 5, 4, 8, 255, 7 }, 0x80000040, 8, 1, 0, -120, 2048, 1802, -455, 67,
    1493, 1120, { -100, 900, 1000, -200 }, 1901, -483, 0xFFFFFFFF, 9, { 1331, 1433 }, { -12, 286 }, { 1332, 1434 },
    { 13, 983 }, 102, 530, 90, -173, (PSTR)(ULONG_PTR)216 };

TEST(OutlineReport, EveryLineInOrderEndingWithALineEnd)
{
    const Names names = { L"DejaVu Sans", L"DejaVu Sans Bold", L"Bold", L"DejaVu Sans Bold Full" };
    Built built = outline(chosenOutlineMetrics, names);
    ASSERT_TRUE(built.terminated);
    expectLines({ L"otmFiller\t\t\t= 255", L"otmfsSelection\t\t= -2147483584", L"otmfsType\t\t= 8",
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
                  L"otmpFullName\t\t= DejaVu Sans Bold Full", L"otmPanoseNumber.bFamilyType\t= 2",
                  L"otmPanoseNumber.bSerifStyle\t\t= 11", L"otmPanoseNumber.bWeight\t\t= 6",
                  L"otmPanoseNumber.bProportion\t\t= 9", L"otmPanoseNumber.bContrast\t\t= 3",
                  L"otmPanoseNumber.bLetterform\t\t= 8", L"otmPanoseNumber.bStrokeVariation\t= 5",
                  L"otmPanoseNumber.bArmStyle\t\t= 4", L"otmPanoseNumber.bMidline\t\t= 255",
                  L"otmPanoseNumber.bXHeight\t\t= 7", L"" },
                built.text);
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
    Built built = outline(widestOutlineMetrics(), namesOfLengths(166, 165, 165, 165));
    EXPECT_TRUE(built.guardIntact);
    EXPECT_EQ(1999u, built.text.size()) << "the widest report with 661 name characters";
    std::vector<std::wstring> lines = linesOf(built.text);
    ASSERT_EQ(40u, lines.size());
    EXPECT_EQ(L"otmPanoseNumber.bXHeight\t\t= 255", lines[38]);
}

/* The last line, "otmPanoseNumber.bXHeight\t\t= 255" and CR LF, takes 33 characters. */
TEST(OutlineReport, OneCharacterTooManyLeavesOutTheLastLine)
{
    Built built = outline(widestOutlineMetrics(), namesOfLengths(166, 166, 165, 165));
    EXPECT_TRUE(built.terminated);
    EXPECT_TRUE(built.guardIntact);
    EXPECT_EQ(2000u - 33, built.text.size());
    std::vector<std::wstring> lines = linesOf(built.text);
    ASSERT_EQ(39u, lines.size());
    EXPECT_EQ(L"otmPanoseNumber.bMidline\t\t= 255", lines[37]) << "the text stops after the line before";
}

/* The longest names the state holds, 259 characters each: the 25 figure lines (914 characters)
   and the family, face and style lines (279, 277 and 278) make 1748; the full name's 277 more
   would pass the 1999 before the NUL. */
TEST(OutlineReport, LongestNamesStopAtTheCapacity)
{
    const Names names = namesOfLengths(259, 259, 259, 259);
    Built built = outline(widestOutlineMetrics(), names);
    EXPECT_TRUE(built.terminated);
    EXPECT_TRUE(built.guardIntact) << "written past the 2000 characters";
    EXPECT_EQ(1748u, built.text.size());
    std::vector<std::wstring> lines = linesOf(built.text);
    ASSERT_EQ(29u, lines.size());
    EXPECT_EQ(L"otmpStyleName\t\t= " + names.style, lines[27]) << "the full name's line does not fit";

    /* No name the state can hold is longer, but a longer one still stays in the buffer. */
    Built absurd = outline(widestOutlineMetrics(), namesOfLengths(5000, 5000, 5000, 5000));
    EXPECT_TRUE(absurd.guardIntact);
    EXPECT_EQ(25u + 1, linesOf(absurd.text).size()) << "the figures, and no name line";
}

/* ---- The report dialog ---- */

static const FONTVIEWSTATE &state = FontViewState;

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

/* From the driving thread: waits until the shell has fitted the report to the screen between
   the bars and the box has followed; answers where they are if not. */
static ::testing::AssertionResult fitted(HWND dialog)
{
    waitUntilReady(dialog);
    pumpUntil([&] { return (bool)boxFillsTheClientArea(dialog); });
    ::testing::AssertionResult full = fillsTheScreenBetweenTheBars(dialog);
    return full ? boxFillsTheClientArea(dialog) : full;
}

/* From the driving thread: turns the screen with the emulator's key, as a user does, and waits
   until the report has been fitted to the screen of that width. */
static ::testing::AssertionResult turnScreenTo(HWND dialog, int width)
{
    pressKey(VK_F9);
    if (!pumpUntil([&] { return GetSystemMetrics(SM_CXSCREEN) == width; }))
        return ::testing::AssertionFailure() << "the screen did not turn to the width " << width;
    return fitted(dialog);
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

/* Opens the command's report, hands it to look from the driving thread once the shell has
   placed it, then closes it with IDCANCEL. */
static void inReport(WPARAM command, const std::function<void(HWND dialog)> &look)
{
    EXPECT_TRUE(runModal(command, [&](HWND dialog) {
        waitUntilReady(dialog);
        look(dialog);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    })) << "the report did not open or did not close on IDCANCEL";
}

static std::wstring shownReport(WPARAM command)
{
    std::wstring text;
    inReport(command, [&](HWND dialog) { text = controlText(dialog, IDC_REPORTTEXT); });
    return text;
}

/* Lines of the physical report against the platform's own answer for the font. */
static void expectPhysicalReportOf(const LOGFONTW &font, const std::wstring &text)
{
    const PlatformFont platform = platformFont(font);
    const TEXTMETRICW &m = platform.metrics;
    std::vector<std::wstring> lines = linesOf(text);
    ASSERT_EQ(22u, lines.size());
    EXPECT_EQ(L"Height\t\t= " + std::to_wstring(m.tmHeight), lines[0]);
    EXPECT_EQ(L"AveCharWidth\t= " + std::to_wstring(m.tmAveCharWidth), lines[5]);
    EXPECT_EQ(L"Weight\t\t= " + std::to_wstring(m.tmWeight), lines[7]);
    EXPECT_EQ(L"LastChar\t\t= " + std::to_wstring(m.tmLastChar), lines[12]);
    EXPECT_EQ(L"FaceName\t= " + platform.face, lines[21]);
}

/* Lines of the outline report against the platform's own answer for the font. */
static void expectOutlineReportOf(const LOGFONTW &font, const std::wstring &text)
{
    const PlatformFont platform = platformFont(font);
    ASSERT_FALSE(platform.outline.empty()) << "the platform gives the font no outline metrics";
    const OUTLINETEXTMETRICW &m = platform.head();
    const RECT &box = m.otmrcFontBox;
    std::vector<std::wstring> lines = linesOf(text);
    ASSERT_EQ(40u, lines.size());
    EXPECT_EQ(L"otmEMSquare\t\t= " + std::to_wstring(m.otmEMSquare), lines[6]);
    EXPECT_EQ(L"otmAscent\t\t= " + std::to_wstring(m.otmAscent), lines[7]);
    EXPECT_EQ(L"otmrcFontBox\t\t= " + std::to_wstring(box.left) + L"," + std::to_wstring(box.right) + L"," +
                  std::to_wstring(box.top) + L"," + std::to_wstring(box.bottom) + L" (Left,Right,Top,Bottom)",
              lines[12]);
    EXPECT_EQ(L"otmpFamilyName\t\t= " + platform.name(m.otmpFamilyName), lines[25]);
    EXPECT_EQ(L"otmpFaceName\t\t= " + platform.name(m.otmpFaceName), lines[26]);
    EXPECT_EQ(L"otmpStyleName\t\t= " + platform.name(m.otmpStyleName), lines[27]);
    EXPECT_EQ(L"otmpFullName\t\t= " + platform.name(m.otmpFullName), lines[28]);
    EXPECT_EQ(L"otmPanoseNumber.bWeight\t\t= " + std::to_wstring(m.otmPanoseNumber.bWeight), lines[31]);
}

TEST_F(AppTest, PhysicalReportShowsTheRealisedFontFullScreenAndReadOnly)
{
    std::wstring caption, text;
    LONG style = 0;
    ::testing::AssertionResult inPlace = ::testing::AssertionFailure();
    inReport(IDM_PHYSFONT, [&](HWND dialog) {
        inPlace = fitted(dialog);
        caption = windowText(dialog);
        text = controlText(dialog, IDC_REPORTTEXT);
        style = GetWindowLongW(reportBox(dialog), GWL_STYLE);
    });
    EXPECT_EQ(L"Infomations", caption);
    EXPECT_TRUE(inPlace);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    expectPhysicalReportOf(state.logFont, text);
}

TEST_F(AppTest, OutlineReportShowsTheCapturedFiguresAndNames)
{
    setFontUnderTest(L"Tahoma", -24);
    std::wstring text = shownReport(IDM_OUTLINEFONT);
    EXPECT_NE(std::wstring::npos, text.find(L"\r\notmpFamilyName\t\t= Tahoma\r\n"));
    expectOutlineReportOf(state.logFont, text);
}

TEST_F(AppTest, PhysicalReportOfAJapaneseFaceInTheDefaultCharacterSetShowsShiftJis)
{
    setFontUnderTest(L"MS Gothic", -24);
    ASSERT_EQ(DEFAULT_CHARSET, state.logFont.lfCharSet);
    std::vector<std::wstring> lines = linesOf(shownReport(IDM_PHYSFONT));
    ASSERT_EQ(22u, lines.size());
    EXPECT_EQ(L"CharSet\t\t= 128", lines[20]) << "a Japanese device realises it in SHIFTJIS_CHARSET";
}

static UINT WINAPI noOutlineMetrics(HDC, UINT, LPOUTLINETEXTMETRICW)
{
    return 0;
}

/* The first font, the stock system font, answers no outline metrics while the application starts. */
class StartWithoutOutlineMetrics : public AppTest {
protected:
    void SetUp() override
    {
        ImportPatches patches;
        ASSERT_TRUE(patches.add("gdi32.dll", "GetOutlineTextMetricsW", noOutlineMetrics) != NULL);
        AppTest::SetUp();
    }
};

TEST_F(StartWithoutOutlineMetrics, OutlineReportShowsErrorForTheNamesAndZeroForEveryNumber)
{
    std::vector<std::wstring> lines = linesOf(shownReport(IDM_OUTLINEFONT));
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

TEST_F(AppTest, ReportsOfARasterFontAfterAnOutlineFont)
{
    std::wstring file = addTestRasterFont("VelmoraReports");
    ASSERT_FALSE(file.empty()) << "the raster font could not be added";
    setFontUnderTest(L"Tahoma", -24);
    std::vector<std::wstring> before = linesOf(shownReport(IDM_OUTLINEFONT));
    setFontUnderTest(L"VelmoraReports", 16);
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
    ::testing::AssertionResult inLandscape = ::testing::AssertionFailure(), inPortrait = inLandscape;
    inReport(IDM_OUTLINEFONT, [&](HWND dialog) {
        inLandscape = turnScreenTo(dialog, PORTRAIT_HEIGHT);
        inPortrait = turnScreenTo(dialog, PORTRAIT_WIDTH);
    });
    EXPECT_TRUE(inLandscape) << "turned to landscape";
    EXPECT_TRUE(inPortrait) << "turned back to portrait";
}

TEST_F(AppTest, ReportOpenedInLandscapeFillsItsClientArea)
{
    setScreen(PORTRAIT_HEIGHT, PORTRAIT_WIDTH);
    ::testing::AssertionResult inPlace = ::testing::AssertionFailure();
    inReport(IDM_PHYSFONT, [&](HWND dialog) { inPlace = fitted(dialog); });
    EXPECT_TRUE(inPlace);
}

TEST_F(AppTest, SelectionIsRemovedOnceAfterOpeningAndNotOnALaterResize)
{
    Selection opened, kept;
    int length = 0;
    ::testing::AssertionResult turned = ::testing::AssertionFailure();
    inReport(IDM_PHYSFONT, [&](HWND dialog) {
        fitted(dialog);
        opened = selectionOf(dialog);
        length = GetWindowTextLengthW(reportBox(dialog));
        SendMessageW(reportBox(dialog), EM_SETSEL, 0, -1);
        turned = turnScreenTo(dialog, PORTRAIT_HEIGHT);
        kept = selectionOf(dialog);
    });
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
        waitUntilReady(dialog);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REPORTTEXT, EN_SETFOCUS), (LPARAM)reportBox(dialog));
        SendMessageW(dialog, WM_COMMAND, 3, 0);
        stayedOpen = IsWindowVisible(dialog) != FALSE;
        clickDoneButton();
    })) << "a click on the navigation bar's ok must close the report";
    EXPECT_TRUE(stayedOpen) << "another command id must leave the report open";
    EXPECT_TRUE(runModal(IDM_OUTLINEFONT, [&](HWND dialog) {
        waitUntilReady(dialog);
        clickDoneButton();
    })) << "the outline report too";
    EXPECT_TRUE(runModal(IDM_OUTLINEFONT, [&](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }))
        << "IDCANCEL must close the report";
}

TEST_F(AppTest, ReportsFollowTheFontButNotTheDrawingSettings)
{
    std::wstring physical1 = shownReport(IDM_PHYSFONT), outline1 = shownReport(IDM_OUTLINEFONT);
    EXPECT_EQ(physical1, shownReport(IDM_PHYSFONT)) << "two openings, no change in between";
    EXPECT_EQ(outline1, shownReport(IDM_OUTLINEFONT));

    ASSERT_TRUE(enterFields(IDM_DRAWSETTINGS, { { IDC_TEXTALIGN, L"0" }, { IDC_BKMODE, L"1" },
                                                { IDC_TEXTCOLOR, L"0000FF" }, { IDC_ERASECOLOR, L"00FF00" } }));
    ASSERT_EQ(0u, state.textAlign) << "the drawing settings were not taken";
    EXPECT_EQ(physical1, shownReport(IDM_PHYSFONT)) << "the drawing settings do not change the font";
    EXPECT_EQ(outline1, shownReport(IDM_OUTLINEFONT));

    FontViewState.logFont.lfHeight = -48;
    FontViewState.logFont.lfWeight = FW_BOLD;
    applyFont();
    std::wstring physical2 = shownReport(IDM_PHYSFONT), outline2 = shownReport(IDM_OUTLINEFONT);
    EXPECT_NE(physical1, physical2) << "a font change changes the report";
    EXPECT_NE(outline1, outline2);
    expectPhysicalReportOf(state.logFont, physical2);
    expectOutlineReportOf(state.logFont, outline2);
}
