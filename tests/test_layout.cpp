/* Grid layout: the arithmetic on plain numbers, and the real window's scroll bars after a resize. */
#include "harness.h"
#include "../font/gridmath.h"

#include <string.h>

/* ---- The arithmetic ---- */

struct LastRow {
    int charsPerRow;
    int firstCode;
    int cells;
};

TEST(LayoutArithmetic, RowCountAndTheCodesOfTheLastRow)
{
    const LastRow rows[] = { { 16, 0xFFF0, 16 }, { 17, 0xFFFF, 1 }, { 19, 0xFFFB, 5 }, { 20, 0xFFF0, 16 },
                             { 32, 0xFFE0, 32 } };
    const int expectedRowCount[] = { 4095, 3855, 3449, 3276, 2047 };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; i++) {
        int count = layoutRowCount(rows[i].charsPerRow);
        EXPECT_EQ(expectedRowCount[i], count) << rows[i].charsPerRow << " columns";
        EXPECT_EQ(rows[i].firstCode, cellCode(count, rows[i].charsPerRow, 0)) << rows[i].charsPerRow << " columns";
        int cells = 0;
        for (int j = 0; j < rows[i].charsPerRow; j++)
            cells += cellCode(count, rows[i].charsPerRow, j) <= 0xFFFF;
        EXPECT_EQ(rows[i].cells, cells) << rows[i].charsPerRow << " columns";
        EXPECT_GT(cellCode(count + 1, rows[i].charsPerRow, 0), 0xFFFF) << "a row after the last one";
    }
}

TEST(LayoutArithmetic, NarrowClientKeepsSixteenColumnsAndScrolls)
{
    int labelWidth = layoutLabelWidth(7);
    int columnWidth = layoutColumnWidth(14, 0);
    EXPECT_EQ(35, labelWidth);
    EXPECT_EQ(17, columnWidth);
    EXPECT_EQ(16, layoutCharsPerRow(0, 240, labelWidth, columnWidth)) << "q = 205 / 17 = 12";
    EXPECT_EQ(67, layoutHorizontalMaximum(16, columnWidth, labelWidth, 240));
}

TEST(LayoutArithmetic, WideClientFitsNineteenColumns)
{
    int labelWidth = layoutLabelWidth(8);
    EXPECT_EQ(40, labelWidth);
    int charsPerRow = layoutCharsPerRow(0, 480, labelWidth, 23);
    EXPECT_EQ(19, charsPerRow) << "q = 440 / 23";
    EXPECT_EQ(3449, layoutRowCount(charsPerRow));
    EXPECT_EQ(0, layoutHorizontalMaximum(charsPerRow, 23, labelWidth, 480)) << "40 + 437 - 480 = -3 is set as 0";
}

TEST(LayoutArithmetic, WindowNarrowerThanTheLabelMargin)
{
    const int widths[] = { 34, 20, 1, 0 };
    for (int width : widths) {
        EXPECT_EQ(16, layoutCharsPerRow(0, width, 35, 17)) << "client width " << width;
        EXPECT_EQ(35 + 16 * 17 - width, layoutHorizontalMaximum(16, 17, 35, width)) << "client width " << width;
    }
    EXPECT_EQ(16, layoutCharsPerRow(100, 90, 35, 17)) << "an inverted client rectangle";
    EXPECT_EQ(16, layoutCharsPerRow(50, 250, 35, 17)) << "the client's left edge counts: q = 165 / 17";
}

TEST(LayoutArithmetic, ExactlySixteenColumnsNeedNoHorizontalScrolling)
{
    const int columnWidths[] = { 3, 17, 24, 71 };
    for (int columnWidth : columnWidths) {
        int width = 35 + 16 * columnWidth;
        EXPECT_EQ(16, layoutCharsPerRow(0, width, 35, columnWidth));
        EXPECT_EQ(0, layoutHorizontalMaximum(16, columnWidth, 35, width)) << "column width " << columnWidth;
        EXPECT_EQ(1, layoutHorizontalMaximum(16, columnWidth, 35, width - 1)) << "one pixel short";
        EXPECT_EQ(17, layoutCharsPerRow(0, width + columnWidth, 35, columnWidth)) << "one column more";
    }
}

TEST(LayoutArithmetic, ExternalLeadingBelowThreeCountsAsThree)
{
    const int expected[] = { 3, 3, 3, 3, 4, 5 };
    for (int leading = 0; leading <= 5; leading++)
        EXPECT_EQ(20 + expected[leading], layoutRowHeight(20, leading)) << "external leading " << leading;
}

TEST(LayoutArithmetic, ColumnWidthPadsMaxWidthAndOverhang)
{
    EXPECT_EQ(3, layoutColumnWidth(0, 0));
    EXPECT_EQ(14 + 2 + 3, layoutColumnWidth(14, 2));
}

/* The sum of 64-bit exact values brought into the int range, as a reference. */
static int saturated(long long value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}

TEST(LayoutArithmetic, AbsurdMetricsSaturateInsteadOfWrapping)
{
    const int values[] = { INT_MIN, INT_MIN + 1, -100000, -3, -1, 0, 1, 2, 3, 100000, 28140, INT_MAX - 5,
                           INT_MAX - 3, INT_MAX - 2, INT_MAX };
    for (int a : values) {
        EXPECT_EQ(saturated((long long)a * 5), layoutLabelWidth(a)) << a;
        for (int b : values) {
            EXPECT_EQ(saturated((long long)a + (b >= 3 ? b : 3)), layoutRowHeight(a, b)) << a << ", " << b;
            EXPECT_EQ(saturated((long long)a + b + 3), layoutColumnWidth(a, b)) << a << ", " << b;
            long long excess = 16LL * a + b - 480;
            EXPECT_EQ(excess < 0 ? 0 : saturated(excess), layoutHorizontalMaximum(16, a, b, 480)) << a << ", " << b;
        }
    }
    EXPECT_EQ(INT_MAX, layoutRowHeight(INT_MAX, 0)) << "100000-pixel fonts and beyond stop at the int range";
    EXPECT_EQ(INT_MAX - 1, layoutColumnWidth(INT_MAX - 4, 0)) << "what fits is exact";
    EXPECT_EQ(16, layoutCharsPerRow(0, 480, INT_MAX, INT_MAX));
    EXPECT_EQ(16, layoutCharsPerRow(INT_MAX, INT_MIN, INT_MAX, 3)) << "a width below INT_MIN";
    EXPECT_EQ(480 - 35, layoutCharsPerRow(0, 480, 35, 0)) << "a zero width, which no font gives, counts as one pixel";
}

/* ---- The real window ---- */

static int systemAveCharWidth(void)
{
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(FontViewState.mainWindow, dc);
    return metrics.tmAveCharWidth;
}

static void readRange(int bar, int *minimum, int *maximum)
{
    SCROLLINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(FontViewState.mainWindow, bar, &info)) << "bar " << bar;
    *minimum = info.nMin;
    *maximum = info.nMax;
}

/* The state and both bars agree with the client's size and the font's metrics, worked out
   here from the figures the platform gives. */
static void expectLayoutOfClient(const char *when)
{
    const TEXTMETRICW &tm = FontViewState.textMetrics;
    RECT client = clientRect(FontViewState.mainWindow);
    int rowHeight = tm.tmHeight + (tm.tmExternalLeading >= 3 ? tm.tmExternalLeading : 3);
    int columnWidth = tm.tmMaxCharWidth + tm.tmOverhang + 3;
    int labelWidth = 5 * systemAveCharWidth();
    int q = (client.right - labelWidth) / columnWidth;
    int charsPerRow = q < 16 ? 16 : q;
    int horizontal = charsPerRow * columnWidth + labelWidth - client.right;

    EXPECT_EQ(rowHeight, FontViewState.rowHeight) << when;
    EXPECT_EQ(columnWidth, FontViewState.columnWidth) << when;
    EXPECT_EQ(labelWidth, FontViewState.labelWidth) << when;
    EXPECT_EQ(charsPerRow, FontViewState.charsPerRow) << when << ", client width " << client.right;
    EXPECT_EQ(65535 / charsPerRow, FontViewState.rowCount) << when;
    int minimum = -1, maximum = -1;
    readRange(SB_HORZ, &minimum, &maximum);
    EXPECT_EQ(0, minimum) << when;
    EXPECT_EQ(horizontal < 0 ? 0 : horizontal, maximum) << when << ": horizontal range";
    readRange(SB_VERT, &minimum, &maximum);
    EXPECT_EQ(0, minimum) << when;
    EXPECT_EQ(65535 / charsPerRow, maximum) << when << ": vertical range";
}

TEST_F(AppTest, StartUpLaysOutTheSystemFont)
{
    expectLayoutOfClient("at start-up");
    EXPECT_GE(FontViewState.charsPerRow, 16);
}

/* A narrow font on the landscape screen, so that the worked column counts fit. */
static void useNarrowColumnsInLandscape(void)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    LOGFONTW &font = FontViewState.logFont;
    font.lfHeight = -10;
    font.lfWidth = 0;
    wcscpy(font.lfFaceName, L"Courier New");
    applyFont();
    ASSERT_LE(FontViewState.labelWidth + 32 * FontViewState.columnWidth, clientRect(FontViewState.mainWindow).right)
        << "column width " << FontViewState.columnWidth;
}

/* Widths that give the worked column counts with the real font's column width. */
TEST_F(AppTest, ResizingTheWindowLaysTheGridOutAgain)
{
    useNarrowColumnsInLandscape();
    int labelWidth = FontViewState.labelWidth, columnWidth = FontViewState.columnWidth;
    const int columns[] = { 16, 17, 19, 20, 32 };
    for (int n : columns) {
        int fitting = labelWidth + n * columnWidth;
        setClientSize(fitting);
        expectLayoutOfClient(("exactly " + std::to_string(n) + " columns").c_str());
        EXPECT_EQ(n, FontViewState.charsPerRow);
        setClientSize(fitting + columnWidth - 1);
        expectLayoutOfClient(("just short of " + std::to_string(n + 1) + " columns").c_str());
        EXPECT_EQ(n, FontViewState.charsPerRow);
    }
}

TEST_F(AppTest, ExactlySixteenColumnsLeaveTheHorizontalRangeEmpty)
{
    setClientSize(FontViewState.labelWidth + 16 * FontViewState.columnWidth);
    expectLayoutOfClient("exactly 16 columns");
    EXPECT_EQ(4095, FontViewState.rowCount);
    int minimum, maximum;
    readRange(SB_HORZ, &minimum, &maximum);
    EXPECT_EQ(0, maximum);
    readRange(SB_VERT, &minimum, &maximum);
    EXPECT_EQ(4095, maximum);
}

TEST_F(AppTest, WindowNarrowerThanTheLabelsScrollsOverAllSixteenColumns)
{
    const int widths[] = { 200, FontViewState.labelWidth - 5, 1 };
    for (int width : widths) {
        setClientSize(width);
        expectLayoutOfClient(("client width " + std::to_string(width)).c_str());
        EXPECT_EQ(16, FontViewState.charsPerRow);
    }
}

TEST_F(AppTest, GrowingTheWindowShrinksTheVerticalRange)
{
    useNarrowColumnsInLandscape();
    setClientSize(FontViewState.labelWidth + 16 * FontViewState.columnWidth);
    int minimum, before, after;
    readRange(SB_VERT, &minimum, &before);
    setClientSize(FontViewState.labelWidth + 19 * FontViewState.columnWidth);
    readRange(SB_VERT, &minimum, &after);
    EXPECT_EQ(4095, before);
    EXPECT_EQ(3449, after);
}

TEST_F(AppTest, LandscapeLaysOutTheWiderScreen)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    expectLayoutOfClient("in landscape");
}

TEST_F(AppTest, OtherFontMetricsGiveOtherGeometry)
{
    /* The layout works only from the captured figures, whatever font gave them. */
    TEXTMETRICW &tm = FontViewState.textMetrics;
    const int leadings[] = { 0, 2, 3, 5 };
    for (int leading : leadings) {
        tm.tmHeight = 20;
        tm.tmExternalLeading = leading;
        tm.tmMaxCharWidth = 14;
        tm.tmOverhang = 2;
        setClientSize(300 + leading);
        expectLayoutOfClient(("external leading " + std::to_string(leading)).c_str());
    }
}

TEST_F(AppTest, ASizeChangeInvalidatesTheWholeClient)
{
    HWND hwnd = FontViewState.mainWindow;
    pumpMessages();
    ValidateRect(hwnd, NULL);
    computeLayout();
    RECT update, client = clientRect(hwnd);
    ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE)) << "nothing invalidated";
    EXPECT_TRUE(EqualRect(&update, &client)) << "only part of the client was invalidated";
}

TEST_F(AppTest, AbsurdMetricsLayOutWithinTheIntRange)
{
    TEXTMETRICW &tm = FontViewState.textMetrics;
    tm.tmHeight = INT_MAX;
    tm.tmExternalLeading = INT_MAX;
    tm.tmMaxCharWidth = INT_MAX;
    tm.tmOverhang = INT_MAX;
    computeLayout();
    EXPECT_EQ(INT_MAX, FontViewState.rowHeight);
    EXPECT_EQ(INT_MAX, FontViewState.columnWidth);
    EXPECT_EQ(16, FontViewState.charsPerRow);
    int minimum, maximum;
    readRange(SB_HORZ, &minimum, &maximum);
    EXPECT_EQ(INT_MAX, maximum) << "16 columns of INT_MAX pixels";
}
