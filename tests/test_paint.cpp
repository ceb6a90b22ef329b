/* Grid painting, checked on the pixels read back from the window and on the text calls the
   paint makes: labels, glyph rows and alignments, baselines, boxes, the end of the grid. */
#include "apptest.h"
#include "../font/gridmath.h"

#include <algorithm>

static const COLORREF eraseColour = RGB(128, 0, 0);

/* The grid's geometry, worked out here from the state's layout figures. */
static int rowTopOf(int screenRow)
{
    return screenRow * FontViewState.rowHeight + FontViewState.textMetrics.tmExternalLeading / 2;
}

static int cellXOf(int column, int offset)
{
    return column * FontViewState.columnWidth - offset + FontViewState.labelWidth + 1;
}

static void showAt(int x, int row)
{
    scrollTo(FontViewState.mainWindow, x, row);
    repaintMainWindow();
}

static std::wstring labelOf(int code)
{
    WCHAR text[8];
    wsprintfW(text, L"%04x:", code);
    return text;
}

/* The recorded calls that drew so many characters: one for a glyph, five for a label. */
static std::vector<TextCall> callsOf(const std::vector<TextCall> &calls, size_t characters)
{
    std::vector<TextCall> found;
    for (const TextCall &call : calls)
        if (call.text.size() == characters)
            found.push_back(call);
    return found;
}

static std::vector<TextCall> glyphCalls(const std::vector<TextCall> &calls) { return callsOf(calls, 1); }
static std::vector<TextCall> labelCalls(const std::vector<TextCall> &calls) { return callsOf(calls, 5); }

static std::vector<TextCall> recordedPaint(void)
{
    startRecordingText();
    repaintMainWindow();
    return stopRecordingText();
}

class PaintTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        FontViewState.eraseColor = eraseColour;
        FontViewState.bkColor = RGB(0, 255, 0);
        FontViewState.textColor = RGB(0, 0, 255);
        FontViewState.showBaseline = FALSE;
        repaintMainWindow();
    }
};

/* ---- The arithmetic ---- */

TEST(PaintArithmetic, GlyphOffsetByExactAlignment)
{
    EXPECT_EQ(26, glyphOffset(TA_BASELINE, 26, 32));
    EXPECT_EQ(32, glyphOffset(TA_BOTTOM, 26, 32));
    const UINT others[] = { TA_TOP, TA_CENTER, TA_RIGHT, TA_BASELINE | TA_CENTER, TA_BOTTOM | TA_RIGHT,
                            TA_UPDATECP, TA_BASELINE | TA_UPDATECP, 0xFFFFFFFF };
    for (UINT align : others)
        EXPECT_EQ(0, glyphOffset(align, 26, 32)) << "align " << align;
}

TEST(PaintArithmetic, RowsAndCells)
{
    EXPECT_EQ(16, visibleRows(0, 536, 35)) << "15 whole rows and the partial one";
    EXPECT_EQ(1, visibleRows(0, 20, 35)) << "lower than one row";
    EXPECT_EQ(1, visibleRows(0, 0, 35));
    EXPECT_EQ(2 * 35 + 2, rowTop(2, 35, 5)) << "half the external leading, truncated";
    EXPECT_EQ(0, rowTop(0, 35, 1));
    EXPECT_EQ(3 * 24 - 10 + 35 + 1, cellX(3, 24, 10, 35));
    EXPECT_EQ(-7, labelX(7));
    EXPECT_EQ(0xFFFF, cellCode(3855, 17, 0));
    EXPECT_EQ(0x10000, cellCode(3855, 17, 1));
    RECT box = glyphBox(50, 10, 12, 32);
    EXPECT_EQ(49, box.left);
    EXPECT_EQ(9, box.top);
    EXPECT_EQ(63, box.right);
    EXPECT_EQ(43, box.bottom);
}

TEST(PaintArithmetic, PositionsStopAtTheIntRange)
{
    EXPECT_EQ(INT_MAX, cellX(15, INT_MAX, 0, 35));
    EXPECT_EQ(INT_MAX, cellX(1, INT_MAX, 0, 35));
    EXPECT_EQ(INT_MAX - 1, cellX(1, INT_MAX - 37, 0, 35)) << "what fits is exact";
    EXPECT_EQ(INT_MIN, cellX(0, 0, INT_MAX, INT_MIN));
    EXPECT_EQ(INT_MAX, labelX(INT_MIN));
    EXPECT_EQ(INT_MAX, rowTop(640, INT_MAX, INT_MAX));
    EXPECT_EQ(INT_MAX, offsetBy(INT_MAX - 2, 5));
    EXPECT_EQ(INT_MIN, offsetBy(INT_MIN, -1));
    EXPECT_EQ(INT_MAX, visibleRows(INT_MIN, INT_MAX, 1));
    EXPECT_EQ(641, visibleRows(0, 640, 0)) << "a zero row height, which no font gives, counts as one pixel";
    EXPECT_EQ((long long)INT_MAX * INT_MAX + 15, cellCode(INT_MAX, INT_MAX, 15));
    EXPECT_GT(cellCode(gridRow(INT_MAX, 640), 16, 0), 0xFFFF) << "rows past the grid stay past it";
    RECT box = glyphBox(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(INT_MAX - 1, box.left);
    EXPECT_EQ(INT_MIN, box.top);
    EXPECT_EQ(INT_MAX, box.right);
    EXPECT_EQ(0, box.bottom);
}

/* ---- Labels ---- */

static void expectLabelsAsDrawnAlone(int offset, const char *when)
{
    ClientPicture shown = captureClient(FontViewState.mainWindow);
    int first = scrollPosition(SB_VERT);
    int rows = shown.height / FontViewState.rowHeight + 1;
    /* The labels as the system font draws them, transparent, in the background colour. */
    ClientPicture expected = drawnPicture(eraseColour, [&](HDC dc) {
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, FontViewState.bkColor);
        for (int i = 0; i < rows && (first + i) * FontViewState.charsPerRow <= 0xFFFF; i++) {
            std::wstring label = labelOf((first + i) * FontViewState.charsPerRow);
            ExtTextOutW(dc, -offset, rowTopOf(i), 0, NULL, label.c_str(), (UINT)label.size(), NULL);
        }
    });
    /* Left of the first cell, where the glyphs' opaque backgrounds do not reach. */
    RECT margin = { 0, 0, cellXOf(0, offset) - 2, shown.height };
    ASSERT_GT(margin.right, 4) << when;
    EXPECT_EQ(0, differingPixels(shown, expected, margin)) << when;
    EXPECT_GT(pixelsOfColour(shown, margin, FontViewState.bkColor), 20) << when << ": no label ink";
    EXPECT_GT(pixelsOfColour(shown, margin, eraseColour), margin.right * shown.height / 3)
        << when << ": the labels' background must stay transparent";
}

TEST_F(PaintTest, LabelsAreTransparentInTheBackgroundColourWhateverTheMode)
{
    ASSERT_EQ(OPAQUE, FontViewState.bkMode);
    expectLabelsAsDrawnAlone(0, "opaque mode");
    showAt(0, 100);
    expectLabelsAsDrawnAlone(0, "at row 100");
    FontViewState.bkMode = TRANSPARENT;
    repaintMainWindow();
    expectLabelsAsDrawnAlone(0, "transparent mode");
}

TEST_F(PaintTest, LabelsMoveWithTheHorizontalOffset)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    const int offsets[] = { 0, 1, 7, FontViewState.labelWidth / 2 };
    for (int offset : offsets) {
        showAt(offset, 3);
        ASSERT_EQ(offset, scrollPosition(SB_HORZ));
        std::vector<TextCall> labels = labelCalls(recordedPaint());
        ASSERT_FALSE(labels.empty());
        for (const TextCall &label : labels)
            EXPECT_EQ(-offset, label.x) << "label " << std::string(label.text.begin(), label.text.end());
        expectLabelsAsDrawnAlone(offset, ("offset " + std::to_string(offset)).c_str());
    }
}

/* ---- Glyph rows and alignment ---- */

/* The first and last pixel of the run of one colour through a point, along x (dx 1) or y (dy 1). */
static std::pair<int, int> runThrough(const ClientPicture &picture, int x, int y, int dx, int dy)
{
    auto same = [&](int k) {
        int px = x + k * dx, py = y + k * dy;
        return px >= 0 && py >= 0 && px < picture.width && py < picture.height &&
               picture.at(px, py) == picture.at(x, y);
    };
    int back = 0, ahead = 0;
    while (same(-back - 1))
        back++;
    while (same(ahead + 1))
        ahead++;
    return std::make_pair(x * dx + y * dy - back, x * dx + y * dy + ahead);
}

/* The client painted without an overlay (showBaseline or showBoundingBoxes), then with it. */
struct Overlaid {
    ClientPicture without, with;
};

static Overlaid paintedWithoutAndWith(BOOL &overlay)
{
    overlay = FALSE;
    ClientPicture without = repaintedMainWindow();
    overlay = TRUE;
    return Overlaid{ without, repaintedMainWindow() };
}

/* Rows of the client that the overlay changes. */
static std::vector<int> changedRows(const Overlaid &pictures)
{
    std::vector<int> rows;
    for (int y = 0; y < pictures.with.height; y++) {
        RECT line = { 0, y, pictures.with.width, y + 1 };
        if (differingPixels(pictures.with, pictures.without, line) > 0)
            rows.push_back(y);
    }
    return rows;
}

/* A glyph's extent in the font under test, as the platform measures it. */
static SIZE extentOf(WCHAR code)
{
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
    SIZE size = { 0, 0 };
    GetTextExtentExPointW(dc, &code, 1, 0, NULL, NULL, &size);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return size;
}

TEST_F(PaintTest, GlyphYFollowsTheAlignment)
{
    /* A space has no ink: its opaque background shows where the glyph was put. */
    const TEXTMETRICW &tm = FontViewState.textMetrics;
    int column = 0x20 % FontViewState.charsPerRow, row = 0x20 / FontViewState.charsPerRow;
    ASSERT_GE(row, 1);
    showAt(0, row - 1);
    int x = cellXOf(column, 0), top = rowTopOf(1);
    SIZE space = extentOf(L' ');

    struct Case { UINT align; int glyphY; int boxTop; int boxLeft; };
    const Case cases[] = {
        { TA_BASELINE, top + tm.tmAscent, top, x },
        { TA_BOTTOM, top + tm.tmHeight, top, x },
        { TA_TOP, top, top, x },
        { TA_BASELINE | TA_CENTER, top, top - tm.tmAscent, x - space.cx / 2 } };
    for (const Case &c : cases) {
        FontViewState.textAlign = c.align;
        Overlaid pictures = paintedWithoutAndWith(FontViewState.showBaseline);
        std::vector<int> lines = changedRows(pictures);
        auto changed = [&](int y) { return std::find(lines.begin(), lines.end(), y) != lines.end(); };
        EXPECT_TRUE(changed(c.glyphY)) << "align " << c.align << ": no baseline at glyph y " << c.glyphY;
        EXPECT_TRUE(!changed(c.glyphY - 1) && !changed(c.glyphY + 1))
            << "align " << c.align << ": the baseline is wider than one row";
        const ClientPicture &shown = pictures.without;
        int middleX = c.boxLeft + space.cx / 2, middleY = c.boxTop + tm.tmHeight / 2;
        ASSERT_EQ(FontViewState.bkColor, shown.at(middleX, middleY)) << "align " << c.align;
        EXPECT_EQ(std::make_pair(c.boxTop, c.boxTop + (int)tm.tmHeight - 1), runThrough(shown, middleX, middleY, 0, 1))
            << "align " << c.align << ": the space's background from top to bottom";
        EXPECT_EQ(std::make_pair(c.boxLeft, c.boxLeft + (int)space.cx - 1), runThrough(shown, middleX, middleY, 1, 0))
            << "align " << c.align << ": the space's background from left to right";
    }
}

TEST_F(PaintTest, GlyphsAndLabelsSitInTheirCells)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    struct Case { int offset, leading; };
    const Case cases[] = { { 0, 0 }, { 9, 0 }, { 0, 7 }, { FontViewState.columnWidth + 3, 4 } };
    for (const Case &c : cases) {
        /* The layout and the paint take the external leading as the font reported it. */
        FontViewState.textMetrics.tmExternalLeading = c.leading;
        computeLayout();
        showAt(c.offset, 1);
        std::vector<TextCall> calls = recordedPaint();
        std::vector<TextCall> glyphs = glyphCalls(calls), labels = labelCalls(calls);
        int rows = clientRect(FontViewState.mainWindow).bottom / FontViewState.rowHeight + 1;
        std::string what = "offset " + std::to_string(c.offset) + ", leading " + std::to_string(c.leading);
        ASSERT_EQ((size_t)(rows * FontViewState.charsPerRow), glyphs.size()) << what << ": every cell, partial row too";
        ASSERT_EQ((size_t)rows, labels.size()) << what;
        for (size_t k = 0; k < glyphs.size(); k++) {
            int i = (int)k / FontViewState.charsPerRow, j = (int)k % FontViewState.charsPerRow;
            EXPECT_EQ((WCHAR)((1 + i) * FontViewState.charsPerRow + j), glyphs[k].text[0]) << what << ", cell " << k;
            EXPECT_EQ(cellXOf(j, c.offset), glyphs[k].x) << what << ", cell " << k;
            EXPECT_EQ(rowTopOf(i) + FontViewState.textMetrics.tmAscent, glyphs[k].y) << what << ", cell " << k;
            EXPECT_EQ(0u, glyphs[k].options);
        }
        for (int i = 0; i < rows; i++) {
            EXPECT_EQ(labelOf((1 + i) * FontViewState.charsPerRow), labels[i].text) << what;
            EXPECT_EQ(-c.offset, labels[i].x) << what;
            EXPECT_EQ(rowTopOf(i), labels[i].y) << what;
        }
    }
}

/* ---- Baselines ---- */

/* The glyph y of every row that a paint draws, baseline-aligned, inside the client. */
static std::vector<int> baselinesInClient(void)
{
    RECT client = clientRect(FontViewState.mainWindow);
    std::vector<int> lines;
    for (int i = 0; i < client.bottom / FontViewState.rowHeight + 1; i++)
        if (rowTopOf(i) + FontViewState.textMetrics.tmAscent < client.bottom)
            lines.push_back(rowTopOf(i) + FontViewState.textMetrics.tmAscent);
    return lines;
}

TEST_F(PaintTest, BaselineSpansTheWholeClientWidth)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    showAt(FontViewState.columnWidth, 0);
    Overlaid pictures = paintedWithoutAndWith(FontViewState.showBaseline);
    const ClientPicture &without = pictures.without, &with = pictures.with;
    std::vector<int> expected = baselinesInClient();
    EXPECT_EQ(expected, changedRows(pictures));
    RECT client = clientRect(FontViewState.mainWindow);
    /* The same dashed line drawn alone from the client's left edge to its right edge. */
    ClientPicture expectedLines = drawnPicture(eraseColour, [&](HDC dc) {
        SetBkMode(dc, FontViewState.bkMode);
        SetBkColor(dc, FontViewState.bkColor);
        HGDIOBJ old = SelectObject(dc, CreatePen(PS_DASH, 1, RGB(255, 255, 255)));
        SetROP2(dc, R2_XORPEN);
        for (int y : expected) {
            MoveToEx(dc, client.left, y, NULL);
            LineTo(dc, client.right, y);
        }
        DeleteObject(SelectObject(dc, old));
    }, &without);
    for (int y : expected) {
        RECT line = { 0, y, client.right, y + 1 };
        EXPECT_EQ(0, differingPixels(with, expectedLines, line)) << "the baseline at y " << y;
        EXPECT_GT(differingPixels(with, without, line), client.right / 2) << "y " << y;
    }
    RECT all = { 0, 0, client.right, client.bottom };
    EXPECT_EQ(0, differingPixels(with, expectedLines, all));
}

/* A client exactly as wide as the labels and that many columns, on the landscape screen,
   scrolled to the last row. Tahoma at -20 (2048 units to the em) has columns of 29 + 3 pixels
   (a bounding box 2964 units wide), so that 17 fit beside the labels there, which the system
   font's columns of 38 do not; and rows of 20 + 4 + 3 (ascent 2049, descent 423), so that the
   labels, whose baseline is 24 pixels below the row top, stay within their rows. */
static void showLastRowOfColumns(int columns, int lastRow)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    setFontUnderTest(L"Tahoma", -20);
    ASSERT_EQ(32, FontViewState.columnWidth);
    ASSERT_EQ(27, FontViewState.rowHeight);
    setClientSize(FontViewState.labelWidth + columns * FontViewState.columnWidth);
    ASSERT_EQ(columns, FontViewState.charsPerRow);
    scrollVertically(FontViewState.mainWindow, SB_BOTTOM, 0);
    ASSERT_EQ(lastRow, scrollPosition(SB_VERT));
}

TEST_F(PaintTest, AtTheLastRowOfSixteenOnlyItIsLabelledAndBaselinesGoOn)
{
    ASSERT_NO_FATAL_FAILURE(showLastRowOfColumns(16, 4095));
    FontViewState.showBaseline = TRUE;
    std::vector<TextCall> calls = recordedPaint();

    std::vector<TextCall> labels = labelCalls(calls);
    ASSERT_EQ(1u, labels.size()) << "only the top row holds codes";
    EXPECT_EQ(L"fff0:", labels[0].text);
    std::vector<TextCall> glyphs = glyphCalls(calls);
    ASSERT_EQ(16u, glyphs.size());
    for (int j = 0; j < 16; j++)
        EXPECT_EQ((WCHAR)(0xFFF0 + j), glyphs[j].text[0]);

    Overlaid pictures = paintedWithoutAndWith(FontViewState.showBaseline);
    EXPECT_EQ(baselinesInClient(), changedRows(pictures)) << "a baseline under every row, past the grid too";

    /* Below the top row only the baselines show on the erased background. */
    const ClientPicture &shown = pictures.with;
    RECT client = clientRect(FontViewState.mainWindow);
    for (int i = 1; rowTopOf(i) < client.bottom; i++) {
        RECT band = { 0, rowTopOf(i), client.right, std::min((LONG)rowTopOf(i + 1), client.bottom) };
        int y = rowTopOf(i) + FontViewState.textMetrics.tmAscent;
        RECT line = { 0, y, client.right, y + 1 };
        int onLine = y < client.bottom ? client.right - pixelsOfColour(shown, line, eraseColour) : 0;
        EXPECT_EQ(onLine, client.right * (band.bottom - band.top) - pixelsOfColour(shown, band, eraseColour))
            << "screen row " << i << " shows more than its baseline";
    }
}

TEST_F(PaintTest, WithSeventeenColumnsTheLastRowHoldsOnlyFFFF)
{
    ASSERT_NO_FATAL_FAILURE(showLastRowOfColumns(17, 3855));
    std::vector<TextCall> calls = recordedPaint();
    std::vector<TextCall> labels = labelCalls(calls), glyphs = glyphCalls(calls);
    ASSERT_EQ(1u, labels.size());
    EXPECT_EQ(L"ffff:", labels[0].text);
    ASSERT_EQ(1u, glyphs.size());
    EXPECT_EQ(L'\xFFFF', glyphs[0].text[0]);
    EXPECT_EQ(cellXOf(0, 0), glyphs[0].x);

    ClientPicture shown = captureClient(FontViewState.mainWindow);
    RECT rest = { cellXOf(1, 0) - 1, 0, shown.width, shown.height };
    EXPECT_EQ((rest.right - rest.left) * rest.bottom, pixelsOfColour(shown, rest, eraseColour))
        << "nothing after code 0xFFFF";
    RECT first = { cellXOf(0, 0), rowTopOf(0), cellXOf(1, 0) - 1, rowTopOf(1) };
    EXPECT_GT(pixelsOfColour(shown, first, FontViewState.bkColor), 0) << "code 0xFFFF was not drawn";
}

TEST_F(PaintTest, ClientLowerThanOneRowStillPaintsARow)
{
    setClientSize(clientRect(FontViewState.mainWindow).right, FontViewState.rowHeight / 2);
    ASSERT_LT(clientRect(FontViewState.mainWindow).bottom, FontViewState.rowHeight);
    std::vector<TextCall> calls = recordedPaint();
    EXPECT_EQ(1u, labelCalls(calls).size());
    EXPECT_EQ((size_t)FontViewState.charsPerRow, glyphCalls(calls).size());
    ClientPicture shown = captureClient(FontViewState.mainWindow);
    EXPECT_GT(shown.count(FontViewState.bkColor), shown.width) << "the row is not on screen";
}

/* Every pixel the boxes change lies on the outline of a cell's box, and every box shows. */
static void expectBoxes(const char *when, bool dashed)
{
    Overlaid pictures = paintedWithoutAndWith(FontViewState.showBoundingBoxes);
    const ClientPicture &without = pictures.without, &with = pictures.with;
    int first = scrollPosition(SB_VERT), offset = scrollPosition(SB_HORZ);
    std::vector<RECT> boxes;
    for (int i = 0; rowTopOf(i) < with.height; i++)
        for (int j = 0; j < FontViewState.charsPerRow; j++) {
            int code = (first + i) * FontViewState.charsPerRow + j;
            if (code > 0xFFFF)
                continue;
            SIZE size = extentOf((WCHAR)code);
            RECT box = { cellXOf(j, offset) - 1, rowTopOf(i) - 1, cellXOf(j, offset) + size.cx + 1,
                         rowTopOf(i) + size.cy + 1 };
            boxes.push_back(box);
        }
    /* The outlines alone, white on black, as the platform frames the boxes. */
    ClientPicture outline = drawnPicture(RGB(0, 0, 0), [&](HDC dc) {
        for (const RECT &box : boxes)
            FrameRect(dc, &box, (HBRUSH)GetStockObject(WHITE_BRUSH));
    });
    int stray = 0, gaps = 0;
    for (size_t k = 0; k < outline.pixels.size(); k++) {
        bool changed = with.pixels[k] != without.pixels[k], onOutline = outline.pixels[k] != RGB(0, 0, 0);
        stray += changed && !onOutline;
        gaps += onOutline && !changed;
    }
    EXPECT_EQ(0, stray) << when << ": changes off the boxes' outlines";
    for (size_t k = 0; k < boxes.size(); k++) {
        const RECT &box = boxes[k];
        if (box.left < 0 || box.left >= with.width)
            continue;
        RECT left = { box.left, box.top, box.left + 1, std::min(box.bottom, (LONG)with.height) };
        EXPECT_GT(differingPixels(with, without, left), 0) << when << ": box " << k << " has no left edge";
    }
    if (dashed) {
        EXPECT_GT(gaps, 0) << when << ": the outline is not dashed";
    }
}

TEST_F(PaintTest, BoxesOutlineEachGlyph)
{
    expectBoxes("opaque, at the top", false);
    showAt(0, 0xD800 / FontViewState.charsPerRow);
    expectBoxes("opaque, surrogates", false);
    FontViewState.bkMode = TRANSPARENT;
    expectBoxes("transparent", true);
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    showAt(5, 0);
    expectBoxes("scrolled sideways", false);
}

/* ---- Every code ---- */

TEST_F(PaintTest, EveryCodeIsDrawnAsOneCharacterOnItsOwn)
{
    /* A small font: the same codes in fewer and cheaper paints. */
    FontViewState.logFont.lfHeight = -4;
    applyFont();
    std::vector<bool> drawn(0x10000, false);
    int others = 0;
    int page = clientRect(FontViewState.mainWindow).bottom / FontViewState.rowHeight;
    for (int row = 0; row <= FontViewState.rowCount; row += page) {
        scrollTo(FontViewState.mainWindow, 0, row);
        for (const TextCall &call : recordedPaint()) {
            if (call.text.size() == 1)
                drawn[call.text[0]] = true;
            else if (call.text.size() != 5 && !(call.text.empty() && (call.options & ETO_OPAQUE)))
                others++;
        }
    }
    int missing = 0;
    for (int code = 0; code <= 0xFFFF; code++)
        missing += !drawn[code];
    EXPECT_EQ(0, missing) << "codes never drawn";
    EXPECT_EQ(0, others) << "text calls that were neither a label, a glyph nor the erase";
}

TEST_F(PaintTest, NulControlCodesAndSurrogatesShowACell)
{
    const int codes[] = { 0x0000, 0x0001, 0x0009, 0x000A, 0x001F, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFE };
    for (int code : codes) {
        int row = code / FontViewState.charsPerRow, column = code % FontViewState.charsPerRow;
        /* Scrolled sideways as far as the cell or the range goes: the start-up font's sixteen
           columns are wider than the screen. */
        showAt(column * FontViewState.columnWidth, row);
        ASSERT_EQ(row, scrollPosition(SB_VERT));
        int offset = scrollPosition(SB_HORZ);
        ClientPicture shown = captureClient(FontViewState.mainWindow);
        RECT cell = { cellXOf(column, offset), rowTopOf(0), cellXOf(column + 1, offset) - 3, rowTopOf(1) };
        ASSERT_LE(cell.right, shown.width) << "code " << std::hex << code << " is off the screen";
        EXPECT_GT(pixelsOfColour(shown, cell, FontViewState.bkColor), 0) << "code " << std::hex << code;
    }
}

/* The device refuses to delete an object that is still selected into a context and keeps it
   (Wine only defers the deletion), so every pen must be selected out before it is deleted.
   The context to look in is the one the paint last selected into. */
static decltype(&SelectObject) realSelectObject;
static decltype(&DeleteObject) realDeleteObject;
static HDC lastSelectedInto;
static int penDeletions, deletedWhileSelected;

static HGDIOBJ WINAPI watchingSelectObject(HDC dc, HGDIOBJ object)
{
    lastSelectedInto = dc;
    return realSelectObject(dc, object);
}

static BOOL WINAPI watchingDeleteObject(HGDIOBJ object)
{
    DWORD type = GetObjectType(object);
    penDeletions += type == OBJ_PEN;
    deletedWhileSelected += type && GetCurrentObject(lastSelectedInto, type) == object;
    return realDeleteObject(object);
}

TEST_F(PaintTest, PaintsDeleteNoObjectStillSelectedAndLeaveNoneBehind)
{
    FontViewState.showBaseline = TRUE;
    repaintMainWindow();
    int before = gdiObjectsCreatable();
    {
        ImportPatches patches;
        realSelectObject = patches.add("gdi32.dll", "SelectObject", watchingSelectObject);
        realDeleteObject = patches.add("gdi32.dll", "DeleteObject", watchingDeleteObject);
        ASSERT_TRUE(realSelectObject && realDeleteObject);
        lastSelectedInto = NULL;
        penDeletions = deletedWhileSelected = 0;
        for (int i = 0; i < 4; i++) {
            FontViewState.showBoundingBoxes = i % 2 == 0;
            repaintMainWindow();
        }
    }
    EXPECT_EQ(0, deletedWhileSelected) << "objects deleted while still selected in the paint's context";
    EXPECT_GT(penDeletions, 4 * FontViewState.charsPerRow) << "the boxes' and baselines' pens";
    EXPECT_EQ(before, gdiObjectsCreatable()) << "objects left behind by 4 paints";
    EXPECT_GT(before, 60000);
}

/* ---- Absurd fonts ---- */

TEST_F(PaintTest, AbsurdFontsPaintAndScrollInBoundedTime)
{
    FontViewState.showBaseline = TRUE;
    FontViewState.showBoundingBoxes = TRUE;
    struct Size { LONG height, width; };
    const Size fonts[] = { { -10000, 0 }, { 100000, 0 }, { -24, 100000 }, { -100000, 100000 } };
    for (const Size &font : fonts) {
        FontViewState.logFont.lfHeight = font.height;
        FontViewState.logFont.lfWidth = font.width;
        DWORD start = GetTickCount();
        applyFont();
        /* Ten scroll steps over the whole client that applyFont invalidated; then one paint. */
        const int codes[] = { SB_PAGEDOWN, SB_LINEDOWN, SB_BOTTOM, SB_PAGEUP, SB_TOP };
        for (int code : codes) {
            scrollVertically(FontViewState.mainWindow, code, 0);
            scrollHorizontally(FontViewState.mainWindow, code == SB_BOTTOM ? SB_RIGHT : SB_LINERIGHT, 0);
        }
        pumpMessages();
        DWORD took = GetTickCount() - start;
        printf("height %ld width %ld: tmHeight %ld tmMaxCharWidth %ld, applied, scrolled and painted in %lu ms\n",
               font.height, font.width, FontViewState.textMetrics.tmHeight, FontViewState.textMetrics.tmMaxCharWidth,
               took);
        EXPECT_LT(took, 60000u) << "height " << font.height << " width " << font.width;
    }
}

TEST_F(PaintTest, MetricsBeyondTheIntRangePaintWithoutOverflow)
{
    TEXTMETRICW &tm = FontViewState.textMetrics;
    const LONG figures[] = { INT_MAX, INT_MAX - 1, 1 << 30 };
    for (LONG figure : figures) {
        tm.tmHeight = tm.tmAscent = tm.tmExternalLeading = figure;
        tm.tmMaxCharWidth = tm.tmOverhang = figure;
        computeLayout();
        FontViewState.showBaseline = TRUE;
        FontViewState.showBoundingBoxes = TRUE;
        std::vector<TextCall> glyphs = glyphCalls(recordedPaint());
        ASSERT_EQ(16u, glyphs.size()) << "one row of 16 columns";
        EXPECT_EQ(FontViewState.labelWidth + 1, glyphs[0].x);
        for (size_t j = 1; j < glyphs.size(); j++)
            EXPECT_GE(glyphs[j].x, glyphs[j - 1].x) << "cell x wrapped round at column " << j;
        EXPECT_EQ(INT_MAX, glyphs[15].x) << "the last cell lies beyond the int range";
        scrollVertically(FontViewState.mainWindow, SB_PAGEDOWN, 0);
        scrollHorizontally(FontViewState.mainWindow, SB_RIGHT, 0);
        pumpMessages();
        scrollVertically(FontViewState.mainWindow, SB_TOP, 0);
        scrollHorizontally(FontViewState.mainWindow, SB_LEFT, 0);
        pumpMessages();
    }
}
