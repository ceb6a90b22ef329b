/* Grid layout: the arithmetic on plain numbers, and the real window's scroll bars after a resize. */
#include "apptest.h"
#include "../font/gridmath.h"

/* ---- The arithmetic ---- */

TEST(LayoutArithmetic, RowCountAndTheCodesOfTheLastRow)
{
    struct LastRow { int charsPerRow, rowCount, firstCode, cells; };
    const LastRow rows[] = { { 16, 4095, 0xFFF0, 16 }, { 17, 3855, 0xFFFF, 1 }, { 19, 3449, 0xFFFB, 5 },
                             { 20, 3276, 0xFFF0, 16 }, { 32, 2047, 0xFFE0, 32 } };
    for (const LastRow &row : rows) {
        int count = layoutRowCount(row.charsPerRow);
        EXPECT_EQ(row.rowCount, count) << row.charsPerRow << " columns";
        EXPECT_EQ(row.firstCode, cellCode(count, row.charsPerRow, 0)) << row.charsPerRow << " columns";
        int cells = 0;
        for (int j = 0; j < row.charsPerRow; j++)
            cells += cellCode(count, row.charsPerRow, j) <= 0xFFFF;
        EXPECT_EQ(row.cells, cells) << row.charsPerRow << " columns";
        EXPECT_GT(cellCode(count + 1, row.charsPerRow, 0), 0xFFFF) << "a row after the last one";
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
    /* 35 + 16 x 17 = 307 pixels of content. */
    const int widths[] = { 34, 20, 1, 0 }, maxima[] = { 273, 287, 306, 307 };
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(16, layoutCharsPerRow(0, widths[i], 35, 17)) << "client width " << widths[i];
        EXPECT_EQ(maxima[i], layoutHorizontalMaximum(16, 17, 35, widths[i])) << "client width " << widths[i];
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
    EXPECT_EQ(19, layoutColumnWidth(14, 2));
}

TEST(LayoutArithmetic, AbsurdMetricsSaturateInsteadOfWrapping)
{
    EXPECT_EQ(2147483645, layoutLabelWidth(429496729)) << "what fits is exact";
    EXPECT_EQ(INT_MAX, layoutLabelWidth(429496730));
    EXPECT_EQ(INT_MIN, layoutLabelWidth(INT_MIN));
    EXPECT_EQ(INT_MAX, layoutRowHeight(INT_MAX, 0)) << "100000-pixel fonts and beyond stop at the int range";
    EXPECT_EQ(INT_MAX - 1, layoutRowHeight(INT_MAX - 4, 0));
    EXPECT_EQ(INT_MAX, layoutRowHeight(INT_MAX, INT_MAX));
    EXPECT_EQ(INT_MIN + 3, layoutRowHeight(INT_MIN, INT_MIN)) << "a negative leading counts as three";
    EXPECT_EQ(13, layoutRowHeight(10, INT_MIN));
    EXPECT_EQ(INT_MAX - 1, layoutColumnWidth(INT_MAX - 4, 0)) << "what fits is exact";
    EXPECT_EQ(INT_MAX, layoutColumnWidth(INT_MAX, INT_MAX));
    EXPECT_EQ(INT_MIN, layoutColumnWidth(INT_MIN, INT_MIN));
    EXPECT_EQ(2, layoutColumnWidth(INT_MAX, INT_MIN));
    /* Sixteen columns on a client 480 wide. */
    EXPECT_EQ(INT_MAX, layoutHorizontalMaximum(16, INT_MAX, 0, 480));
    EXPECT_EQ(2147483152, layoutHorizontalMaximum(16, 134217727, 0, 480)) << "2147483632 - 480";
    EXPECT_EQ(INT_MAX, layoutHorizontalMaximum(16, 134217728, 497, 480)) << "2^31 + 17";
    EXPECT_EQ(2147483215, layoutHorizontalMaximum(16, 3, INT_MAX, 480)) << "48 + INT_MAX - 480";
    EXPECT_EQ(16, layoutHorizontalMaximum(16, 31, 0, 480));
    EXPECT_EQ(0, layoutHorizontalMaximum(16, INT_MIN, INT_MAX, 480));

    EXPECT_EQ(16, layoutCharsPerRow(0, 480, INT_MAX, INT_MAX));
    EXPECT_EQ(16, layoutCharsPerRow(INT_MAX, INT_MIN, INT_MAX, 3)) << "a width below INT_MIN";
    EXPECT_EQ(480 - 35, layoutCharsPerRow(0, 480, 35, 0)) << "a zero width, which no font gives, counts as one pixel";
}

/* ---- The real window ---- */

/* The stock system font's metrics, as the platform reports them. */
static TEXTMETRICW systemFontMetrics(void)
{
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(FontViewState.mainWindow, dc);
    return metrics;
}

/* The label margin: five characters of the system font. */
static int labelMargin(void)
{
    return 5 * systemFontMetrics().tmAveCharWidth;
}

/* Both bars' ranges start at 0; the vertical one ends at the row count. */
static void expectRanges(int horizontal, int vertical, const std::string &when)
{
    SCROLLINFO h = scrollBar(SB_HORZ), v = scrollBar(SB_VERT);
    EXPECT_EQ(0, h.nMin) << when;
    EXPECT_EQ(horizontal, h.nMax) << when << ": horizontal range";
    EXPECT_EQ(0, v.nMin) << when;
    EXPECT_EQ(vertical, v.nMax) << when << ": vertical range";
    EXPECT_EQ(vertical, FontViewState.rowCount) << when;
}

/* The system font is Tahoma at an em of 24 pixels, whose file (2048 units to the em) gives
   an average width of 1226 units, 14 pixels; a bounding box 2964 units wide, 35 pixels; an
   ascent of 2049 and a descent of 423, 24 + 5 pixels; no line gap. So the labels take 5 x 14 =
   70 pixels, a row 29 + 3 and a column 35 + 3. The portrait client, 446 pixels wide, fits
   (446 - 70) / 38 = 9 columns: the grid keeps 16 and scrolls 70 + 16 x 38 - 446 = 232 sideways. */
TEST_F(AppTest, StartUpLaysOutTheSystemFont)
{
    /* The first font under test is the system font itself. */
    TEXTMETRICW system = systemFontMetrics();
    EXPECT_EQ(system.tmHeight + std::max(system.tmExternalLeading, 3L), FontViewState.rowHeight);
    EXPECT_EQ(system.tmMaxCharWidth + system.tmOverhang + 3, FontViewState.columnWidth);
    EXPECT_EQ(5 * system.tmAveCharWidth, FontViewState.labelWidth);
    EXPECT_EQ(70, FontViewState.labelWidth);
    EXPECT_EQ(32, FontViewState.rowHeight);
    EXPECT_EQ(38, FontViewState.columnWidth);
    ASSERT_EQ(446, clientRect(FontViewState.mainWindow).right);
    EXPECT_EQ(16, FontViewState.charsPerRow);
    expectRanges(232, 4095, "at start-up");
}

/* The landscape client, 606 pixels wide, fits (606 - 70) / 38 = 14 columns of the system
   font: still 16, scrolled 70 + 16 x 38 - 606 = 72 sideways. */
TEST_F(AppTest, LandscapeLaysOutTheWiderScreen)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    ASSERT_EQ(606, clientRect(FontViewState.mainWindow).right);
    EXPECT_EQ(16, FontViewState.charsPerRow);
    expectRanges(72, 4095, "in landscape");
}

/* Rows of 20 pixels, columns of 14; by default the worked example's rows of 20 + 3 and columns
   of 14 + 0 + 3. The layout works only from the captured figures, whatever font gave them. */
static void useWorkedMetrics(LONG leading = 2, LONG overhang = 0)
{
    TEXTMETRICW &tm = FontViewState.textMetrics;
    tm.tmHeight = 20;
    tm.tmExternalLeading = leading;
    tm.tmMaxCharWidth = 14;
    tm.tmOverhang = overhang;
}

/* Landscape, where 32 columns of 17 pixels fit. */
TEST_F(AppTest, ResizingTheWindowLaysTheGridOutAgain)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    useWorkedMetrics();
    const int columns[] = { 16, 17, 19, 20, 32 }, lastRows[] = { 4095, 3855, 3449, 3276, 2047 };
    for (int i = 0; i < 5; i++) {
        setClientSize(labelMargin() + columns[i] * 17);
        EXPECT_EQ(columns[i], FontViewState.charsPerRow) << "exactly " << columns[i] << " columns";
        expectRanges(0, lastRows[i], "exactly " + std::to_string(columns[i]) + " columns");
        setClientSize(labelMargin() + columns[i] * 17 + 16);
        EXPECT_EQ(columns[i], FontViewState.charsPerRow) << "just short of " << columns[i] + 1 << " columns";
        expectRanges(0, lastRows[i], "just short of " + std::to_string(columns[i] + 1) + " columns");
    }
}

TEST_F(AppTest, ExactlySixteenColumnsLeaveTheHorizontalRangeEmpty)
{
    useWorkedMetrics();
    setClientSize(labelMargin() + 16 * 17);
    EXPECT_EQ(16, FontViewState.charsPerRow);
    expectRanges(0, 4095, "exactly 16 columns");
}

TEST_F(AppTest, WindowNarrowerThanTheLabelsScrollsOverAllSixteenColumns)
{
    useWorkedMetrics();
    /* The content is the label margin and 16 x 17 = 272 pixels. */
    const int widths[] = { 200, labelMargin() - 5, 1 };
    for (int width : widths) {
        setClientSize(width);
        EXPECT_EQ(16, FontViewState.charsPerRow) << "client width " << width;
        expectRanges(labelMargin() + 272 - width, 4095, "client width " + std::to_string(width));
    }
}

TEST_F(AppTest, GrowingTheWindowShrinksTheVerticalRange)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    useWorkedMetrics();
    setClientSize(labelMargin() + 16 * 17);
    EXPECT_EQ(4095, scrollMaximum(SB_VERT));
    setClientSize(labelMargin() + 19 * 17);
    EXPECT_EQ(3449, scrollMaximum(SB_VERT));
}

TEST_F(AppTest, OtherFontMetricsGiveOtherGeometry)
{
    /* Rows of 20 and the leading (at least 3); columns of 14 + 2 + 3 = 19, sixteen of them
       304 pixels beside the labels on a client of 300 and the leading. */
    const int leadings[] = { 0, 2, 3, 5 }, rowHeights[] = { 23, 23, 23, 25 };
    for (int i = 0; i < 4; i++) {
        useWorkedMetrics(leadings[i], 2);
        setClientSize(300 + leadings[i]);
        std::string when = "external leading " + std::to_string(leadings[i]);
        EXPECT_EQ(rowHeights[i], FontViewState.rowHeight) << when;
        EXPECT_EQ(19, FontViewState.columnWidth) << when;
        EXPECT_EQ(16, FontViewState.charsPerRow) << when;
        expectRanges(labelMargin() + 4 - leadings[i], 4095, when);
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
    tm.tmHeight = tm.tmExternalLeading = tm.tmMaxCharWidth = tm.tmOverhang = INT_MAX;
    computeLayout();
    EXPECT_EQ(INT_MAX, FontViewState.rowHeight);
    EXPECT_EQ(INT_MAX, FontViewState.columnWidth);
    EXPECT_EQ(16, FontViewState.charsPerRow);
    EXPECT_EQ(INT_MAX, scrollMaximum(SB_HORZ)) << "16 columns of INT_MAX pixels";
}
