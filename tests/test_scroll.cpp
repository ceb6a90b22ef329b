/* Scrolling: every code of both bars, the clamp, the thumb, the keys, the pixels moved. */
#include "apptest.h"
#include "../font/gridmath.h"

static int clampTo(long long value, int maximum)
{
    return value < 0 ? 0 : value > maximum ? maximum : (int)value;
}

/* ---- The arithmetic ---- */

TEST(ScrollArithmetic, TargetsOfEveryCode)
{
    struct Case { int code; long long target; };
    const int position = 40, line = 7, page = 100, thumb = -3;
    const Case cases[] = { { SB_LINEUP, 33 }, { SB_LINEDOWN, 47 }, { SB_PAGEUP, -60 }, { SB_PAGEDOWN, 140 },
                           { SB_THUMBPOSITION, -3 }, { SB_TOP, 0 }, { SB_BOTTOM, INT_MAX } };
    for (const Case &c : cases) {
        int target = 12345;
        EXPECT_TRUE(scrollTarget(c.code, position, line, page, thumb, &target)) << "code " << c.code;
        EXPECT_EQ(c.target, target) << "code " << c.code;
    }
    const int still[] = { SB_THUMBTRACK, SB_ENDSCROLL, 9, 100, 0xFFFF, -1 };
    for (int code : still) {
        int target = 12345;
        EXPECT_FALSE(scrollTarget(code, position, line, page, thumb, &target)) << "code " << code;
        EXPECT_EQ(12345, target) << "code " << code;
    }
}

TEST(ScrollArithmetic, TargetsStopAtTheIntRange)
{
    int target = 0;
    scrollTarget(SB_LINEDOWN, INT_MAX, INT_MAX, 0, 0, &target);
    EXPECT_EQ(INT_MAX, target);
    scrollTarget(SB_PAGEDOWN, INT_MAX - 1, 5, 5, 0, &target);
    EXPECT_EQ(INT_MAX, target);
    scrollTarget(SB_LINEUP, INT_MIN + 1, INT_MAX, 0, 0, &target);
    EXPECT_EQ(INT_MIN, target);
    scrollTarget(SB_LINEUP, 0, INT_MIN, 0, 0, &target);
    EXPECT_EQ(INT_MAX, target) << "0 - INT_MIN";
    scrollTarget(SB_PAGEUP, -5, INT_MAX, INT_MAX, 0, &target);
    EXPECT_EQ(INT_MIN, target);
    scrollTarget(SB_PAGEDOWN, 10, 1, 5, 0, &target);
    EXPECT_EQ(15, target) << "what fits is exact";
}

TEST(ScrollArithmetic, PagesAreWholeRows)
{
    EXPECT_EQ(15, pageRows(0, 536, 35));
    EXPECT_EQ(0, pageRows(0, 34, 35)) << "less than one row high";
    EXPECT_EQ(1, pageRows(0, 35, 35));
    EXPECT_EQ(-1, pageRows(40, 0, 35)) << "truncated toward zero";
    EXPECT_EQ(0, pageRows(0, 536, INT_MAX));
    EXPECT_EQ(INT_MAX, pageRows(INT_MIN, INT_MAX, 1));
}

TEST(ScrollArithmetic, ClampWithTheMinimumWinning)
{
    EXPECT_EQ(5, clampScroll(5, 0, 10));
    EXPECT_EQ(0, clampScroll(-1, 0, 10));
    EXPECT_EQ(10, clampScroll(INT_MAX, 0, 10));
    EXPECT_EQ(0, clampScroll(INT_MIN, 0, 10));
    EXPECT_EQ(20, clampScroll(15, 20, 10)) << "an inverted range";
    EXPECT_EQ(20, clampScroll(5, 20, 10)) << "an inverted range";
    EXPECT_EQ(3, clampScroll(3, 3, 3));
}

TEST(ScrollArithmetic, DistancesSaturate)
{
    EXPECT_EQ(-35, scrollDistance(10, 11, 35));
    EXPECT_EQ(70, scrollDistance(12, 10, 35));
    EXPECT_EQ(0, scrollDistance(7, 7, INT_MAX));
    EXPECT_EQ(INT_MIN, scrollDistance(0, 4095, INT_MAX));
    EXPECT_EQ(INT_MAX, scrollDistance(INT_MAX, INT_MIN, 1));
    EXPECT_EQ(INT_MIN, scrollDistance(INT_MAX, INT_MIN, INT_MIN));
}

/* ---- What scrolling asks of the platform ---- */

struct ScrollCall {
    int dx, dy;
    UINT flags;
    bool whole;
};
struct PositionCall {
    int bar, position;
    BOOL redraw;
};
static std::vector<ScrollCall> scrolls;
static std::vector<PositionCall> positions;

static decltype(&ScrollWindowEx) realScrollWindowEx;
static decltype(&SetScrollPos) realSetScrollPos;

static int WINAPI recordingScrollWindowEx(HWND hwnd, int dx, int dy, const RECT *scroll, const RECT *clip,
                                          HRGN update, LPRECT updateRect, UINT flags)
{
    scrolls.push_back({ dx, dy, flags, !scroll && !clip && !update && !updateRect });
    return realScrollWindowEx(hwnd, dx, dy, scroll, clip, update, updateRect, flags);
}

static int WINAPI recordingSetScrollPos(HWND hwnd, int bar, int position, BOOL redraw)
{
    positions.push_back({ bar, position, redraw });
    return realSetScrollPos(hwnd, bar, position, redraw);
}

static void forgetCalls(void)
{
    scrolls.clear();
    positions.clear();
}

class ScrollTest : public AppTest {
protected:
    ImportPatches patches;
    void SetUp() override
    {
        AppTest::SetUp();
        realScrollWindowEx = patches.add("user32.dll", "ScrollWindowEx", recordingScrollWindowEx);
        realSetScrollPos = patches.add("user32.dll", "SetScrollPos", recordingSetScrollPos);
        ASSERT_TRUE(realScrollWindowEx && realSetScrollPos);
    }
    void startAt(int x, int y)
    {
        scrollTo(FontViewState.mainWindow, x, y);
        pumpMessages();
        ASSERT_EQ(x, scrollPosition(SB_HORZ));
        ASSERT_EQ(y, scrollPosition(SB_VERT));
        forgetCalls();
    }
};

static void sendScroll(UINT message, int code, int thumb)
{
    SendMessageW(FontViewState.mainWindow, message, MAKEWPARAM(code, (WORD)thumb), 0);
}

/* The one move a code makes: both bars set with redraw, horizontal first, then the pixels
   moved by the change. */
static void expectMove(int oldX, int oldY, int newX, int newY, const std::string &what)
{
    EXPECT_EQ(newX, scrollPosition(SB_HORZ)) << what;
    EXPECT_EQ(newY, scrollPosition(SB_VERT)) << what;
    ASSERT_EQ(2u, positions.size()) << what;
    EXPECT_EQ(SB_HORZ, positions[0].bar) << what;
    EXPECT_EQ(newX, positions[0].position) << what;
    EXPECT_EQ(SB_VERT, positions[1].bar) << what;
    EXPECT_EQ(newY, positions[1].position) << what;
    EXPECT_TRUE(positions[0].redraw && positions[1].redraw) << what;
    ASSERT_EQ(1u, scrolls.size()) << what;
    EXPECT_EQ(oldX - newX, scrolls[0].dx) << what;
    EXPECT_EQ((oldY - newY) * FontViewState.rowHeight, scrolls[0].dy) << what;
    EXPECT_EQ((UINT)(SW_INVALIDATE | SW_ERASE), scrolls[0].flags) << what;
    EXPECT_TRUE(scrolls[0].whole) << what << ": the whole client scrolls";
}

static void expectNoMove(int oldX, int oldY, const std::string &what)
{
    EXPECT_EQ(oldX, scrollPosition(SB_HORZ)) << what;
    EXPECT_EQ(oldY, scrollPosition(SB_VERT)) << what;
    EXPECT_TRUE(positions.empty()) << what << " set a bar";
    EXPECT_TRUE(scrolls.empty()) << what << " scrolled the window";
}

/* ---- Every code ---- */

TEST_F(ScrollTest, HorizontalCodesMoveAsTheirTableSays)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    int maximum = scrollMaximum(SB_HORZ), x = maximum / 2, y = 50, thumb = maximum / 3;
    int width = clientRect(FontViewState.mainWindow).right, column = FontViewState.columnWidth;
    const long long targets[] = { x - column, x + column, x - width, x + width, thumb, -1, 0, INT_MAX, -1 };
    for (int code = 0; code <= 10; code++) {
        startAt(x, y);
        sendScroll(WM_HSCROLL, code, thumb);
        std::string what = "horizontal code " + std::to_string(code);
        if (code <= 8 && targets[code] != -1)
            expectMove(x, y, clampTo(targets[code], maximum), y, what);
        else
            expectNoMove(x, y, what);
    }
    startAt(x, y);
    sendScroll(WM_HSCROLL, 0x7FFF, thumb);
    expectNoMove(x, y, "horizontal code 0x7FFF");
}

TEST_F(ScrollTest, VerticalCodesMoveAsTheirTableSays)
{
    int maximum = scrollMaximum(SB_VERT), x = 0, y = 1000, thumb = 2222;
    int page = clientRect(FontViewState.mainWindow).bottom / FontViewState.rowHeight;
    ASSERT_GT(page, 1);
    const long long targets[] = { y - 1, y + 1, y - page, y + page, thumb, -1, 0, INT_MAX, -1 };
    for (int code = 0; code <= 10; code++) {
        startAt(x, y);
        sendScroll(WM_VSCROLL, code, thumb);
        std::string what = "vertical code " + std::to_string(code);
        if (code <= 8 && targets[code] != -1)
            expectMove(x, y, x, clampTo(targets[code], maximum), what);
        else
            expectNoMove(x, y, what);
    }
    EXPECT_EQ(FontViewState.rowCount, maximum);
}

TEST_F(ScrollTest, ClampAtBothEnds)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    int right = scrollMaximum(SB_HORZ), bottom = scrollMaximum(SB_VERT);
    EXPECT_EQ(4095, bottom) << "16 columns";
    struct Case { UINT message; int code, thumb, fromX, fromY, toX, toY; };
    const Case cases[] = {
        { WM_HSCROLL, SB_LINELEFT, 0, 0, 9, 0, 9 },
        { WM_HSCROLL, SB_PAGELEFT, 0, 3, 9, 0, 9 },
        { WM_HSCROLL, SB_LINERIGHT, 0, right, 9, right, 9 },
        { WM_HSCROLL, SB_PAGERIGHT, 0, right - 1, 9, right, 9 },
        { WM_HSCROLL, SB_RIGHT, 0, 0, 9, right, 9 },
        { WM_HSCROLL, SB_THUMBPOSITION, -1, 5, 9, 0, 9 },
        { WM_HSCROLL, SB_THUMBPOSITION, 0x7FFF, 5, 9, right, 9 },
        { WM_VSCROLL, SB_LINEUP, 0, 4, 0, 4, 0 },
        { WM_VSCROLL, SB_PAGEUP, 0, 4, 2, 4, 0 },
        { WM_VSCROLL, SB_LINEDOWN, 0, 4, bottom, 4, bottom },
        { WM_VSCROLL, SB_PAGEDOWN, 0, 4, bottom - 1, 4, bottom },
        { WM_VSCROLL, SB_BOTTOM, 0, 4, 0, 4, bottom },
        { WM_VSCROLL, SB_THUMBPOSITION, -32768, 4, 9, 4, 0 },
        { WM_VSCROLL, SB_THUMBPOSITION, 0x7FFF, 4, 9, 4, bottom } };
    for (const Case &c : cases) {
        startAt(c.fromX, c.fromY);
        sendScroll(c.message, c.code, c.thumb);
        expectMove(c.fromX, c.fromY, c.toX, c.toY,
                   (c.message == WM_HSCROLL ? "horizontal " : "vertical ") + std::to_string(c.code) + " from (" +
                       std::to_string(c.fromX) + "," + std::to_string(c.fromY) + ")");
    }
}

/* Tahoma at -16, whose columns of 23 + 3 pixels (a bounding box 2964 of 2048 units to the em
   wide) fit sixteen and a half times beside the labels on the landscape screen; the system
   font's columns of 38 do not. */
TEST_F(ScrollTest, NoHorizontalRangeKeepsEveryHorizontalCodeAtZero)
{
    ASSERT_TRUE(EmulatorRotateScreen());
    pumpMessages();
    setFontUnderTest(L"Tahoma", -16);
    ASSERT_EQ(26, FontViewState.columnWidth);
    setClientSize(FontViewState.labelWidth + 16 * FontViewState.columnWidth + FontViewState.columnWidth / 2);
    ASSERT_EQ(0, scrollMaximum(SB_HORZ)) << "16 columns and a half fit";
    for (int code = 0; code <= 8; code++) {
        startAt(0, 7);
        sendScroll(WM_HSCROLL, code, 50);
        EXPECT_EQ(0, scrollPosition(SB_HORZ)) << "code " << code;
        EXPECT_EQ(7, scrollPosition(SB_VERT)) << "code " << code;
    }
}

TEST_F(ScrollTest, ThumbTrackingChangesNothingUntilTheThumbIsReleased)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    startAt(10, 20);
    for (int thumb = 21; thumb < 40; thumb++)
        sendScroll(WM_VSCROLL, SB_THUMBTRACK, thumb);
    sendScroll(WM_HSCROLL, SB_THUMBTRACK, 30);
    expectNoMove(10, 20, "thumb tracking");
    sendScroll(WM_VSCROLL, SB_THUMBPOSITION, 39);
    expectMove(10, 20, 10, 39, "vertical thumb released");
    forgetCalls();
    sendScroll(WM_HSCROLL, SB_THUMBPOSITION, 30);
    expectMove(10, 39, 30, 39, "horizontal thumb released");
}

/* ---- Pixels ---- */

static int shiftedDifferences(const ClientPicture &now, const ClientPicture &before, int dx, int dy)
{
    int count = 0;
    for (int y = 0; y < now.height; y++)
        for (int x = 0; x < now.width; x++) {
            int fromX = x - dx, fromY = y - dy;
            if (fromX < 0 || fromY < 0 || fromX >= before.width || fromY >= before.height)
                continue;
            count += now.at(x, y) != before.at(fromX, fromY);
        }
    return count;
}

TEST_F(ScrollTest, AVerticalMoveOfKRowsShiftsThePixelsByKRowHeights)
{
    FontViewState.showBoundingBoxes = TRUE;
    startAt(0, 100);
    for (int k : { 1, 2, 5, -3, -1 }) {
        ClientPicture before = repaintedMainWindow();
        int from = scrollPosition(SB_VERT);
        sendScroll(WM_VSCROLL, SB_THUMBPOSITION, from + k);
        ASSERT_EQ(from + k, scrollPosition(SB_VERT));
        ClientPicture moved = captureClient(FontViewState.mainWindow);
        EXPECT_EQ(0, shiftedDifferences(moved, before, 0, -k * FontViewState.rowHeight)) << "move of " << k;
        pumpMessages();
        ClientPicture repainted = captureClient(FontViewState.mainWindow);
        EXPECT_EQ(0, shiftedDifferences(repainted, repaintedMainWindow(), 0, 0))
            << "move of " << k << ": the uncovered strip does not line up with a full paint";
    }
}

TEST_F(ScrollTest, AHorizontalLineMovesThePixelsByOneColumn)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    startAt(0, 30);
    ClientPicture before = repaintedMainWindow();
    sendScroll(WM_HSCROLL, SB_LINERIGHT, 0);
    ASSERT_EQ(FontViewState.columnWidth, scrollPosition(SB_HORZ));
    EXPECT_EQ(0, shiftedDifferences(captureClient(FontViewState.mainWindow), before, -FontViewState.columnWidth, 0));
    pumpMessages();
    ClientPicture repainted = captureClient(FontViewState.mainWindow);
    EXPECT_EQ(0, shiftedDifferences(repainted, repaintedMainWindow(), 0, 0));
}

TEST_F(ScrollTest, APageInAClientLowerThanOneRowMovesNoRows)
{
    setClientSize(clientRect(FontViewState.mainWindow).right, FontViewState.rowHeight - 1);
    ASSERT_LT(clientRect(FontViewState.mainWindow).bottom, FontViewState.rowHeight);
    /* Pages move no rows; a line still moves one. */
    const std::pair<int, int> steps[] = { { SB_PAGEDOWN, 10 }, { SB_PAGEUP, 10 }, { SB_LINEDOWN, 11 } };
    for (const auto &step : steps) {
        startAt(0, 10);
        sendScroll(WM_VSCROLL, step.first, 0);
        expectMove(0, 10, 0, step.second, "vertical code " + std::to_string(step.first));
    }
}

TEST_F(ScrollTest, KeysReachTheirScrollCodesWhateverTheModifiers)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    int x = scrollMaximum(SB_HORZ) / 2, y = 1000;
    int page = clientRect(FontViewState.mainWindow).bottom / FontViewState.rowHeight;
    int column = FontViewState.columnWidth;
    struct Expected { WORD key; const char *name; int toX, toY; };
    const Expected keys[] = {
        { VK_PRIOR, "Page Up", x, y - page },         { VK_NEXT, "Page Down", x, y + page },
        { VK_END, "End", x, scrollMaximum(SB_VERT) }, { VK_HOME, "Home", x, 0 },
        { VK_LEFT, "Left", x - column, y },           { VK_UP, "Up", x, y - 1 },
        { VK_RIGHT, "Right", x + column, y },         { VK_DOWN, "Down", x, y + 1 } };
    const char *modifiers[] = { "alone", "with Shift", "with Ctrl" };
    for (const Expected &k : keys)
        for (int m = 0; m < 3; m++) {
            startAt(x, y);
            SetForegroundWindow(FontViewState.mainWindow);
            SetFocus(FontViewState.mainWindow);
            pressKey(k.key, m == 2, m == 1);
            pumpUntil([&] { return !scrolls.empty(); }, 3000);
            pumpMessages();
            expectMove(x, y, k.toX, k.toY, std::string(k.name) + " " + modifiers[m]);
        }
    /* Down comes after the others, so its move shows that they have all been handled. */
    startAt(x, y);
    for (int key : { (int)'B', VK_SPACE, VK_TAB, VK_DOWN })
        pressKey((WORD)key);
    pumpUntil([&] { return !scrolls.empty(); }, 3000);
    pumpMessages();
    expectMove(x, y, x, y + 1, "keys outside the eight, then Down");
}

static decltype(&GetScrollInfo) realGetScrollInfo;
static int stalePosition[2] = { -1, -1 };

/* A bar that still reports a position its range has since left behind. */
static BOOL WINAPI staleGetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info)
{
    BOOL result = realGetScrollInfo(hwnd, bar, info);
    if ((bar == SB_HORZ || bar == SB_VERT) && stalePosition[bar] >= 0 && (info->fMask & SIF_POS))
        info->nPos = stalePosition[bar];
    return result;
}

TEST_F(ScrollTest, AVerticalScrollPullsTheHorizontalPositionIntoItsRange)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    int right = scrollMaximum(SB_HORZ);
    startAt(right, 10);
    setClientSize(clientRect(FontViewState.mainWindow).right + 2 * FontViewState.columnWidth);
    int shrunk = scrollMaximum(SB_HORZ);
    ASSERT_LT(shrunk, right);
    forgetCalls();
    int now = scrollPosition(SB_HORZ);
    sendScroll(WM_VSCROLL, SB_LINEDOWN, 0);
    expectMove(now, 10, std::min(now, shrunk), 11, "the real bars");

    realGetScrollInfo = patches.add("user32.dll", "GetScrollInfo", staleGetScrollInfo);
    ASSERT_TRUE(realGetScrollInfo != NULL);
    stalePosition[SB_HORZ] = shrunk + 40;
    forgetCalls();
    sendScroll(WM_VSCROLL, SB_LINEDOWN, 0);
    stalePosition[SB_HORZ] = -1;
    ASSERT_EQ(2u, positions.size());
    EXPECT_EQ(shrunk, positions[0].position) << "the horizontal position is clamped";
    ASSERT_EQ(1u, scrolls.size());
    EXPECT_EQ(40, scrolls[0].dx);

    stalePosition[SB_VERT] = scrollMaximum(SB_VERT) + 5;
    forgetCalls();
    sendScroll(WM_HSCROLL, SB_LINELEFT, 0);
    stalePosition[SB_VERT] = -1;
    ASSERT_EQ(2u, positions.size());
    EXPECT_EQ(scrollMaximum(SB_VERT), positions[1].position)
        << "the vertical position is clamped by a horizontal scroll";
    ASSERT_EQ(1u, scrolls.size());
    EXPECT_EQ(5 * FontViewState.rowHeight, scrolls[0].dy);
}

TEST_F(ScrollTest, ScrollStepsLeaveNoObjectBehind)
{
    ASSERT_NO_FATAL_FAILURE(narrowToTenColumns());
    const int codes[] = { SB_LINEDOWN, SB_PAGEDOWN, SB_LINERIGHT, SB_PAGEUP, SB_BOTTOM, SB_LINELEFT, SB_TOP,
                          SB_RIGHT, SB_LEFT, SB_THUMBPOSITION };
    for (int i = 0; i < 10; i++) {
        sendScroll(i % 2 ? WM_HSCROLL : WM_VSCROLL, codes[i], 17);
        pumpMessages();
    }
    int before = gdiObjectsCreatable();
    for (int i = 0; i < 30; i++) {
        sendScroll(i % 3 == 2 ? WM_HSCROLL : WM_VSCROLL, codes[i % 10], i % 100);
        pumpMessages();
    }
    EXPECT_EQ(before, gdiObjectsCreatable()) << "objects left behind by 30 scroll steps and their paints";
    EXPECT_GT(before, 60000);
}
