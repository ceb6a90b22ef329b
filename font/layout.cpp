/* Grid geometry and scroll ranges from the font's metrics and the window's size. */
#include "velmora.h"
#include "gridmath.h"

/* The row labels are drawn in the system font; its metrics are read afresh each time. */
static int systemAveCharWidth(void)
{
    TEXTMETRICW metrics;
    metrics.tmAveCharWidth = 0;
    HDC hDC = GetDC(FontViewState.mainWindow);
    SelectObject(hDC, GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(hDC, &metrics);
    ReleaseDC(FontViewState.mainWindow, hDC);
    return metrics.tmAveCharWidth;
}

/* A size change during the window's creation, before there is a window to measure, has
   nothing to lay out: start-up lays the grid out once the window exists. */
void computeLayout(void)
{
    HWND hwnd = FontViewState.mainWindow;
    if (!hwnd)
        return;
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(hwnd, &client);
    int aveCharWidth = systemAveCharWidth();

    const TEXTMETRICW *metrics = &FontViewState.textMetrics;
    FontViewState.rowHeight = layoutRowHeight(metrics->tmHeight, metrics->tmExternalLeading);
    FontViewState.columnWidth = layoutColumnWidth(metrics->tmMaxCharWidth, metrics->tmOverhang);
    FontViewState.labelWidth = layoutLabelWidth(aveCharWidth);
    FontViewState.charsPerRow = layoutCharsPerRow(client.left, client.right, FontViewState.labelWidth,
                                                  FontViewState.columnWidth);
    FontViewState.rowCount = layoutRowCount(FontViewState.charsPerRow);

    int clientWidth = spanOf(client.left, client.right);
    SetScrollRange(hwnd, SB_HORZ, 0,
                   layoutHorizontalMaximum(FontViewState.charsPerRow, FontViewState.columnWidth,
                                           FontViewState.labelWidth, clientWidth), FALSE);
    SetScrollRange(hwnd, SB_VERT, 0, layoutVerticalMaximum(FontViewState.rowCount), FALSE);
    InvalidateRect(hwnd, NULL, TRUE);
}
