/* Guards before the font calls that Wine 8.0 gets fatally wrong for some fonts and sizes: a
   user's own font, or an absurd size typed into a field, must never kill the program. Each
   condition is checked before the platform's call reaches the code that faults, through
   calls that stay safe under it (fontcheck.cpp); font-faults.md records each fault, its
   smallest reproduction and the test that shows it kept away.

   Em of 0 pixels. Wine's text metrics (scale_font_metrics, dlls/win32u/font.c) compare a
   font's width with its height as (width + tmHeight - 1) / tmHeight, and every measuring
   and drawing call asks for them. A font whose em rounds to 0 pixels has a tmHeight of 0
   (a tall line spacing at cell heights of 1 or 2, or no vertical metrics at all): with a
   width, the process dies dividing by zero. Smallest case: DejaVu Math TeX Gyre at height
   1, width 7, selected into a screen DC; GetTextMetricsW faults. The platform ignores a
   width more than 100 times the height, which a height of 0 always is: such a font is
   measured as the platform measures it with its width ignored, and draws no ink. Whether
   the em is 0 pixels is learned once for each realised font (fontcheck.cpp).

   Negative boxes. Wine's FreeType path gives some glyphs at small sizes a box of negative
   height (combining marks; glyphs clipped to a cell of little height), and rasterising one
   corrupts the heap. Smallest case: DejaVu Sans Mono at height -8;
   GetGlyphOutlineW(U+032E, GGO_METRICS) answers a box of 2 by 0xFFFFFFFC and a GGO_BITMAP
   size of 0xFFFFFFF0; ExtTextOutW of U+032E faults. The box drawn in black and white can be
   negative alone, so it is asked too where it can differ (fontcheck.cpp). Each code's
   answer is kept with the font. Such a glyph has no ink: it is drawn as a space of the
   character's own advance.

   Oversized glyphs. Wine's glyph cache (cache_glyph_bitmap, dlls/win32u/dibdrv/graphics.c)
   sizes a glyph's bitmap in 32 bits and addresses its rows with int offsets: from 2 GiB on
   the process dies writing outside it. Smallest case: Tahoma at height -65535 (the largest
   em Wine allows); ExtTextOutW of U+0000 faults. Below that the cache keeps a bitmap for
   every code drawn while the font is in use, gigabytes for a large font. A glyph larger
   than MAX_GLYPH_PIXELS is drawn as the platform's outline of it, cut to what can be seen and
   filled in the text colour, which needs no glyph bitmap.

   Shaping. Wine's ExtTextOutW reorders and shapes every text with the font's GSUB, GPOS
   and GDEF tables (BIDI_Reorder, dlls/gdi32/text.c; dlls/gdi32/uniscribe/opentype.c), whose
   offsets it follows without bounds: a damaged GSUB reads outside the table and the process
   dies. Smallest case: a copy of Tahoma with 10 bytes of its GSUB changed (tools/fontfuzz,
   seed 1, fuzz-0154.ttf); drawing U+0608 faults. Complex-script support is an optional
   component of Windows CE, which a Japanese Windows Mobile 5 device is built without: its
   ExtTextOutW draws each character's own glyph as given. So does this one, with the
   platform's ETO_IGNORELANGUAGE, which leaves the tables unread.

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
