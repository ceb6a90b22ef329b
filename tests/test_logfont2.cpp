/* Logical font page 2: opened through its menu command, driven as a user drives it. */
#include "apptest.h"

#include <algorithm>
#include <cstddef>

static const std::vector<int> numberIds = { IDC_CHARSET, IDC_OUTPRECISION, IDC_CLIPPRECISION,
                                            IDC_QUALITY, IDC_PITCH, IDC_FAMILY };
/* Every field of the page: the numbers and the face name. */
static const std::vector<int> fieldIds = { IDC_CHARSET, IDC_OUTPRECISION, IDC_CLIPPRECISION, IDC_QUALITY,
                                           IDC_PITCH, IDC_FAMILY, IDC_FACENAME };
static const FONTVIEWSTATE &state = FontViewState;

/* ---- The installed faces, as this test enumerates them ---- */

struct Enumerated {
    int reports = 0;
    std::vector<std::wstring> names;   /* once each, case ignored */
};

static int CALLBACK noteFace(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM lParam)
{
    Enumerated *found = (Enumerated *)lParam;
    found->reports++;
    for (const std::wstring &name : found->names)
        if (lstrcmpiW(name.c_str(), font->lfFaceName) == 0)
            return 1;
    found->names.push_back(font->lfFaceName);
    return 1;
}

static Enumerated installedFaces(void)
{
    Enumerated found;
    LOGFONTW pattern = {};
    pattern.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(state.mainWindow);
    EnumFontFamiliesExW(dc, &pattern, noteFace, (LPARAM)&found, 0);
    ReleaseDC(state.mainWindow, dc);
    return found;
}

static bool lessIgnoringCase(const std::wstring &a, const std::wstring &b)
{
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
}

static ::testing::AssertionResult sortedOnceEach(const std::vector<std::wstring> &list)
{
    for (size_t i = 1; i < list.size(); i++)
        if (!lessIgnoringCase(list[i - 1], list[i]))
            return ::testing::AssertionFailure() << "\"" << ::testing::PrintToString(list[i - 1]) << "\" stands before \""
                                                 << ::testing::PrintToString(list[i]) << "\"";
    return ::testing::AssertionSuccess();
}

/* ---- Opening ---- */

TEST_F(AppTest, Page2OpensFullScreenFromItsTemplate)
{
    expectOpensFullScreenFromTemplate(IDM_LOGFONT2, IDD_LOGFONT2, L"LogFont-2");
}

TEST_F(AppTest, Page2ShowsEachFieldAsABareNumber)
{
    LOGFONTW &font = FontViewState.logFont;
    font.lfCharSet = 128;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 255;
    font.lfPitchAndFamily = 0x31;
    wcscpy(font.lfFaceName, L"No Such Face Installed");
    FieldTexts texts;
    std::vector<int> selected;
    ASSERT_TRUE(lookAtDialog(IDM_LOGFONT2, [&](HWND dialog) {
        texts = fieldTexts(dialog, fieldIds);
        selected = selectedListItems(dialog, numberIds);
    }));
    const FieldTexts expected = { { IDC_CHARSET, L"128" }, { IDC_OUTPRECISION, L"3" }, { IDC_CLIPPRECISION, L"2" },
                                  { IDC_QUALITY, L"255" }, { IDC_PITCH, L"1" }, { IDC_FAMILY, L"48" },
                                  { IDC_FACENAME, L"No Such Face Installed" } };
    EXPECT_EQ(expected, texts) << "bytes unsigned, 0x31 as its pitch and family parts, an unlisted face as it is";
    EXPECT_EQ(std::vector<int>(), selected) << "controls with a list item selected";
}

/* The pitch part carries MONO_FONT (8) beside the two standard pitch bits. */
TEST_F(AppTest, Page2ShowsAMonoFontPitch)
{
    FontViewState.logFont.lfPitchAndFamily = 0x5A;
    const FieldTexts expected = { { IDC_PITCH, L"10" }, { IDC_FAMILY, L"80" } };
    EXPECT_EQ(expected, shownFieldTexts(IDM_LOGFONT2, { IDC_PITCH, IDC_FAMILY }));
}

TEST_F(AppTest, Page2ListsHoldTheirItemsOnceInOrderAtEveryOpening)
{
    ListTexts expected = {
        { IDC_CHARSET, { L"0=ANSI_CHARSET", L"1=DEFAULT_CHARSET", L"2=SYMBOL_CHARSET", L"77=MAC_CHARSET",
                         L"128=SHIFTJIS_CHARSET", L"129=HANGEUL_CHARSET/HANGUL_CHARSET", L"130=JOHAB_CHARSET",
                         L"134=GB2312_CHARSET", L"136=CHINESEBIG5_CHARSET", L"161=GREEK_CHARSET",
                         L"162=TURKISH_CHARSET", L"163=VIETNAMESE_CHARSET", L"177=HEBREW_CHARSET",
                         L"178=ARABIC_CHARSET", L"186=BALTIC_CHARSET", L"204=RUSSIAN_CHARSET", L"222=THAI_CHARSET",
                         L"238=EASTEUROPE_CHARSET", L"255=OEM_CHARSET" } },
        { IDC_OUTPRECISION, { L"0=OUT_DEFAULT_PRECIS", L"1=OUT_STRING_PRECIS", L"2=OUT_CHARACTER_PRECIS",
                              L"3=OUT_STROKE_PRECIS", L"4=OUT_TT_PRECIS", L"5=OUT_RASTER_PRECIS",
                              L"6=OUT_TT_ONLY_PRECIS", L"7=OUT_OUTLINE_PRECIS", L"8=OUT_SCREEN_OUTLINE_PRECIS" } },
        { IDC_CLIPPRECISION, { L"0=CLIP_DEFAULT_PRECIS", L"1=CLIP_CHARACTER_PRECIS", L"2=CLIP_STROKE_PRECIS" } },
        { IDC_QUALITY, { L"0=DEFAULT_QUALITY", L"1=DRAFT_QUALITY", L"2=PROOF_QUALITY", L"3=NONANTIALIASED_QUALITY",
                         L"4=ANTIALIASED_QUALITY" } },
        { IDC_PITCH, { L"0=DEFAULT_PITCH", L"1=FIXED_PITCH", L"2=VARIABLE_PITCH", L"8=MONO_FONT" } },
        { IDC_FAMILY, { L"0=FF_DONTCARE", L"16=FF_ROMAN", L"32=FF_SWISS", L"48=FF_MODERN", L"64=FF_SCRIPT",
                        L"80=FF_DECORATIVE" } } };
    /* The face list holds each face the platform reports once, though it reports many of them
       once for each character set, and keeps them sorted. */
    Enumerated installed = installedFaces();
    ASSERT_GT(installed.names.size(), 1u) << "no fonts installed to list";
    ASSERT_GT(installed.reports, (int)installed.names.size()) << "no face is reported more than once";
    std::sort(installed.names.begin(), installed.names.end(), lessIgnoringCase);
    expected[IDC_FACENAME] = installed.names;
    ListTexts first = shownLists(IDM_LOGFONT2, fieldIds);
    EXPECT_TRUE(sortedOnceEach(first[IDC_FACENAME]));
    EXPECT_EQ(expected, first) << "opening 1";
    EXPECT_EQ(expected, shownLists(IDM_LOGFONT2, fieldIds)) << "opening 2: the face list built anew, not added to";
}

TEST_F(AppTest, Page2EnumerationProcedureKeepsOneEntryPerNameIgnoringCase)
{
    std::vector<std::wstring> before, after;
    int answers = 0;
    ASSERT_TRUE(lookAtDialog(IDM_LOGFONT2, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_FACENAME);
        before = listItems(dialog, IDC_FACENAME);
        if (before.empty())
            return;
        LOGFONTW font = {};
        std::wstring upper = before[0], lower = before[0];
        CharUpperW(&upper[0]);
        CharLowerW(&lower[0]);
        for (const std::wstring &name : { before[0], upper, lower, std::wstring(L"zz Added Face"), std::wstring(L"ZZ ADDED FACE") }) {
            wcscpy(font.lfFaceName, name.c_str());
            answers += addFaceNameProc(&font, NULL, TRUETYPE_FONTTYPE, (LPARAM)list);
        }
        after = listItems(dialog, IDC_FACENAME);
    }));
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(5, answers) << "the procedure must answer 1 to go on";
    EXPECT_EQ(before.size() + 1, after.size()) << "only the new name is added, once";
    EXPECT_TRUE(std::find(after.begin(), after.end(), L"zz Added Face") != after.end());
    EXPECT_TRUE(sortedOnceEach(after));
}

/* ---- OK ---- */

TEST_F(AppTest, Page2PitchAndFamilyCombine)
{
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_FAMILY, L"50" }, { IDC_PITCH, L"2" } }));
    EXPECT_EQ(0x32, state.logFont.lfPitchAndFamily);
    ASSERT_TRUE(runModal(IDM_LOGFONT2, [](HWND dialog) {
        pickListItem(dialog, IDC_PITCH, L"8=MONO_FONT");
        pickListItem(dialog, IDC_FAMILY, L"80=FF_DECORATIVE");
        clickButton(dialog, IDOK);
    }));
    EXPECT_EQ(0x58, state.logFont.lfPitchAndFamily) << "the offered MONO_FONT is kept";
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_FAMILY, L"15" }, { IDC_PITCH, L"-1" } }));
    EXPECT_EQ(0x0B, state.logFont.lfPitchAndFamily) << "each part keeps only its own bits";
}

TEST_F(AppTest, Page2ByteFieldsKeepTheLow8Bits)
{
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_CHARSET, L"300" }, { IDC_OUTPRECISION, L"-1=x" },
                                            { IDC_CLIPPRECISION, L"258" }, { IDC_QUALITY, L"4=ANTIALIASED_QUALITY" } }));
    EXPECT_EQ(44, state.logFont.lfCharSet);
    EXPECT_EQ(255, state.logFont.lfOutPrecision);
    EXPECT_EQ(2, state.logFont.lfClipPrecision);
    EXPECT_EQ(4, state.logFont.lfQuality);
    const FieldTexts expected = { { IDC_CHARSET, L"44" }, { IDC_OUTPRECISION, L"255" } };
    EXPECT_EQ(expected, shownFieldTexts(IDM_LOGFONT2, { IDC_CHARSET, IDC_OUTPRECISION }));
}

/* lfFaceName is the record's last member of the font: nothing after it may be touched. */
TEST_F(AppTest, Page2LongFaceNameIsCutTo31CharactersAndAnEmptyOneStored)
{
    const HINSTANCE instance = state.instance;
    const std::wstring title = state.windowTitle;
    const std::wstring forty = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    ASSERT_EQ(40u, forty.size());
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_FACENAME, forty } }));
    EXPECT_EQ(forty.substr(0, 31), std::wstring(state.logFont.lfFaceName));
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_FACENAME, std::wstring(5000, L'W') } }));
    EXPECT_EQ(std::wstring(31, L'W'), std::wstring(state.logFont.lfFaceName));
    EXPECT_EQ(instance, state.instance);
    EXPECT_EQ(title, std::wstring(state.windowTitle));
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_FACENAME, L"" } }));
    EXPECT_STREQ(L"", state.logFont.lfFaceName) << "an empty face name is stored empty";
}

/* A listed face, horizontal, that the platform realises as itself, and not the font that
   the grid shows now (not one that merely stands in for it under another name). */
static std::wstring otherRealFace(const std::vector<std::wstring> &faces)
{
    HDC dc = GetDC(state.mainWindow);
    std::wstring found;
    for (size_t i = 0; i < faces.size() && found.empty(); i++) {
        LOGFONTW font = state.logFont;
        wcscpy(font.lfFaceName, faces[i].c_str());
        HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&font));
        WCHAR realised[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, realised);
        DeleteObject(SelectObject(dc, old));
        if (faces[i][0] != L'@' && faces[i] == realised && lstrcmpiW(realised, state.textFace) != 0)
            found = faces[i];
    }
    ReleaseDC(state.mainWindow, dc);
    return found;
}

TEST_F(AppTest, Page2PickedFaceIsRealisedAndDrawn)
{
    std::wstring picked;
    pumpMessages();
    ClientPicture before = captureClient(state.mainWindow);
    startCountingMainInvalidations();
    ASSERT_TRUE(runModal(IDM_LOGFONT2, [&](HWND dialog) {
        picked = otherRealFace(listItems(dialog, IDC_FACENAME));
        pickListItem(dialog, IDC_FACENAME, picked);
        waitUntilReady(dialog);
        clickDoneButton();
    })) << "the navigation bar's ok must end the page";
    int invalidations = stopCountingMainInvalidations();
    ASSERT_FALSE(picked.empty()) << "no face listed that draws otherwise than the current one";
    EXPECT_EQ(picked, std::wstring(state.logFont.lfFaceName));
    EXPECT_EQ(picked, std::wstring(state.textFace)) << "the realised font must be the picked face";
    EXPECT_GE(invalidations, 1);
    pumpMessages();
    EXPECT_NE(before.pixels, captureClient(state.mainWindow).pixels) << "the grid must be drawn in the picked face";
}

/* ---- Cancel, and the other page's fields ---- */

TEST_F(AppTest, Page2CancelAfterEditsChangesNothingAndRepaintsNothing)
{
    pumpMessages();
    const FONTVIEWSTATE kept = FontViewState;
    startCountingMainInvalidations();
    ASSERT_TRUE(lookAtDialog(IDM_LOGFONT2, [](HWND dialog) {
        for (int id : numberIds)
            typeIntoField(dialog, id, L"9");
        setFieldText(dialog, IDC_FACENAME, L"Courier");
    }));
    EXPECT_EQ(0, stopCountingMainInvalidations()) << "Cancel must not invalidate the main window";
    EXPECT_TRUE(sameState(kept, FontViewState)) << "Cancel must leave the record as it was";
}

TEST_F(AppTest, Page1FieldsSurviveAnOkOnPage2)
{
    ASSERT_TRUE(enterFields(IDM_LOGFONT1, { { IDC_HEIGHT, L"-30" }, { IDC_WIDTH, L"11" }, { IDC_ESCAPEMENT, L"900" },
                                            { IDC_ORIENTATION, L"1800" }, { IDC_WEIGHT, L"700" }, { IDC_ITALIC, L"1" },
                                            { IDC_UNDERLINE, L"1" }, { IDC_STRIKEOUT, L"1" } }));
    const LOGFONTW page1 = state.logFont;
    ASSERT_EQ(-30, page1.lfHeight) << "page 1 did not store its fields";
    ASSERT_TRUE(enterFields(IDM_LOGFONT2, { { IDC_CHARSET, L"0" }, { IDC_QUALITY, L"3" },
                                            { IDC_FACENAME, L"Other Face" } }));
    EXPECT_EQ(0, memcmp(&page1, &state.logFont, offsetof(LOGFONTW, lfCharSet)))
        << "height, width, angles, weight and style flags must stay";
    EXPECT_STREQ(L"Other Face", state.logFont.lfFaceName) << "page 2 did not store its fields";
}

TEST_F(AppTest, Page2StoresWhatAnyTextReadsAs)
{
    std::mt19937 random(7122026);
    for (int round = 0; round < 20; round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        FieldTexts typed;
        for (int id : fieldIds)
            typed[id] = randomFieldText(random);
        const LOGFONTW before = state.logFont;
        ASSERT_TRUE(enterFields(IDM_LOGFONT2, typed));
        const LOGFONTW &font = state.logFont;
        EXPECT_EQ(libraryDecimalValue(typed[IDC_CHARSET]) & 0xFF, font.lfCharSet);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_OUTPRECISION]) & 0xFF, font.lfOutPrecision);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_CLIPPRECISION]) & 0xFF, font.lfClipPrecision);
        EXPECT_EQ(libraryDecimalValue(typed[IDC_QUALITY]) & 0xFF, font.lfQuality);
        EXPECT_EQ((libraryDecimalValue(typed[IDC_FAMILY]) & 0xF0) | (libraryDecimalValue(typed[IDC_PITCH]) & 0x0B),
                  font.lfPitchAndFamily);
        EXPECT_EQ(typed[IDC_FACENAME].substr(0, LF_FACESIZE - 1), std::wstring(font.lfFaceName));
        EXPECT_EQ(0, memcmp(&before, &font, offsetof(LOGFONTW, lfCharSet))) << "page 1's fields changed";
    }
}
