/* Font realisation: metrics, outline metrics, the four names and the face, with real outline
   and raster fonts; names the platform answers badly; no object or device context left over. */
#include "apptest.h"

#include <string.h>

/* ---- Fonts to realise ---- */

static std::wstring wide(const std::string &ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

static void applyLogFont(const LOGFONTW &font)
{
    FontViewState.logFont = font;
    applyFont();
}

/* What the platform reports for a font, asked here on a device context of our own. */
struct Reported {
    TEXTMETRICW metrics;
    std::vector<BYTE> outline;
    std::wstring face;
};

static Reported reportedFor(const LOGFONTW &font)
{
    Reported reported;
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&font));
    GetTextMetricsW(dc, &reported.metrics);
    UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
    if (size) {
        reported.outline.resize(size);
        GetOutlineTextMetricsW(dc, size, (OUTLINETEXTMETRICW *)&reported.outline[0]);
    }
    WCHAR face[LF_FACESIZE];
    GetTextFaceW(dc, LF_FACESIZE, face);
    reported.face = face;
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return reported;
}

static std::wstring nameAt(const Reported &reported, PSTR offset)
{
    return std::wstring((const WCHAR *)&reported.outline[(size_t)offset]);
}

/* All four outline names read the same text. */
static void expectNames(const WCHAR *text, const char *when, const FONTVIEWSTATE &state = FontViewState)
{
    EXPECT_STREQ(text, state.familyName) << when;
    EXPECT_STREQ(text, state.faceName) << when;
    EXPECT_STREQ(text, state.styleName) << when;
    EXPECT_STREQ(text, state.fullName) << when;
}

static const WCHAR outlineFace[] = L"Tahoma";
static const char rasterFace[] = "VelmoraRaster";

class FontTest : public AppTest {
protected:
    std::wstring rasterFile;
    void SetUp() override
    {
        AppTest::SetUp();
        rasterFile = addTestRasterFont(rasterFace);
        ASSERT_FALSE(rasterFile.empty()) << "the raster font could not be added";
    }
    void TearDown() override
    {
        removeTestRasterFont(rasterFile);
        AppTest::TearDown();
    }
};

/* ---- Outline fonts ---- */

static void expectCapturedAsReported(const LOGFONTW &font, const char *which)
{
    Reported reported = reportedFor(font);
    ASSERT_FALSE(reported.outline.empty()) << which << " has no outline metrics";
    const OUTLINETEXTMETRICW *outline = (const OUTLINETEXTMETRICW *)&reported.outline[0];
    EXPECT_EQ(0, memcmp(&reported.metrics, &FontViewState.textMetrics, sizeof(TEXTMETRICW))) << which;
    EXPECT_EQ(0, memcmp(outline, &FontViewState.outlineMetrics, sizeof(OUTLINETEXTMETRICW))) << which;
    EXPECT_EQ(nameAt(reported, outline->otmpFamilyName), FontViewState.familyName) << which;
    EXPECT_EQ(nameAt(reported, outline->otmpFaceName), FontViewState.faceName) << which;
    EXPECT_EQ(nameAt(reported, outline->otmpStyleName), FontViewState.styleName) << which;
    EXPECT_EQ(nameAt(reported, outline->otmpFullName), FontViewState.fullName) << which;
    EXPECT_EQ(reported.face, FontViewState.textFace) << which;
}

TEST_F(FontTest, StartUpCapturesTheSystemFont)
{
    expectCapturedAsReported(FontViewState.logFont, "the system font");
    EXPECT_EQ(DEFAULT_CHARSET, FontViewState.logFont.lfCharSet);
}

TEST_F(FontTest, OutlineFontGivesItsFourNamesAndFace)
{
    applyLogFont(fontOf(outlineFace, -24));
    expectCapturedAsReported(FontViewState.logFont, "Tahoma");
    EXPECT_STREQ(L"Tahoma", FontViewState.familyName);
    EXPECT_STREQ(L"Tahoma", FontViewState.textFace);

    LOGFONTW bold = fontOf(L"Courier New", -30);
    bold.lfWeight = FW_BOLD;
    applyLogFont(bold);
    expectCapturedAsReported(bold, "Courier New bold");
    EXPECT_STREQ(L"Bold", FontViewState.styleName);
}

TEST_F(FontTest, RasterFontNamesReadErrorAndOutlineMetricsStay)
{
    applyLogFont(fontOf(outlineFace, -24));
    OUTLINETEXTMETRICW previous = FontViewState.outlineMetrics;

    LOGFONTW raster = fontOf(wide(rasterFace), 16);
    Reported reported = reportedFor(raster);
    ASSERT_TRUE(reported.outline.empty()) << "the raster font reports outline metrics";
    ASSERT_EQ(wide(rasterFace), reported.face) << "the raster font was not chosen";
    applyLogFont(raster);
    expectNames(L"ERROR", "a font without outline metrics");
    EXPECT_EQ(0, memcmp(&reported.metrics, &FontViewState.textMetrics, sizeof(TEXTMETRICW)));
    EXPECT_EQ(16, FontViewState.textMetrics.tmHeight);
    EXPECT_EQ(wide(rasterFace), FontViewState.textFace);
    EXPECT_EQ(0, memcmp(&previous, &FontViewState.outlineMetrics, sizeof previous))
        << "the previous outline font's figures must stay";
    EXPECT_EQ(16 + 3, FontViewState.rowHeight) << "the layout follows the new metrics";
}

static const BYTE zeros[sizeof(OUTLINETEXTMETRICW)] = { 0 };

TEST(FontBeforeStartUp, MetricsAndNamesAreZeroOrEmptyAsLoaded)
{
    EXPECT_EQ(0, memcmp(zeros, &loadedState.textMetrics, sizeof(TEXTMETRICW)));
    EXPECT_EQ(0, memcmp(zeros, &loadedState.outlineMetrics, sizeof(OUTLINETEXTMETRICW)));
    expectNames(L"", "as loaded", loadedState);
    EXPECT_STREQ(L"", loadedState.textFace);
}

TEST_F(FontTest, RasterFontFirstLeavesOutlineMetricsZero)
{
    /* As if no outline font had been realised yet. */
    memset(&FontViewState.outlineMetrics, 0, sizeof FontViewState.outlineMetrics);
    applyLogFont(fontOf(wide(rasterFace), 16));
    EXPECT_EQ(0, memcmp(zeros, &FontViewState.outlineMetrics, sizeof(OUTLINETEXTMETRICW)));
    expectNames(L"ERROR", "a raster font first");
}

TEST_F(FontTest, FaceNameOfThirtyOneCharactersFitsWhole)
{
    const std::string face = "VelmoraRasterThirtyOneCharsLong";
    ASSERT_EQ(31u, face.size());
    std::wstring file = addTestRasterFont(face);
    ASSERT_FALSE(file.empty());
    applyLogFont(fontOf(wide(face), 16));
    EXPECT_EQ(wide(face), FontViewState.textFace);
    removeTestRasterFont(file);
}

/* ---- Names the platform answers badly ---- */

static std::vector<BYTE> fakeAnswer;
static UINT fakeFilled;      /* what the filling call answers */

/* Answers the prepared buffer in place of the font's own. */
static UINT WINAPI fakeOutline(HDC, UINT size, LPOUTLINETEXTMETRICW buffer)
{
    if (!buffer)
        return (UINT)fakeAnswer.size();
    if (size != fakeAnswer.size())
        return 0;
    memcpy(buffer, &fakeAnswer[0], size);
    return fakeFilled;
}

class BadAnswerTest : public AppTest {
protected:
    ImportPatches patches;
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(patches.add("gdi32.dll", "GetOutlineTextMetricsW", fakeOutline) != NULL);
    }
};

/* A head followed by the given names, each at the offset it is put at; nothing terminates
   the answer unless a name's own NUL does. */
struct FakeName {
    std::wstring text;
    bool terminated;
};

static const FakeName plainNames[4] = { { L"Family", true }, { L"Face", true }, { L"Style", true }, { L"Full", true } };

static void buildAnswer(const FakeName names[4], size_t tail = 0)
{
    fakeAnswer.assign(sizeof(OUTLINETEXTMETRICW), 0);
    OUTLINETEXTMETRICW head = {};
    head.otmEMSquare = 2048;
    PSTR *offsets[4] = { &head.otmpFamilyName, &head.otmpFaceName, &head.otmpStyleName, &head.otmpFullName };
    for (int i = 0; i < 4; i++) {
        *offsets[i] = (PSTR)(ULONG_PTR)fakeAnswer.size();
        const BYTE *bytes = (const BYTE *)names[i].text.c_str();
        fakeAnswer.insert(fakeAnswer.end(), bytes, bytes + names[i].text.size() * sizeof(WCHAR));
        if (names[i].terminated)
            fakeAnswer.insert(fakeAnswer.end(), sizeof(WCHAR), 0);
    }
    fakeAnswer.insert(fakeAnswer.end(), tail, 'x');
    head.otmSize = (UINT)fakeAnswer.size();
    memcpy(&fakeAnswer[0], &head, sizeof head);
    fakeFilled = (UINT)fakeAnswer.size();
}

static void setOffset(PSTR OUTLINETEXTMETRICW::*member, ULONG_PTR offset)
{
    OUTLINETEXTMETRICW *head = (OUTLINETEXTMETRICW *)&fakeAnswer[0];
    head->*member = (PSTR)offset;
}

TEST_F(BadAnswerTest, LongNamesAreCutToTheFieldsCapacity)
{
    std::wstring pair = L"\xD840\xDC0B";   /* one character outside the 16-bit plane */
    FakeName names[4] = {
        { std::wstring(300, L'f'), true },                         /* longer than the field */
        { std::wstring(259, L'a'), true },                         /* fills the field exactly */
        { std::wstring(258, L's') + pair + L"tail", true },        /* the cut would split the pair */
        { std::wstring(257, L'n') + pair + L"tail", true },        /* the pair just fits */
    };
    buildAnswer(names);
    applyFont();
    EXPECT_EQ(std::wstring(259, L'f'), FontViewState.familyName);
    EXPECT_EQ(std::wstring(259, L'a'), FontViewState.faceName);
    EXPECT_EQ(std::wstring(258, L's'), FontViewState.styleName) << "half a surrogate pair must not be kept";
    EXPECT_EQ(std::wstring(257, L'n') + pair, FontViewState.fullName);
    EXPECT_EQ((UINT)fakeAnswer.size(), FontViewState.outlineMetrics.otmSize);
}

TEST_F(BadAnswerTest, NamesOutsideTheAnswerReadEmpty)
{
    buildAnswer(plainNames);
    setOffset(&OUTLINETEXTMETRICW::otmpFamilyName, fakeAnswer.size());
    setOffset(&OUTLINETEXTMETRICW::otmpFaceName, (ULONG_PTR)-2);
    setOffset(&OUTLINETEXTMETRICW::otmpStyleName, fakeAnswer.size() + 1000000);
    applyFont();
    EXPECT_STREQ(L"", FontViewState.familyName) << "offset at the end";
    EXPECT_STREQ(L"", FontViewState.faceName) << "offset wrapped below zero";
    EXPECT_STREQ(L"", FontViewState.styleName) << "offset far past the end";
    EXPECT_STREQ(L"Full", FontViewState.fullName) << "a good name beside bad ones";
}

TEST_F(BadAnswerTest, NameNotTerminatedInsideTheAnswerReadsEmpty)
{
    FakeName names[4] = { { L"Family", true }, { L"Face", true }, { L"Style", true }, { L"Unterminated", false } };
    buildAnswer(names);
    applyFont();
    EXPECT_STREQ(L"Family", FontViewState.familyName);
    EXPECT_STREQ(L"Style", FontViewState.styleName);
    EXPECT_STREQ(L"", FontViewState.fullName);

    buildAnswer(names, 1);   /* one odd byte after it: still no whole NUL */
    applyFont();
    EXPECT_STREQ(L"", FontViewState.fullName);
    setOffset(&OUTLINETEXTMETRICW::otmpFullName, fakeAnswer.size() - 1);
    applyFont();
    EXPECT_STREQ(L"", FontViewState.fullName) << "an offset leaving half a character";
}

TEST_F(BadAnswerTest, OddOffsetIsReadBytewise)
{
    buildAnswer(plainNames);
    fakeAnswer.insert(fakeAnswer.end(), 1, 0);
    const WCHAR odd[] = L"Odd";
    ULONG_PTR at = fakeAnswer.size();
    fakeAnswer.insert(fakeAnswer.end(), (const BYTE *)odd, (const BYTE *)odd + sizeof odd);
    fakeFilled = (UINT)fakeAnswer.size();
    setOffset(&OUTLINETEXTMETRICW::otmpStyleName, at);
    applyFont();
    EXPECT_STREQ(L"Odd", FontViewState.styleName);
}

TEST_F(BadAnswerTest, FailedFillKeepsTheOutlineMetricsAndNamesReadError)
{
    OUTLINETEXTMETRICW previous = FontViewState.outlineMetrics;
    buildAnswer(plainNames);
    fakeFilled = 0;
    applyFont();
    expectNames(L"ERROR", "the answer not filled");
    EXPECT_EQ(0, memcmp(&previous, &FontViewState.outlineMetrics, sizeof previous));
}

TEST_F(BadAnswerTest, AnswerShorterThanTheHeadCountsAsNone)
{
    OUTLINETEXTMETRICW previous = FontViewState.outlineMetrics;
    fakeAnswer.assign(sizeof(OUTLINETEXTMETRICW) / 2, 0x41);
    fakeFilled = (UINT)fakeAnswer.size();
    applyFont();
    expectNames(L"ERROR", "an answer shorter than the head");
    EXPECT_EQ(0, memcmp(&previous, &FontViewState.outlineMetrics, sizeof previous));
}

static decltype(&malloc) realMalloc;
static size_t refusedSize;
static int refusals;

static void *__cdecl refusingMalloc(size_t size)
{
    if (size == refusedSize) {
        refusals++;
        return NULL;
    }
    return realMalloc(size);
}

TEST_F(FontTest, NoMemoryForTheAnswerReadsNoNames)
{
    applyLogFont(fontOf(outlineFace, -24));
    OUTLINETEXTMETRICW previous = FontViewState.outlineMetrics;
    LOGFONTW other = fontOf(L"Courier New", -20);
    refusedSize = reportedFor(other).outline.size();
    ASSERT_GT(refusedSize, 0u);
    refusals = 0;
    {
        ImportPatches patches;
        realMalloc = patches.add("msvcrt.dll", "malloc", refusingMalloc);
        ASSERT_TRUE(realMalloc != NULL) << "the program imports no malloc";
        applyLogFont(other);
    }
    EXPECT_EQ(1, refusals) << "the answer's allocation was not asked for";
    expectNames(L"ERROR", "no memory for the answer");
    EXPECT_EQ(0, memcmp(&previous, &FontViewState.outlineMetrics, sizeof previous));
    Reported reported = reportedFor(other);
    EXPECT_EQ(0, memcmp(&reported.metrics, &FontViewState.textMetrics, sizeof(TEXTMETRICW)))
        << "the text metrics are still the new font's";
}

/* ---- Objects and device contexts ---- */

struct CallLog {
    std::vector<std::string> calls;
    std::vector<HGDIOBJ> fonts;
    std::vector<HGDIOBJ> deleted;
};
static CallLog callLog;

static decltype(&CreateFontIndirectW) realCreateFont;
static decltype(&DeleteObject) realDelete;
static decltype(&GetDC) realGetDC;
static decltype(&ReleaseDC) realReleaseDC;
static decltype(&GetClientRect) realClient;

static HFONT WINAPI loggingCreateFont(const LOGFONTW *font)
{
    HFONT made = realCreateFont(font);
    callLog.calls.push_back("CreateFontIndirectW");
    callLog.fonts.push_back(made);
    return made;
}
static BOOL WINAPI loggingDelete(HGDIOBJ object)
{
    callLog.calls.push_back("DeleteObject");
    callLog.deleted.push_back(object);
    return realDelete(object);
}
static HDC WINAPI loggingGetDC(HWND hwnd)
{
    callLog.calls.push_back("GetDC");
    return realGetDC(hwnd);
}
static int WINAPI loggingReleaseDC(HWND hwnd, HDC dc)
{
    callLog.calls.push_back("ReleaseDC");
    return realReleaseDC(hwnd, dc);
}
static BOOL WINAPI loggingClient(HWND hwnd, LPRECT rect)
{
    callLog.calls.push_back("GetClientRect");
    return realClient(hwnd, rect);
}

TEST_F(FontTest, OneFontIsMadeAndDeletedAndTheContextReleasedBeforeTheLayout)
{
    callLog = CallLog();
    {
        ImportPatches patches;
        realCreateFont = patches.add("gdi32.dll", "CreateFontIndirectW", loggingCreateFont);
        realDelete = patches.add("gdi32.dll", "DeleteObject", loggingDelete);
        realGetDC = patches.add("user32.dll", "GetDC", loggingGetDC);
        realReleaseDC = patches.add("user32.dll", "ReleaseDC", loggingReleaseDC);
        realClient = patches.add("user32.dll", "GetClientRect", loggingClient);
        ASSERT_TRUE(realCreateFont && realDelete && realGetDC && realReleaseDC && realClient);
        applyLogFont(fontOf(outlineFace, -24));
    }

    ASSERT_EQ(1u, callLog.fonts.size()) << "one font per applyFont";
    ASSERT_EQ(1u, callLog.deleted.size());
    EXPECT_EQ(callLog.fonts[0], callLog.deleted[0]) << "the font made is the one deleted";
    EXPECT_EQ(0u, GetObjectType(callLog.fonts[0])) << "the font is gone";
    std::vector<std::string> expected = { "GetDC", "CreateFontIndirectW", "DeleteObject", "ReleaseDC",
                                          "GetClientRect", "GetDC", "ReleaseDC" };
    std::vector<std::string> seen(callLog.calls.begin(),
                                  callLog.calls.begin() + std::min(callLog.calls.size(), expected.size()));
    EXPECT_EQ(expected, seen) << "the context must be released before the layout starts";
}

TEST_F(FontTest, ApplyFontInvalidatesForTheNextPaint)
{
    HWND hwnd = FontViewState.mainWindow;
    ValidateRect(hwnd, NULL);
    applyLogFont(fontOf(outlineFace, -40));
    RECT update, client = clientRect(hwnd);
    ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &client));
    EXPECT_EQ(FontViewState.textMetrics.tmHeight + 3, FontViewState.rowHeight);
}

TEST_F(FontTest, FontChangesLeaveNoObjectBehind)
{
    const LOGFONTW fonts[] = { fontOf(outlineFace, -24), fontOf(wide(rasterFace), 16), fontOf(L"MS UI Gothic", -24),
                               fontOf(L"System", 0) };
    for (const LOGFONTW &font : fonts)
        applyLogFont(font);
    pumpMessages();
    int before = gdiObjectsCreatable();
    for (int i = 0; i < 8; i++)
        applyLogFont(fonts[i % 4]);
    pumpMessages();
    EXPECT_EQ(before, gdiObjectsCreatable()) << "objects left behind by 8 applyFont calls";
    EXPECT_GT(before, 60000) << "the count of creatable objects looks wrong";
}

static HDC WINAPI noDC(HWND)
{
    return NULL;
}

TEST_F(FontTest, NoDeviceContextLeavesNoFontBehind)
{
    applyLogFont(fontOf(outlineFace, -24));
    pumpMessages();
    int before = gdiObjectsCreatable();
    {
        ImportPatches patches;
        ASSERT_TRUE(patches.add("user32.dll", "GetDC", noDC) != NULL);
        for (int i = 0; i < 4; i++) {
            applyFont();
            paintGrid(FontViewState.mainWindow, NULL);
        }
    }
    pumpMessages();
    EXPECT_EQ(before, gdiObjectsCreatable()) << "fonts made for a context that was not there";
}

TEST_F(FontTest, AbsurdSizesAreRealisedAndLaidOutQuickly)
{
    const LOGFONTW fonts[] = { fontOf(outlineFace, -10000), fontOf(outlineFace, 100000),
                               fontOf(outlineFace, -100000), fontOf(outlineFace, -24, 100000),
                               fontOf(L"System", INT_MIN), fontOf(L"System", INT_MAX, INT_MAX) };
    for (const LOGFONTW &font : fonts) {
        DWORD start = GetTickCount();
        applyLogFont(font);
        DWORD took = GetTickCount() - start;
        EXPECT_LT(took, 2000u) << "height " << font.lfHeight << " width " << font.lfWidth;
        EXPECT_GE(FontViewState.rowHeight, 3);
        EXPECT_GE(FontViewState.columnWidth, 3);
        EXPECT_GE(FontViewState.charsPerRow, 16);
        printf("applyFont height %ld width %ld: %lu ms, tmHeight %ld, tmMaxCharWidth %ld\n", font.lfHeight,
               font.lfWidth, took, FontViewState.textMetrics.tmHeight, FontViewState.textMetrics.tmMaxCharWidth);
    }
}
