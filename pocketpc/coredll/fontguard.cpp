/* Guards before the font calls that Wine 8.0 gets fatally wrong for some fonts and sizes: a
   user's own font, or an absurd size typed into a field, must never kill the program. The
   record beside the checks (pocketpc/fontcheck/font-faults.md) tells each fault by its row:
   where it is, what reaches it, its smallest case and the test that shows it kept away. Here:

   - Row 1, an em of 0 pixels with a width: measured with the width left out, as the platform
     leaves out any width over 100 times the height, and drawn without ink.
   - Rows 2, 8 and 9, a glyph the platform cannot rasterise (a negative box; a ClearType glyph
     FreeType cannot render or the platform copies past): a negative box is drawn as a space
     of the character's advance, a ClearType one as its outline.
   - Rows 3 and 4, a glyph bitmap too large for the platform's glyph cache: drawn as the
     platform's outline of it, cut to what can be seen and filled in the text colour.
   - Row 6, shaping with damaged tables: every text is drawn unshaped (ETO_IGNORELANGUAGE), as
     a Japanese Windows Mobile 5 device, built without complex-script support, draws it.

   Where a glyph is left out or outlined, one real ExtTextOutW call still draws the text with
   that glyph replaced by a space and every character at its own advance: the platform keeps
   its own positions, background, rectangle, alignment and current position. */
#include "fontcheck.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

extern "C" BOOL WINAPI ceGetTextMetricsW(HDC dc, TEXTMETRICW *metrics)
{
    if (!fontFacts(dc)->zeroEmWithWidth)
        return GetTextMetricsW(dc, metrics);
    HFONT original = selectWithoutWidth(dc);
    BOOL answered = original && GetTextMetricsW(dc, metrics);
    putBackFont(dc, original);
    return answered;
}

extern "C" BOOL WINAPI ceGetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                                               LPINT partialExtents, LPSIZE size)
{
    if (!fontFacts(dc)->zeroEmWithWidth)
        return GetTextExtentExPointW(dc, text, count, maxExtent, fit, partialExtents, size);
    HFONT original = selectWithoutWidth(dc);
    BOOL answered = original && GetTextExtentExPointW(dc, text, count, maxExtent, fit, partialExtents, size);
    putBackFont(dc, original);
    return answered;
}

/* No ink, but the call's own rectangle, which the platform fills the same with any font:
   the stock one stands in, as no call may reach the platform with this one. Without a
   rectangle to fill there is nothing to draw, and the current position moves by nothing. */
static BOOL drawWithoutInk(HDC dc, int x, int y, UINT options, const RECT *rect)
{
    if (!(options & ETO_OPAQUE) || !rect)
        return TRUE;
    HGDIOBJ original = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    BOOL drawn = original && ExtTextOutW(dc, x, y, options & (ETO_OPAQUE | ETO_CLIPPED), rect, L"", 0, NULL);
    if (original)
        SelectObject(dc, original);
    return drawn;
}

static bool allGlyphsSound(HDC dc, FontFacts *font, LPCWSTR text, UINT count)
{
    for (UINT i = 0; i < count; i++)
        if (glyphKind(dc, font, text[i]) != SOUND_GLYPH)
            return false;
    return true;
}

/* The advances ExtTextOutW gives the characters when it has no lpDx: the steps between
   the partial extents, less the character extra that it adds to every lpDx entry (but a
   printer's). */
static bool platformAdvances(HDC dc, LPCWSTR text, UINT count, INT *dx)
{
    SIZE size;
    if (!GetTextExtentExPointW(dc, text, (int)count, 0, NULL, dx, &size))
        return false;
    int extra = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER ? 0 : GetTextCharacterExtra(dc);
    for (UINT i = count - 1; i > 0; i--)
        dx[i] -= dx[i - 1] + extra;
    dx[0] -= extra;
    return true;
}

/* The text in two parts: the sound glyphs with spaces for the others, and the oversized
   glyphs with spaces for the others; answers whether any glyph is oversized. */
static bool splitGlyphs(HDC dc, FontFacts *font, LPCWSTR text, UINT count, WCHAR *sound, WCHAR *oversized)
{
    bool any = false;
    for (UINT i = 0; i < count; i++) {
        GlyphKind kind = glyphKind(dc, font, text[i]);
        sound[i] = kind == SOUND_GLYPH ? text[i] : L' ';
        oversized[i] = kind == OVERSIZED_GLYPH ? text[i] : L' ';
        any |= kind == OVERSIZED_GLYPH;
    }
    return any;
}

/* ---- Outlines clipped to what can be seen ---- */

/* The platform turns a whole path into a region before clipping it: for glyphs thousands of
   pixels tall, over and over, that takes minutes. Each figure of the flattened outline is cut
   to the clip box first, edge by edge (Sutherland and Hodgman): what lies outside becomes
   edges along the box, which fill nothing, and each edge at most doubles a figure's points. */
enum ClipEdge { LEFT_EDGE, RIGHT_EDGE, TOP_EDGE, BOTTOM_EDGE, CLIP_EDGES };

static bool insideEdge(POINT p, int edge, const RECT &box)
{
    switch (edge) {
    case LEFT_EDGE: return p.x >= box.left;
    case RIGHT_EDGE: return p.x <= box.right;
    case TOP_EDGE: return p.y >= box.top;
    default: return p.y <= box.bottom;
    }
}

/* Where the segment from a to b, whose ends lie on either side of the edge, crosses it. */
static POINT crossing(POINT a, POINT b, int edge, const RECT &box)
{
    POINT p;
    if (edge == LEFT_EDGE || edge == RIGHT_EDGE) {
        p.x = edge == LEFT_EDGE ? box.left : box.right;
        p.y = (LONG)(a.y + ((LONGLONG)b.y - a.y) * ((LONGLONG)p.x - a.x) / ((LONGLONG)b.x - a.x));
    } else {
        p.y = edge == TOP_EDGE ? box.top : box.bottom;
        p.x = (LONG)(a.x + ((LONGLONG)b.x - a.x) * ((LONGLONG)p.y - a.y) / ((LONGLONG)b.y - a.y));
    }
    return p;
}

static UINT clipToEdge(const POINT *in, UINT count, POINT *out, int edge, const RECT &box)
{
    UINT kept = 0;
    for (UINT i = 0; i < count; i++) {
        POINT from = in[(i + count - 1) % count], to = in[i];
        bool fromInside = insideEdge(from, edge, box), toInside = insideEdge(to, edge, box);
        if (fromInside != toInside)
            out[kept++] = crossing(from, to, edge, box);
        if (toInside)
            out[kept++] = to;
    }
    return kept;
}

/* The figure cut to the box, into out, which holds 16 times its points; answers how many
   it keeps. */
static UINT clipFigure(const POINT *figure, UINT count, POINT *out, POINT *scratch, const RECT &box)
{
    memcpy(out, figure, count * sizeof(POINT));
    for (int edge = 0; edge < CLIP_EDGES && count > 0; edge++) {
        count = clipToEdge(out, count, scratch, edge, box);
        memcpy(out, scratch, count * sizeof(POINT));
    }
    return count;
}

/* The flattened path's closed figures, cut to the clip box and filled with the brush. */
static void fillClippedPath(HDC dc)
{
    int count = GetPath(dc, NULL, NULL, 0);
    POINT *points = count > 0 ? (POINT *)malloc((size_t)count * (sizeof(POINT) * 33 + sizeof(INT) + 1)) : NULL;
    if (!points)
        return;
    POINT *clipped = points + count, *scratch = clipped + 16 * (size_t)count;
    INT *figureSizes = (INT *)(scratch + 16 * (size_t)count);
    BYTE *types = (BYTE *)(figureSizes + count);
    RECT box;
    if (GetPath(dc, points, types, count) == count && GetClipBox(dc, &box) != ERROR) {
        InflateRect(&box, 1, 1);
        UINT total = 0, figures = 0;
        for (int start = 0, end; start < count; start = end) {
            for (end = start + 1; end < count && (types[end] & ~PT_CLOSEFIGURE) != PT_MOVETO; end++)
                ;
            UINT kept = clipFigure(points + start, end - start, clipped + total, scratch, box);
            if (kept >= 3) {
                figureSizes[figures++] = kept;
                total += kept;
            }
        }
        if (figures)
            PolyPolygon(dc, clipped, figureSizes, figures);
    }
    free(points);
}

/* The outlines of the text's glyphs, filled as the platform fills text: in the text colour,
   inside the call's rectangle when it clips, leaving the current position where the first
   drawing of the text put it. */
static void fillOutlines(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text, UINT count,
                         const INT *dx, POINT start)
{
    HBRUSH ink = CreateSolidBrush(GetTextColor(dc));
    int saved = SaveDC(dc);
    MoveToEx(dc, start.x, start.y, NULL);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, ink);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SetPolyFillMode(dc, WINDING);
    SetROP2(dc, R2_COPYPEN);
    if ((options & ETO_CLIPPED) && rect)
        IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    if (BeginPath(dc)) {
        ExtTextOutW(dc, x, y, options & ~(ETO_OPAQUE | ETO_CLIPPED), NULL, text, count, dx);
        if (EndPath(dc) && FlattenPath(dc))
            fillClippedPath(dc);
    }
    RestoreDC(dc, saved);
    DeleteObject(ink);
}

/* A font without a space has no empty glyph to draw: the call then draws nothing. */
static BOOL drawGuarded(HDC dc, FontFacts *font, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                        UINT count, const INT *dx)
{
    if (!font->hasSpace)
        return FALSE;
    INT *advances = (INT *)calloc(count, sizeof(INT) + 2 * sizeof(WCHAR));
    if (!advances)
        return FALSE;
    WCHAR *sound = (WCHAR *)(advances + count);
    WCHAR *oversized = sound + count;
    bool outlines = splitGlyphs(dc, font, text, count, sound, oversized);
    if (!dx && platformAdvances(dc, text, count, advances)) {
        dx = advances;
        options &= ~ETO_PDY;
    }
    POINT start;
    GetCurrentPositionEx(dc, &start);
    BOOL drawn = dx && ExtTextOutW(dc, x, y, options, rect, sound, count, dx);
    if (drawn && outlines)
        fillOutlines(dc, x, y, options, rect, oversized, count, dx, start);
    free(advances);
    return drawn;
}

extern "C" BOOL WINAPI ceExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                                     UINT count, const INT *dx)
{
    options |= ETO_IGNORELANGUAGE;
    FontFacts *font = fontFacts(dc);
    if (font->zeroEmWithWidth)
        return drawWithoutInk(dc, x, y, options, rect);
    if (!text || count == 0 || count > INT_MAX || (options & ETO_GLYPH_INDEX) ||
        allGlyphsSound(dc, font, text, count))
        return ExtTextOutW(dc, x, y, options, rect, text, count, dx);
    return drawGuarded(dc, font, x, y, options, rect, text, count, dx);
}
