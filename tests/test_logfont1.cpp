/* Logical font page 1: opened through its menu command, driven as a user drives it. */
#include "apptest.h"

#include <cstddef>

static const std::vector<int> fieldIds = { IDC_HEIGHT, IDC_WIDTH, IDC_ESCAPEMENT, IDC_ORIENTATION,
                                           IDC_WEIGHT, IDC_ITALIC, IDC_UNDERLINE, IDC_STRIKEOUT };
static const FONTVIEWSTATE &state = FontViewState;

/* Forgets the captured metrics, so that only a new realisation can bring them back. */
static void forgetCapturedFont(void)
{
    memset(&FontViewState.textMetrics, 0, sizeof FontViewState.textMetrics);
    FontViewState.textFace[0] = 0;
}

/* Whether the captured metrics are those of a font made here from logFont, as the main
   window's device context has them. */
static ::testing::AssertionResult fontWasRealisedFromLogFont(void)
{
    TEXTMETRICW expected = {};
    HDC dc = GetDC(state.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&state.logFont));
    GetTextMetricsW(dc, &expected);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(state.mainWindow, dc);
    if (memcmp(&expected, &state.textMetrics, sizeof expected) != 0)
        return ::testing::AssertionFailure() << "textMetrics are not those of the font made from logFont (tmHeight "
                                             << state.textMetrics.tmHeight << ", expected " << expected.tmHeight << ")";
    if (!state.textFace[0])
        return ::testing::AssertionFailure() << "textFace was not captured";
    return ::testing::AssertionSuccess();
}

/* ---- Opening ---- */

TEST_F(AppTest, Page1OpensFullScreenFromItsTemplate)
{
    expectOpensFullScreenFromTemplate(IDM_LOGFONT1, IDD_LOGFONT1, L"LogFont-1");
}

TEST_F(AppTest, Page1ShowsEachFieldAsABareNumber)
{
    LOGFONTW &font = FontViewState.logFont;
    font.lfHeight = -19;
    font.lfWidth = 7;
    font.lfEscapement = 900;
    font.lfOrientation = -1800;
    font.lfWeight = 400;
    font.lfItalic = 1;
    font.lfUnderline = 0;
    font.lfStrikeOut = 255;
    FieldTexts texts;
    std::vector<int> selected;
    ASSERT_TRUE(lookAtDialog(IDM_LOGFONT1, [&](HWND dialog) {
        texts = fieldTexts(dialog, fieldIds);
        selected = selectedListItems(dialog, fieldIds);
    }));
    const FieldTexts expected = { { IDC_HEIGHT, L"-19" }, { IDC_WIDTH, L"7" }, { IDC_ESCAPEMENT, L"900" },
                                  { IDC_ORIENTATION, L"-1800" }, { IDC_WEIGHT, L"400" }, { IDC_ITALIC, L"1" },
                                  { IDC_UNDERLINE, L"0" }, { IDC_STRIKEOUT, L"255" } };
    EXPECT_EQ(expected, texts) << "the weight not as the list item 400=FW_NORMAL/FW_REGULAR, bytes unsigned";
    EXPECT_EQ(std::vector<int>(), selected) << "controls with a list item selected";
}

TEST_F(AppTest, Page1ListsHoldTheirItemsOnceInOrderAtEveryOpening)
{
    const std::vector<std::wstring> sizes = { L"0=(default size)" };
    /* Each arrow points the way a baseline runs at its angle. */
    const std::vector<std::wstring> angles = { L"0=\u2192", L"900=\u2191", L"1800=\u2190", L"2700=\u2193" };
    const std::vector<std::wstring> weights = {
        L"0=FW_DONTCARE", L"100=FW_THIN", L"200=FW_EXTRALIGHT/FW_ULTRALIGHT", L"300=FW_LIGHT",
        L"400=FW_NORMAL/FW_REGULAR", L"500=FW_MEDIUM", L"600=FW_SEMIBOLD/FW_DEMIBOLD", L"700=FW_BOLD",
        L"800=FW_EXTRABOLD/FW_ULTRABOLD", L"900=FW_HEAVY/FW_BLACK" };
    const ListTexts expected = {
        { IDC_HEIGHT, sizes }, { IDC_WIDTH, sizes }, { IDC_ESCAPEMENT, angles }, { IDC_ORIENTATION, angles },
        { IDC_WEIGHT, weights }, { IDC_ITALIC, { L"0=None", L"1=Italic" } },
        { IDC_UNDERLINE, { L"0=None", L"1=Underline" } }, { IDC_STRIKEOUT, { L"0=None", L"1=StrikeOut" } } };
    for (int opening = 1; opening <= 2; opening++)
        EXPECT_EQ(expected, shownLists(IDM_LOGFONT1, fieldIds)) << "opening " << opening;
}

/* ---- OK ---- */

TEST_F(AppTest, Page1PickedEscapementIsStoredAndTheGridIsRedrawnInTheNewFont)
{
    pumpMessages();
    ClientPicture before = captureClient(state.mainWindow);
    forgetCapturedFont();
    startCountingMainInvalidations();
    bool picked = false;
    std::wstring shown;
    ASSERT_TRUE(runModal(IDM_LOGFONT1, [&](HWND dialog) {
        waitUntilReady(dialog);
        picked = clickListItem(dialog, IDC_ESCAPEMENT, L"2700=\u2193");
        shown = controlText(dialog, IDC_ESCAPEMENT);
        clickControl(dialog, IDOK);
    })) << "a click on OK must end the page";
    int invalidations = stopCountingMainInvalidations();
    EXPECT_TRUE(picked) << "the drop-down did not open or lacks 2700=\u2193";
    EXPECT_EQ(L"2700=\u2193", shown);
    EXPECT_EQ(2700, state.logFont.lfEscapement);
    EXPECT_TRUE(fontWasRealisedFromLogFont());
    EXPECT_GE(invalidations, 1) << "the main window must be invalidated";
    pumpMessages();
    ClientPicture after = captureClient(state.mainWindow);
    ASSERT_EQ(before.pixels.size(), after.pixels.size());
    EXPECT_NE(before.pixels, after.pixels) << "the grid must be drawn again, in the turned font";
}

TEST_F(AppTest, Page1TypedValuesAreStoredAsTheirLeadingNumbersAndByteFieldsKeepTheLow8Bits)
{
    ASSERT_TRUE(runModal(IDM_LOGFONT1, [&](HWND dialog) {
        typeIntoField(dialog, IDC_HEIGHT, L"-24");
        typeIntoField(dialog, IDC_WIDTH, L"-12abc");
        pickListItem(dialog, IDC_ORIENTATION, L"900=\u2191");
        typeIntoField(dialog, IDC_WEIGHT, L"1000");
        typeIntoField(dialog, IDC_ESCAPEMENT, L"");
        typeIntoField(dialog, IDC_ITALIC, L"256");
        typeIntoField(dialog, IDC_UNDERLINE, L"-1");
        typeIntoField(dialog, IDC_STRIKEOUT, L"513=x");
        clickButton(dialog, IDOK);
    }));
    EXPECT_EQ(-24, state.logFont.lfHeight);
    EXPECT_EQ(-12, state.logFont.lfWidth);
    EXPECT_EQ(900, state.logFont.lfOrientation);
    EXPECT_EQ(1000, state.logFont.lfWeight) << "no value is limited to the list's range";
    EXPECT_EQ(0, state.logFont.lfEscapement) << "an empty field stores 0";
    EXPECT_EQ(0, state.logFont.lfItalic);
    EXPECT_EQ(255, state.logFont.lfUnderline);
    EXPECT_EQ(1, state.logFont.lfStrikeOut);
    const FieldTexts bytes = { { IDC_ITALIC, L"0" }, { IDC_UNDERLINE, L"255" }, { IDC_STRIKEOUT, L"1" } };
    EXPECT_EQ(bytes, shownFieldTexts(IDM_LOGFONT1, { IDC_ITALIC, IDC_UNDERLINE, IDC_STRIKEOUT }))
        << "the next opening shows the stored bytes";
}

TEST_F(AppTest, Page1OkWithoutChangeRealisesTheFontAgain)
{
    LOGFONTW kept = state.logFont;
    forgetCapturedFont();
    startCountingMainInvalidations();
    ASSERT_TRUE(runModal(IDM_LOGFONT1, [](HWND dialog) { clickButton(dialog, IDOK); }));
    int invalidations = stopCountingMainInvalidations();
    EXPECT_EQ(0, memcmp(&kept, &state.logFont, sizeof kept)) << "an unchanged page stores the same font";
    EXPECT_TRUE(fontWasRealisedFromLogFont());
    EXPECT_GE(invalidations, 1) << "the grid must be laid out and invalidated";
}

TEST_F(AppTest, Page1DoneButtonIsOk)
{
    const bool bold = state.logFont.lfWeight == FW_BOLD;
    const std::wstring item = bold ? L"400=FW_NORMAL/FW_REGULAR" : L"700=FW_BOLD";
    const LONG weight = bold ? FW_NORMAL : FW_BOLD;
    forgetCapturedFont();
    ASSERT_TRUE(runModal(IDM_LOGFONT1, [&](HWND dialog) {
        pickListItem(dialog, IDC_WEIGHT, item);
        waitUntilReady(dialog);
        clickDoneButton();
    })) << "the navigation bar's ok must end the page";
    EXPECT_EQ(weight, state.logFont.lfWeight);
    EXPECT_TRUE(fontWasRealisedFromLogFont());
    EXPECT_EQ(weight, state.textMetrics.tmWeight) << "the realised font has the picked weight";
}

TEST_F(AppTest, Page1CancelAfterEditsChangesNothingAndRepaintsNothing)
{
    pumpMessages();
    const FONTVIEWSTATE kept = FontViewState;
    ClientPicture before = captureClient(state.mainWindow);
    startCountingMainInvalidations();
    ASSERT_TRUE(lookAtDialog(IDM_LOGFONT1, [](HWND dialog) {
        for (int id : fieldIds)
            typeIntoField(dialog, id, L"77");
    }));
    EXPECT_EQ(0, stopCountingMainInvalidations()) << "Cancel must not invalidate the main window";
    EXPECT_TRUE(sameState(kept, FontViewState)) << "Cancel must leave the record as it was";
    pumpMessages();
    EXPECT_TRUE(before.pixels == captureClient(state.mainWindow).pixels) << "the display must be as it was";
}

TEST_F(AppTest, Page2FieldsSurviveAnOkOnPage1)
{
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_CHARSET, L"128" }, { IDC_OUTPRECISION, L"3" },
                                            { IDC_CLIPPRECISION, L"2" }, { IDC_QUALITY, L"4" }, { IDC_PITCH, L"1" },
                                            { IDC_FAMILY, L"48" }, { IDC_FACENAME, L"Page Two Face" } }));
    const LOGFONTW page2 = state.logFont;
    ASSERT_EQ(128, page2.lfCharSet) << "page 2 did not store its fields";
    FieldTexts threes;
    for (int id : fieldIds)
        threes[id] = L"3";
    ASSERT_TRUE(enterFields(IDM_LOGFONT1, threes));
    EXPECT_EQ(3, state.logFont.lfHeight) << "page 1 did not store its fields";
    EXPECT_EQ(0, memcmp(&page2.lfCharSet, &state.logFont.lfCharSet, sizeof page2 - offsetof(LOGFONTW, lfCharSet)))
        << "character set, precisions, quality, pitch, family and face name must stay";
}

/* A text whose leading number is a modest size or angle. Wine takes seconds to realise and
   draw a font thousands of pixels high or wide, or turned by an angle near a 32-bit end;
   the page stores such values as any other, and the reader's own tests check both ends. */
static std::wstring randomModestText(std::mt19937 &random)
{
    for (;;) {
        std::wstring text = randomFieldText(random);
        LONG value = libraryDecimalValue(text);
        if (value >= -1000 && value <= 1000)
            return text;
    }
}

/* Random texts in every field, then OK: each field stores its text's leading number, the
   byte fields its low 8 bits, and nothing else of the font changes. */
TEST_F(AppTest, Page1StoresTheLeadingNumberOfAnyText)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 20; round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        FieldTexts typed;
        for (int id : fieldIds)
            typed[id] = id == IDC_HEIGHT || id == IDC_WIDTH || id == IDC_ESCAPEMENT ? randomModestText(random)
                                                                                    : randomFieldText(random);
        const LOGFONTW before = state.logFont;
        ASSERT_TRUE(enterFields(IDM_LOGFONT1, typed));
        const LOGFONTW &font = state.logFont;
        EXPECT_EQ(libraryDecimalValue(typed[IDC_HEIGHT]), font.lfHeight);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_WIDTH]), font.lfWidth);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_ESCAPEMENT]), font.lfEscapement);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_ORIENTATION]), font.lfOrientation);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_WEIGHT]), font.lfWeight);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_ITALIC]) & 0xFF, font.lfItalic);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_UNDERLINE]) & 0xFF, font.lfUnderline);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_STRIKEOUT]) & 0xFF, font.lfStrikeOut);
        EXPECT_EQ(0, memcmp(&before.lfCharSet, &font.lfCharSet, sizeof font - offsetof(LOGFONTW, lfCharSet)))
            << "page 2's fields changed";
    }
}
