/* Moving the view over the grid: pixels horizontally, rows vertically. The positions live
   only in the window's scroll bars. */
#include "velmora.h"
#include "../font/gridmath.h"

#include <string.h>

static BOOL readScrollInfo(HWND hwnd, int bar, UINT mask, SCROLLINFO *info)
{
    memset(info, 0, sizeof *info);
    info->cbSize = sizeof *info;
    info->fMask = mask;
    return GetScrollInfo(hwnd, bar, info);
}

int getScrollPosition(HWND hwnd, int bar)
{
    SCROLLINFO info;
    readScrollInfo(hwnd, bar, SIF_POS, &info);
    return info.nPos;
}

static BOOL getScrollRange(HWND hwnd, int bar, int *minimum, int *maximum)
{
    SCROLLINFO info;
    BOOL result = readScrollInfo(hwnd, bar, SIF_RANGE, &info);
    *minimum = info.nMin;
    *maximum = info.nMax;
    return result;
}

void scrollTo(HWND hwnd, int x, int y)
{
    int xMin, xMax, yMin, yMax;
    getScrollRange(hwnd, SB_HORZ, &xMin, &xMax);
    getScrollRange(hwnd, SB_VERT, &yMin, &yMax);
    int newX = clampScroll(x, xMin, xMax);
    int newY = clampScroll(y, yMin, yMax);
    int oldX = getScrollPosition(hwnd, SB_HORZ);
    int oldY = getScrollPosition(hwnd, SB_VERT);
    SetScrollPos(hwnd, SB_HORZ, newX, TRUE);
    SetScrollPos(hwnd, SB_VERT, newY, TRUE);
    ScrollWindowEx(hwnd, scrollDistance(oldX, newX, 1), scrollDistance(oldY, newY, FontViewState.rowHeight),
                   NULL, NULL, NULL, NULL, SW_INVALIDATE | SW_ERASE);
}

void scrollHorizontally(HWND hwnd, int code, int thumbPosition)
{
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(hwnd, &client);
    int v = getScrollPosition(hwnd, SB_VERT);
    int h = getScrollPosition(hwnd, SB_HORZ);
    int page = spanOf(client.left, client.right);
    int x;
    if (scrollTarget(code, h, FontViewState.columnWidth, page, thumbPosition, &x))
        scrollTo(hwnd, x, v);
}

void scrollVertically(HWND hwnd, int code, int thumbPosition)
{
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(hwnd, &client);
    int v = getScrollPosition(hwnd, SB_VERT);
    int h = getScrollPosition(hwnd, SB_HORZ);
    int page = pageRows(client.top, client.bottom, FontViewState.rowHeight);
    int y;
    if (scrollTarget(code, v, 1, page, thumbPosition, &y))
        scrollTo(hwnd, h, y);
}
