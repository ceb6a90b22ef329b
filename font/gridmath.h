/* The grid's arithmetic, on plain numbers: layout, cell and row positions, scroll targets.
   Sums and products are taken in 64 bits and brought back into the int range, so a font
   with absurd metrics gives the nearest representable position instead of a wrapped one. */
#ifndef VELMORA_GRIDMATH_H
#define VELMORA_GRIDMATH_H

#include <windows.h>
#include <limits.h>

enum {
    GRID_LAST_CODE = 0xFFFF,        /* the grid shows every 16-bit code, 0x0000 to 0xFFFF */
    GRID_MIN_COLUMNS = 16,
    GRID_MIN_SPACING = 3,           /* least leading below a row; padding beside a glyph */
    GRID_LABEL_CHARACTERS = 5       /* "%04x:" */
};

inline int saturateToInt(LONGLONG value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return (int)value;
}

/* The width or height between two edges of a rectangle. */
inline int spanOf(int from, int to)
{
    return saturateToInt((LONGLONG)to - from);
}

/* Signed division truncating toward zero; a zero divisor, which no real font gives, counts as 1. */
inline LONGLONG divideOrKeep(LONGLONG numerator, int divisor)
{
    return divisor == 0 ? numerator : numerator / divisor;
}

inline int layoutRowHeight(int height, int externalLeading)
{
    int leading = externalLeading >= GRID_MIN_SPACING ? externalLeading : GRID_MIN_SPACING;
    return saturateToInt((LONGLONG)height + leading);
}

inline int layoutColumnWidth(int maxCharWidth, int overhang)
{
    return saturateToInt((LONGLONG)maxCharWidth + overhang + GRID_MIN_SPACING);
}

inline int layoutLabelWidth(int systemAveCharWidth)
{
    return saturateToInt((LONGLONG)GRID_LABEL_CHARACTERS * systemAveCharWidth);
}

inline int layoutCharsPerRow(int clientLeft, int clientRight, int labelWidth, int columnWidth)
{
    LONGLONG fitting = divideOrKeep((LONGLONG)clientRight - labelWidth - clientLeft, columnWidth);
    return fitting < GRID_MIN_COLUMNS ? GRID_MIN_COLUMNS : saturateToInt(fitting);
}

/* The index of the row holding the last code; charsPerRow is never below 16. */
inline int layoutRowCount(int charsPerRow)
{
    return GRID_LAST_CODE / (charsPerRow > 0 ? charsPerRow : GRID_MIN_COLUMNS);
}

inline int layoutHorizontalMaximum(int charsPerRow, int columnWidth, int labelWidth, int clientWidth)
{
    LONGLONG excess = (LONGLONG)charsPerRow * columnWidth + labelWidth - clientWidth;
    return excess < 0 ? 0 : saturateToInt(excess);
}

inline int layoutVerticalMaximum(int rowCount)
{
    return rowCount < 0 ? 0 : rowCount;
}

/* How far below the row top the glyph's reference point lies, chosen by exact alignment. */
inline int glyphOffset(UINT textAlign, int ascent, int height)
{
    if (textAlign == TA_BASELINE)
        return ascent;
    if (textAlign == TA_BOTTOM)
        return height;
    return 0;
}

/* Rows a paint draws: the whole ones plus the partly visible one at the bottom. */
inline int visibleRows(int clientTop, int clientBottom, int rowHeight)
{
    return saturateToInt(divideOrKeep((LONGLONG)clientBottom - clientTop, rowHeight) + 1);
}

/* Whole rows in the client area: one vertical page. */
inline int pageRows(int clientTop, int clientBottom, int rowHeight)
{
    return saturateToInt(divideOrKeep((LONGLONG)clientBottom - clientTop, rowHeight));
}

inline int rowTop(int screenRow, int rowHeight, int externalLeading)
{
    return saturateToInt((LONGLONG)screenRow * rowHeight + externalLeading / 2);
}

inline int offsetBy(int position, int distance)
{
    return saturateToInt((LONGLONG)position + distance);
}

inline int cellX(int column, int columnWidth, int horizontalOffset, int labelWidth)
{
    return saturateToInt((LONGLONG)column * columnWidth - horizontalOffset + labelWidth + 1);
}

/* The row labels move with the cells, so they leave the window when it is scrolled right. */
inline int labelX(int horizontalOffset)
{
    return saturateToInt(-(LONGLONG)horizontalOffset);
}

/* The grid row shown on a screen row, and the code in one of its columns: wide enough
   for any row, column and width. */
inline LONGLONG gridRow(int firstRow, int screenRow)
{
    return (LONGLONG)firstRow + screenRow;
}

inline LONGLONG cellCode(LONGLONG row, int charsPerRow, int column)
{
    return row * charsPerRow + column;
}

/* The dashed box around a glyph of extent cx by cy, anchored on the row top. */
inline RECT glyphBox(int x, int top, int cx, int cy)
{
    RECT box;
    box.left = offsetBy(x, -1);
    box.top = offsetBy(top, -1);
    box.right = saturateToInt((LONGLONG)x + cx + 1);
    box.bottom = saturateToInt((LONGLONG)top + cy + 1);
    return box;
}

/* Where a scroll code moves a bar (the vertical names stand for the horizontal ones of the
   same value): line and page are that bar's step sizes. Answers FALSE for the codes that
   move nothing: thumb tracking, end of scroll and unknown codes. */
inline BOOL scrollTarget(int code, int position, int line, int page, int thumbPosition, int *target)
{
    switch (code) {
    case SB_LINEUP:        *target = saturateToInt((LONGLONG)position - line); return TRUE;
    case SB_LINEDOWN:      *target = offsetBy(position, line); return TRUE;
    case SB_PAGEUP:        *target = saturateToInt((LONGLONG)position - page); return TRUE;
    case SB_PAGEDOWN:      *target = offsetBy(position, page); return TRUE;
    case SB_THUMBPOSITION: *target = thumbPosition; return TRUE;
    case SB_TOP:           *target = 0; return TRUE;
    case SB_BOTTOM:        *target = INT_MAX; return TRUE;
    }
    return FALSE;
}

/* max(minimum, min(value, maximum)): the minimum wins should the range be inverted. */
inline int clampScroll(int value, int minimum, int maximum)
{
    int upper = value < maximum ? value : maximum;
    return upper < minimum ? minimum : upper;
}

/* Pixels the painted content moves when a bar goes from one position to another. */
inline int scrollDistance(int oldPosition, int newPosition, int pixelsPerUnit)
{
    return saturateToInt(((LONGLONG)oldPosition - newPosition) * pixelsPerUnit);
}

#endif
