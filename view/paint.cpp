/* Painting the labelled code-point grid: labels first, then row by row each glyph with its
   box, then the row's baseline. Every visible row is drawn in full, whatever the update
   region; no graphics object outlives the paint. */
#include "velmora.h"
#include "../font/gridmath.h"

#include <string.h>

enum { OVERLAY_COLOUR = 0xFFFFFF, LABEL_CAPACITY = 6 };

/* What one paint sees: taken once at its start, stored nowhere. */
typedef struct {
    RECT client;
    int firstRow;
    int horizontalOffset;
    int rows;
    int glyphOffset;
} GRIDVIEW;

static void readView(GRIDVIEW *view, HWND hwnd)
{
    memset(view, 0, sizeof *view);
    GetClientRect(hwnd, &view->client);
    view->firstRow = getScrollPosition(hwnd, SB_VERT);
    view->horizontalOffset = getScrollPosition(hwnd, SB_HORZ);
    view->rows = visibleRows(view->client.top, view->client.bottom, FontViewState.rowHeight);
    view->glyphOffset = glyphOffset(FontViewState.textAlign, FontViewState.textMetrics.tmAscent,
                                    FontViewState.textMetrics.tmHeight);
}

static int screenRowTop(int screenRow)
{
    return rowTop(screenRow, FontViewState.rowHeight, FontViewState.textMetrics.tmExternalLeading);
}

static HPEN createOverlayPen(void)
{
    return CreatePen(PS_DASH, 1, OVERLAY_COLOUR);
}

/* In the system font, transparent, in the background colour. */
static void drawLabels(HDC hDC, const GRIDVIEW *view)
{
    SelectObject(hDC, GetStockObject(SYSTEM_FONT));
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, FontViewState.bkColor);
    for (int i = 0; i < view->rows; i++) {
        LONGLONG first = cellCode(gridRow(view->firstRow, i), FontViewState.charsPerRow, 0);
        if (first > GRID_LAST_CODE)
            continue;
        WCHAR label[LABEL_CAPACITY];
        wsprintfW(label, L"%04x:", (UINT)(WORD)first);
        ExtTextOutW(hDC, labelX(view->horizontalOffset), screenRowTop(i), 0, NULL, label,
                    (UINT)wcslen(label), NULL);
    }
}

static void drawGlyphBox(HDC hDC, const WCHAR *glyph, int x, int top)
{
    SIZE extent = { 0, 0 };
    GetTextExtentExPointW(hDC, glyph, 1, 0, NULL, NULL, &extent);
    HPEN pen = createOverlayPen();
    HGDIOBJ oldPen = SelectObject(hDC, pen);
    HGDIOBJ oldBrush = SelectObject(hDC, GetStockObject(NULL_BRUSH));
    int oldMode = SetROP2(hDC, R2_NOT);
    RECT box = glyphBox(x, top, extent.cx, extent.cy);
    Rectangle(hDC, box.left, box.top, box.right, box.bottom);
    SetROP2(hDC, oldMode);
    SelectObject(hDC, oldPen);
    SelectObject(hDC, oldBrush);
    DeleteObject(pen);
}

static void drawBaseline(HDC hDC, const RECT *client, int y)
{
    HPEN pen = createOverlayPen();
    HGDIOBJ oldPen = SelectObject(hDC, pen);
    int oldMode = SetROP2(hDC, R2_XORPEN);
    MoveToEx(hDC, client->left, y, NULL);
    LineTo(hDC, client->right, y);
    SetROP2(hDC, oldMode);
    SelectObject(hDC, oldPen);
    DeleteObject(pen);
}

/* Every code is one character on its own: NUL, control codes and lone surrogates alike. */
static void drawRowGlyphs(HDC hDC, const GRIDVIEW *view, int screenRow, int top, int y)
{
    LONGLONG row = gridRow(view->firstRow, screenRow);
    for (int j = 0; j < FontViewState.charsPerRow; j++) {
        LONGLONG code = cellCode(row, FontViewState.charsPerRow, j);
        /* Codes grow along the row, so every later column lies beyond the grid too. */
        if (code > GRID_LAST_CODE)
            break;
        WCHAR glyph = (WCHAR)code;
        int x = cellX(j, FontViewState.columnWidth, view->horizontalOffset, FontViewState.labelWidth);
        ExtTextOutW(hDC, x, y, 0, NULL, &glyph, 1, NULL);
        if (FontViewState.showBoundingBoxes)
            drawGlyphBox(hDC, &glyph, x, top);
    }
}

static void drawGlyphs(HDC hDC, const GRIDVIEW *view)
{
    selectDrawingAttributes(hDC);
    for (int i = 0; i < view->rows; i++) {
        int top = screenRowTop(i);
        int y = offsetBy(top, view->glyphOffset);
        drawRowGlyphs(hDC, view, i, top, y);
        if (FontViewState.showBaseline)
            drawBaseline(hDC, &view->client, y);
    }
    deleteFontUnderTest(hDC);
}

void paintGrid(HWND hwnd, HDC hDC)
{
    GRIDVIEW view;
    readView(&view, hwnd);
    drawLabels(hDC, &view);
    drawGlyphs(hDC, &view);
}
