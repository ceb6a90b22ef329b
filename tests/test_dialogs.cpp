/* The dialog frame: the value fields on a real dialog, and the About box. */
#include "apptest.h"

#include <climits>

static INT_PTR CALLBACK plainDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

/* The drawing-settings template made into a dialog without its own procedure, so that the
   field operations alone work on its real combo boxes and check boxes. */
class FieldTest : public AppTest {
protected:
    HWND dialog = NULL;

    void SetUp() override
    {
        AppTest::SetUp();
        dialog = CreateDialogParamW(FontViewState.instance, MAKEINTRESOURCEW(IDD_DRAWSETTINGS), FontViewState.mainWindow,
                                    plainDialogProc, 0);
        ASSERT_TRUE(dialog != NULL);
    }
    void TearDown() override
    {
        DestroyWindow(dialog);
        AppTest::TearDown();
    }

    LONG decimalOf(const std::wstring &text)
    {
        setFieldText(dialog, IDC_TEXTALIGN, text);
        return readDecimalField(dialog, IDC_TEXTALIGN);
    }
    DWORD hexOf(const std::wstring &text)
    {
        setFieldText(dialog, IDC_BKCOLOR, text);
        return readHexField(dialog, IDC_BKCOLOR);
    }

    /* A text, the value its field reads, and why where that is not plain. */
    struct Reading {
        std::wstring text;
        long long value;
        const char *why = "";
    };
    void expectDecimals(const std::vector<Reading> &readings)
    {
        for (const Reading &r : readings)
            EXPECT_EQ(r.value, decimalOf(r.text)) << ::testing::PrintToString(r.text) << " " << r.why;
    }
    void expectHexes(const std::vector<Reading> &readings)
    {
        for (const Reading &r : readings)
            EXPECT_EQ(r.value, hexOf(r.text)) << ::testing::PrintToString(r.text) << " " << r.why;
    }
};

/* ---- Reading ---- */

TEST_F(FieldTest, DecimalReadsTheLeadingNumberOnly)
{
    expectDecimals({ { L"900=↑", 900 }, { L"-12abc", -12 }, { L"", 0 }, { L"=FW_BOLD", 0 }, { L"  +7=TA_X", 7 },
                     { L"\t42", 42 }, { L"1 2", 1 }, { L"\v\f\r\n 3", 3, "every ASCII blank is skipped" },
                     { L"--5", 0 }, { L"+-3", 0 }, { L"-0", 0 }, { L"1e3", 1 },
                     { L"0x80", 0, "a decimal field stops at the x" } });
}

TEST_F(FieldTest, DecimalStopsAtTheEndsOfThe32BitRange)
{
    expectDecimals({ { L"2147483647", INT_MAX }, { L"2147483648", INT_MAX }, { L"4294967296", INT_MAX },
                     { L"99999999999999999999999", INT_MAX }, { L"-2147483648", INT_MIN },
                     { L"-2147483649", INT_MIN }, { L"-99999999999999999999999", INT_MIN } });
}

TEST_F(FieldTest, OnlyAsciiBlanksAndDigitsCount)
{
    expectDecimals({ { L"\xff11\xff12", 0, "full-width digits" }, { L"\x0663", 0, "an Arabic-Indic digit" },
                     { L"12\xff11\xff12", 12 }, { L"\x3000" L"5", 0, "an ideographic space is no blank" } });
    expectHexes({ { L"\xff26\xff26", 0 }, { L"\x00a0" L"5", 0, "nor is a no-break space" } });
}

TEST_F(FieldTest, HexReadsTheLeadingNumberOnly)
{
    expectHexes({ { L"FF0000=Blue", 0xFF0000 }, { L"0x80", 0x80 }, { L"=Blue", 0 }, { L" 0X1f", 0x1F },
                  { L"c0c0c0=Gray", 0xC0C0C0 }, { L"0xg", 0, "a 0x without a digit after it is the number 0" },
                  { L"0x", 0 }, { L"x12", 0 }, { L"", 0 }, { L"+ff", 0xFF }, { L"aBcDeF", 0xABCDEF },
                  { L"1e3", 0x1E3 } });
}

/* Every text reads the unsigned value, whatever its sign or length. */
TEST_F(FieldTest, HexKeepsTheUnsignedValue)
{
    expectHexes({ { L"FFFFFFFF", 0xFFFFFFFF }, { L"80000000", 0x80000000 }, { L"7fffffff", 0x7FFFFFFF },
                  { L"100000000", 0xFFFFFFFF }, { L"FFFFFFFFFFFFFFFFFFFF", 0xFFFFFFFF },
                  { L"0x00000000000000FF", 0xFF, "leading zeros are no overflow" }, { L"-1", 0xFFFFFFFF },
                  { L"-0x10", 0xFFFFFFF0 }, { L"-80000000", 0x80000000 }, { L"-FFFFFFFF", 1 },
                  { L"-FFFFFFFFF", 0xFFFFFFFF }, { L"-0x100000000", 0xFFFFFFFF } });
}

TEST_F(FieldTest, PickedListItemIsReadAsItsNumber)
{
    SendDlgItemMessageW(dialog, IDC_ERASECOLOR, CB_ADDSTRING, 0, (LPARAM)L"FF0000=Blue");
    SendDlgItemMessageW(dialog, IDC_TEXTALIGN, CB_ADDSTRING, 0, (LPARAM)L"900=↑");
    ASSERT_TRUE(pickListItem(dialog, IDC_ERASECOLOR, L"FF0000=Blue"));
    ASSERT_TRUE(pickListItem(dialog, IDC_TEXTALIGN, L"900=↑"));
    EXPECT_EQ(L"FF0000=Blue", controlText(dialog, IDC_ERASECOLOR));
    EXPECT_EQ(0xFF0000u, readHexField(dialog, IDC_ERASECOLOR));
    EXPECT_EQ(900, readDecimalField(dialog, IDC_TEXTALIGN));
}

/* The field is read into 260 characters: the 260th and later never count. */
TEST_F(FieldTest, TextLongerThan259CharactersIsCut)
{
    expectDecimals({ { std::wstring(257, L' ') + L"12", 12 }, { std::wstring(258, L' ') + L"12", 1 },
                     { std::wstring(259, L' ') + L"12", 0 }, { std::wstring(5000, L'9'), INT_MAX } });
    expectHexes({ { std::wstring(257, L'0') + L"12", 0x12 }, { std::wstring(258, L'0') + L"12", 0x1 },
                  { std::wstring(5000, L'f'), 0xFFFFFFFF } });
}

/* Random texts read as the platform's C library reads their ASCII lead. */
TEST_F(FieldTest, AnyTextReadsAsItsLeadingNumber)
{
    std::mt19937 random(4011);
    for (int round = 0; round < 300; round++) {
        std::wstring text = randomFieldText(random);
        EXPECT_EQ(libraryDecimalValue(text), decimalOf(text)) << ::testing::PrintToString(text);
        EXPECT_EQ(libraryHexValue(text), hexOf(text)) << ::testing::PrintToString(text);
    }
}

/* ---- Writing ---- */

TEST_F(FieldTest, WritingShowsTheBareNumber)
{
    writeHexField(dialog, IDC_BKCOLOR, 128);
    EXPECT_EQ(L"000080", controlText(dialog, IDC_BKCOLOR));
    writeHexField(dialog, IDC_BKCOLOR, 0xFFFFFF);
    EXPECT_EQ(L"ffffff", controlText(dialog, IDC_BKCOLOR));
    writeHexField(dialog, IDC_BKCOLOR, 0x12345678);
    EXPECT_EQ(L"12345678", controlText(dialog, IDC_BKCOLOR));
    writeDecimalField(dialog, IDC_BKMODE, -1);
    EXPECT_EQ(L"-1", controlText(dialog, IDC_BKMODE));
    writeDecimalField(dialog, IDC_BKMODE, INT_MIN);
    EXPECT_EQ(L"-2147483648", controlText(dialog, IDC_BKMODE));
    EXPECT_EQ(CB_ERR, SendDlgItemMessageW(dialog, IDC_BKMODE, CB_GETCURSEL, 0, 0)) << "no list item is selected";
}

TEST_F(FieldTest, WrittenValuesReadBackUnchanged)
{
    const DWORD colours[] = { 0, 0x80, 0xFFFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF };
    for (DWORD colour : colours) {
        writeHexField(dialog, IDC_TEXTCOLOR, colour);
        EXPECT_EQ(colour, readHexField(dialog, IDC_TEXTCOLOR)) << std::hex << colour;
    }
    const LONG numbers[] = { 0, -1, 24, INT_MAX, INT_MIN };
    for (LONG number : numbers) {
        writeDecimalField(dialog, IDC_TEXTALIGN, number);
        EXPECT_EQ(number, readDecimalField(dialog, IDC_TEXTALIGN));
    }
}

TEST_F(FieldTest, CheckBoxesBothWays)
{
    writeCheckBox(dialog, IDC_SHOWBASELINE, TRUE);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageW(dialog, IDC_SHOWBASELINE, BM_GETCHECK, 0, 0));
    EXPECT_EQ(TRUE, readCheckBox(dialog, IDC_SHOWBASELINE));
    writeCheckBox(dialog, IDC_SHOWBASELINE, FALSE);
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageW(dialog, IDC_SHOWBASELINE, BM_GETCHECK, 0, 0));
    EXPECT_EQ(FALSE, readCheckBox(dialog, IDC_SHOWBASELINE));
    writeCheckBox(dialog, IDC_SHOWBOXES, 7);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageW(dialog, IDC_SHOWBOXES, BM_GETCHECK, 0, 0))
        << "any non-zero flag shows as checked";
    clickButton(dialog, IDC_SHOWBOXES);
    EXPECT_EQ(FALSE, readCheckBox(dialog, IDC_SHOWBOXES)) << "a click clears it";
    clickButton(dialog, IDC_SHOWBOXES);
    EXPECT_EQ(TRUE, readCheckBox(dialog, IDC_SHOWBOXES)) << "a second click sets it";
}

/* Only the checked state reads 1: a three-state box may hold the indeterminate one. */
TEST_F(FieldTest, IndeterminateCheckBoxReadsUnchecked)
{
    SendDlgItemMessageW(dialog, IDC_SHOWBOXES, BM_SETSTYLE, BS_AUTO3STATE, FALSE);
    SendDlgItemMessageW(dialog, IDC_SHOWBOXES, BM_SETCHECK, BST_INDETERMINATE, 0);
    ASSERT_EQ(BST_INDETERMINATE, SendDlgItemMessageW(dialog, IDC_SHOWBOXES, BM_GETCHECK, 0, 0));
    EXPECT_EQ(FALSE, readCheckBox(dialog, IDC_SHOWBOXES)) << "the indeterminate state is not the checked one";
}

/* ---- About box ---- */

TEST_F(AppTest, AboutShowsItsFourLinesFullScreenAndEndsOnTheDoneButton)
{
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    std::vector<std::wstring> texts;   /* template order */
    std::vector<LONG> tops;
    ASSERT_TRUE(runModal(IDM_ABOUT, [&](HWND about) {
        shown = fullScreenFromTemplate(about, IDD_ABOUT, L"About");
        for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(child, &r);
            texts.push_back(windowText(child));
            tops.push_back(r.top);
        }
        clickDoneButton();
    })) << "the navigation bar's ok must end the About box";
    EXPECT_TRUE(shown);
    ASSERT_EQ(4u, texts.size());
    EXPECT_EQ(L"quorvel: Velmora", texts[0]);
    EXPECT_FALSE(texts[1].empty()) << "the owner line";
    EXPECT_EQ(L"Version 1.0", texts[2]);
    EXPECT_EQ(L"for Windows Mobile 5.0 Pocket PC VGA", texts[3]);
    /* Top to bottom: title, platform, version, owner. */
    EXPECT_LT(tops[0], tops[3]);
    EXPECT_LT(tops[3], tops[2]);
    EXPECT_LT(tops[2], tops[1]);
}

TEST_F(AppTest, AboutStaysOpenOnCancelAndOtherCommands)
{
    bool openAfterCancel = false;
    ASSERT_TRUE(runModal(IDM_ABOUT, [&](HWND about) {
        SendMessageW(about, WM_COMMAND, IDCANCEL, 0);
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        SendMessageW(about, WM_COMMAND, 3, 0);
        /* Sent, so handled by now. */
        openAfterCancel = IsWindow(about) && IsWindowVisible(about);
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
    })) << "IDOK, whatever its notification code, must end it";
    EXPECT_TRUE(openAfterCancel) << "IDCANCEL must leave the About box open";
}

TEST_F(AppTest, AboutIsOwnedByTheMainWindowActiveAndEndsOnClose)
{
    HWND owner = NULL;
    bool ready = false;
    ASSERT_TRUE(runModal(IDM_ABOUT, [&](HWND about) {
        ready = waitUntilReady(about);
        owner = GetWindow(about, GW_OWNER);
        PostMessageW(about, WM_CLOSE, 0, 0);
    })) << "WM_CLOSE must end the About box";
    EXPECT_EQ(FontViewState.mainWindow, owner);
    EXPECT_TRUE(ready) << "the About box must be the active window, fitted between the bars";
}

/* The accelerator table only works in the real program's message loop. */
TEST(AboutAccelerator, CtrlAOpensTheAboutBox)
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(startProgram(&process));
    HWND main = waitForProgramWindow(process);
    ASSERT_TRUE(main != NULL) << "the program showed no window ready for input in front";
    pressKey('A', true);
    HWND about = waitForWindow(L"#32770", L"About", 5000);
    EXPECT_TRUE(about != NULL) << "Ctrl+A must open the About box";
    if (about) {
        EXPECT_EQ(main, GetWindow(about, GW_OWNER));
        PostMessageW(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitUntilGone(about));
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, waitForExit(process));
}
