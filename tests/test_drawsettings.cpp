/* Drawing settings: opened through its menu command and driven as a user drives it; what its
   OK shows on the screen at once, and what OK and Cancel leave alone. */
#include "apptest.h"

#include <set>

static const FONTVIEWSTATE &state = FontViewState;

static const std::vector<int> fieldIds = { IDC_TEXTALIGN, IDC_BKMODE, IDC_BKCOLOR, IDC_TEXTCOLOR, IDC_ERASECOLOR };

/* The baselines are drawn by inverting with a white pen: where one crosses the background,
   the erase colour shows inverted. Answers the rows where that colour shows. */
static std::set<int> baselineRows(const ClientPicture &picture)
{
    const COLORREF inverted = state.eraseColor ^ 0xFFFFFF;
    std::set<int> rows;
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++)
            if (picture.at(x, y) == inverted)
                rows.insert(y);
    return rows;
}

/* ---- Opening ---- */

TEST_F(AppTest, DrawSettingsOpenFullScreenFromTheirTemplate)
{
    expectOpensFullScreenFromTemplate(IDM_DRAWSETTINGS, IDD_DRAWSETTINGS, L"描画設定");
}

/* The dialog as its command opens it: the fields' texts, those with a list item selected,
   and the check boxes' states. */
struct Shown {
    FieldTexts fields;
    std::vector<int> selected;
    LRESULT baseline = -1, boxes = -1;
};

static Shown shownSettings(void)
{
    Shown shown;
    EXPECT_TRUE(lookAtDialog(IDM_DRAWSETTINGS, [&](HWND dialog) {
        shown.fields = fieldTexts(dialog, fieldIds);
        shown.selected = selectedListItems(dialog, fieldIds);
        shown.baseline = SendDlgItemMessageW(dialog, IDC_SHOWBASELINE, BM_GETCHECK, 0, 0);
        shown.boxes = SendDlgItemMessageW(dialog, IDC_SHOWBOXES, BM_GETCHECK, 0, 0);
    }));
    return shown;
}

TEST_F(AppTest, DrawSettingsShowTheStartUpDefaults)
{
    Shown shown = shownSettings();
    const FieldTexts expected = { { IDC_TEXTALIGN, L"24" }, { IDC_BKMODE, L"2" }, { IDC_BKCOLOR, L"ffffff" },
                                  { IDC_TEXTCOLOR, L"000000" }, { IDC_ERASECOLOR, L"000080" } };
    EXPECT_EQ(expected, shown.fields);
    EXPECT_EQ(BST_CHECKED, shown.baseline);
    EXPECT_EQ(BST_UNCHECKED, shown.boxes);
    EXPECT_EQ(std::vector<int>(), shown.selected) << "controls with a list item selected";
}

TEST_F(AppTest, DrawSettingsShowTheCurrentSettingsAsBareNumbers)
{
    FontViewState.textAlign = TA_BOTTOM | TA_RIGHT;
    FontViewState.bkMode = TRANSPARENT;
    FontViewState.bkColor = 0x123456;
    FontViewState.textColor = 0xABCDEF;
    FontViewState.eraseColor = 0xFF;
    FontViewState.showBaseline = FALSE;
    FontViewState.showBoundingBoxes = TRUE;
    Shown shown = shownSettings();
    const FieldTexts expected = { { IDC_TEXTALIGN, L"10" }, { IDC_BKMODE, L"1" }, { IDC_BKCOLOR, L"123456" },
                                  { IDC_TEXTCOLOR, L"abcdef" }, { IDC_ERASECOLOR, L"0000ff" } };
    EXPECT_EQ(expected, shown.fields) << "bare numbers: the mode not as the list item 1=TRANSPARENT";
    EXPECT_EQ(BST_UNCHECKED, shown.baseline);
    EXPECT_EQ(BST_CHECKED, shown.boxes);
}

TEST_F(AppTest, DrawSettingsListsShowTheirItemsSortedOnceAtEveryOpening)
{
    const std::vector<std::wstring> colours = { L"000000=Black", L"0000FF=Red", L"00FF00=Green",
                                                L"C0C0C0=Gray", L"FF0000=Blue", L"FFFFFF=White" };
    const ListTexts expected = {
        { IDC_TEXTALIGN, { L"0=TA_TOP", L"24=TA_BASELINE", L"8=TA_BOTTOM" } },
        { IDC_BKMODE, { L"1=TRANSPARENT", L"2=OPAQUE" } },
        { IDC_BKCOLOR, colours }, { IDC_TEXTCOLOR, colours }, { IDC_ERASECOLOR, colours } };
    for (int opening = 1; opening <= 2; opening++)
        EXPECT_EQ(expected, shownLists(IDM_DRAWSETTINGS, fieldIds)) << "opening " << opening;
}

/* ---- OK ---- */

TEST_F(AppTest, PickedBlueEraseColourTurnsTheBackgroundBlueAtOnce)
{
    const COLORREF blue = RGB(0, 0, 255), startColour = RGB(128, 0, 0);
    ClientPicture before = captureClient(state.mainWindow);
    ASSERT_GT(before.count(startColour), 0) << "the background does not show the start-up erase colour";
    ASSERT_EQ(0, before.count(blue));
    bool picked = false;
    std::wstring shown;
    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        waitUntilReady(dialog);
        picked = clickListItem(dialog, IDC_ERASECOLOR, L"FF0000=Blue");
        shown = controlText(dialog, IDC_ERASECOLOR);
        clickControl(dialog, IDOK);
    })) << "a click on OK must end the dialog";
    EXPECT_TRUE(picked) << "the drop-down did not open or lacks FF0000=Blue";
    EXPECT_EQ(L"FF0000=Blue", shown);
    EXPECT_EQ(0xFF0000u, state.eraseColor);
    pumpMessages();
    ClientPicture after = captureClient(state.mainWindow);
    EXPECT_EQ(before.count(startColour), after.count(blue)) << "every background pixel turns blue";
    EXPECT_EQ(0, after.count(startColour));
}

TEST_F(AppTest, TypedSettingsAreStoredAsReadWhateverTheLists)
{
    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        typeIntoField(dialog, IDC_TEXTALIGN, L"6");
        typeIntoField(dialog, IDC_BKMODE, L"7=none");
        typeIntoField(dialog, IDC_BKCOLOR, L"0x80");
        pickListItem(dialog, IDC_TEXTCOLOR, L"C0C0C0=Gray");
        typeIntoField(dialog, IDC_ERASECOLOR, L"ffffffff");
        clickCheckBox(dialog, IDC_SHOWBOXES);
        clickButton(dialog, IDOK);
    }));
    EXPECT_EQ(6u, state.textAlign) << "6 is no list item, and is stored";
    EXPECT_EQ(7, state.bkMode);
    EXPECT_EQ(0x80u, state.bkColor);
    EXPECT_EQ(0xC0C0C0u, state.textColor);
    EXPECT_EQ(0xFFFFFFFFu, state.eraseColor) << "any 32-bit colour number is stored";
    EXPECT_EQ(TRUE, state.showBaseline);
    EXPECT_EQ(TRUE, state.showBoundingBoxes) << "a click checks the box";
}

TEST_F(AppTest, ColourTextStartingWithANonHexCharacterStoresBlack)
{
    FontViewState.bkColor = FontViewState.textColor = FontViewState.eraseColor = 0x00FF00;
    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        typeIntoField(dialog, IDC_BKCOLOR, L"G0FF00");
        typeIntoField(dialog, IDC_TEXTCOLOR, L"=Blue");
        typeIntoField(dialog, IDC_ERASECOLOR, L"xFF");
        clickButton(dialog, IDOK);
    }));
    EXPECT_EQ(0u, state.bkColor);
    EXPECT_EQ(0u, state.textColor);
    EXPECT_EQ(0u, state.eraseColor);
}

TEST_F(AppTest, ClearedBaselineBoxRemovesTheBaselinesOnTheNextPaint)
{
    std::set<int> before = baselineRows(captureClient(state.mainWindow));
    ASSERT_GE(before.size(), 2u) << "no baselines to begin with";
    EXPECT_EQ(state.rowHeight, *std::next(before.begin()) - *before.begin()) << "one baseline per row";
    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        clickCheckBox(dialog, IDC_SHOWBASELINE);
        clickControl(dialog, IDOK);
    }));
    EXPECT_EQ(FALSE, state.showBaseline);
    pumpMessages();
    EXPECT_TRUE(baselineRows(captureClient(state.mainWindow)).empty()) << "the next paint shows no baseline";
}

TEST_F(AppTest, CancelAfterClearingTheBaselineBoxLeavesEverything)
{
    std::set<int> before = baselineRows(captureClient(state.mainWindow));
    ASSERT_FALSE(before.empty());
    const FONTVIEWSTATE kept = state;
    startCountingMainInvalidations();
    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        clickCheckBox(dialog, IDC_SHOWBASELINE);
        typeIntoField(dialog, IDC_ERASECOLOR, L"FF0000");
        typeIntoField(dialog, IDC_TEXTALIGN, L"0");
        clickControl(dialog, IDCANCEL);
    })) << "a click on Cancel must end the dialog";
    EXPECT_EQ(0, stopCountingMainInvalidations()) << "Cancel requests no repaint";
    EXPECT_TRUE(sameState(kept, state));
    EXPECT_EQ(before, baselineRows(repaintedMainWindow())) << "the baselines stay";
}

TEST_F(AppTest, OkLeavesTheFontTheLayoutAndTheScrollPositionsAlone)
{
    scrollTo(state.mainWindow, 20, state.rowCount / 3);
    pumpMessages();
    SCROLLINFO horizontal = scrollBar(SB_HORZ), vertical = scrollBar(SB_VERT);
    ASSERT_GT(vertical.nPos, 0);
    /* Marks that realising the font or laying out the grid again would overwrite. */
    wcscpy(FontViewState.textFace, L"marker");
    FontViewState.labelWidth += 7;
    FONTVIEWSTATE expected = state;
    expected.textAlign = 0;
    expected.bkColor = 0x00FF00;
    startCountingMainInvalidations();
    ASSERT_TRUE(runModal(IDM_DRAWSETTINGS, [&](HWND dialog) {
        typeIntoField(dialog, IDC_TEXTALIGN, L"0");
        typeIntoField(dialog, IDC_BKCOLOR, L"00FF00");
        clickButton(dialog, IDOK);
    }));
    EXPECT_GE(stopCountingMainInvalidations(), 1) << "OK has the window repainted";
    pumpMessages();
    EXPECT_STREQ(L"marker", state.textFace) << "the font was realised again";
    EXPECT_EQ(expected.labelWidth, state.labelWidth) << "the grid was laid out again";
    EXPECT_TRUE(sameState(expected, state)) << "OK changed more than the text alignment and the background colour";
    SCROLLINFO horizontalAfter = scrollBar(SB_HORZ), verticalAfter = scrollBar(SB_VERT);
    EXPECT_EQ(horizontal.nPos, horizontalAfter.nPos);
    EXPECT_EQ(horizontal.nMax, horizontalAfter.nMax);
    EXPECT_EQ(vertical.nPos, verticalAfter.nPos);
    EXPECT_EQ(vertical.nMax, verticalAfter.nMax);
}
