/* The conditions under which Wine 8.0's font code faults, asked of a font through calls
   that stay safe under them: its outline metrics, which the platform scales in floating
   point, and a glyph's metrics, which need no bitmap.

   What a check learns is kept under the platform's number for the font's realisation
   (GetFontRealizationInfo: dlls/win32u/font.c, cache_gdi_font, gives every font it realises
   the next number of a process-wide count and never gives one twice). A realisation is one
   face at one size and transform, with its glyphs and metrics fixed for its lifetime; the
   same LOGFONTW realised in another DC with another transform, or again after its HFONT was
   deleted and the platform let the realisation go, comes back under a new number. So nothing
   kept can outlive what it describes: selecting another font, deleting the font or reusing
   its handle only changes which number the next call finds. A DC whose font the platform
   cannot number is asked afresh on every call. */
#include "fontcheck.h"

#include <stdlib.h>
#include <string.h>

static const MAT2 identity = { { 0, 1 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };

/* The head of the outline metrics of the font selected into dc; false for a font without. */
static bool outlineMetricsOf(HDC dc, OUTLINETEXTMETRICW *head)
{
    UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
    if (size < sizeof *head)
        return false;
    OUTLINETEXTMETRICW *answer = (OUTLINETEXTMETRICW *)malloc(size);
    bool answered = answer && GetOutlineTextMetricsW(dc, size, answer);
    if (answered)
        *head = *answer;
    free(answer);
    return answered;
}

static bool logFontOf(HDC dc, LOGFONTW *font)
{
    return GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof *font, font) == sizeof *font;
}

/* Only outline faces reach the division: a bitmap face's cell is a strike's height. */
static bool zeroEmWithWidth(HDC dc, OUTLINETEXTMETRICW *metrics)
{
    LOGFONTW font;
    return logFontOf(dc, &font) && font.lfWidth != 0 && outlineMetricsOf(dc, metrics) &&
           metrics->otmTextMetrics.tmHeight == 0;
}

HFONT selectWithoutWidth(HDC dc)
{
    LOGFONTW font;
    if (!logFontOf(dc, &font))
        return NULL;
    font.lfWidth = 0;
    HFONT made = CreateFontIndirectW(&font);
    HFONT original = made ? (HFONT)SelectObject(dc, made) : NULL;
    if (!original)
        DeleteObject(made);
    return original;
}

void putBackFont(HDC dc, HFONT original)
{
    if (original)
        DeleteObject(SelectObject(dc, original));
}

/* Turned any way, a glyph's box stays within the square of the font box's diagonal. */
bool mayExceedRasterLimit(HDC dc)
{
    OUTLINETEXTMETRICW metrics;
    if (!outlineMetricsOf(dc, &metrics))
        return false;
    LONGLONG width = (LONGLONG)metrics.otmrcFontBox.right - metrics.otmrcFontBox.left;
    LONGLONG height = (LONGLONG)metrics.otmrcFontBox.top - metrics.otmrcFontBox.bottom;
    return width * width + height * height >= RASTER_LIMIT_PIXELS;
}

/* ---- What is the same for every call with one realised font ---- */

static bool glyphMetrics(HDC dc, UINT c, UINT format, GLYPHMETRICS *metrics);

/* The platform's record of a realisation (dlls/win32u/font.c, font_GetFontRealizationInfo),
   in its first, shorter form. */
struct RealisationInfo {
    DWORD size, flags, number, instance;
};
extern "C" BOOL WINAPI GetFontRealizationInfo(HDC dc, RealisationInfo *info);

static DWORD realisationOf(HDC dc)
{
    RealisationInfo info = { sizeof info, 0, 0, 0 };
    return GetFontRealizationInfo(dc, &info) ? info.number : 0;
}

static DWORD bigEndian32(const BYTE *bytes)
{
    return (DWORD)bytes[0] << 24 | (DWORD)bytes[1] << 16 | (DWORD)bytes[2] << 8 | bytes[3];
}

/* The font's own bitmaps (an 'EBLC' table, or Apple's 'bloc': a count of strikes after the
   version, then 48 bytes a strike with its pixels per em at 45) hold a strike that FreeType
   may draw in place of the outline at em, which the text metrics give to within a pixel or
   two (ascent, descent and internal leading are each rounded). A table that cannot be read
   may. */
static bool hasStrikeNear(HDC dc, char a, char b, char c, char d, LONG em)
{
    DWORD tag = (DWORD)(BYTE)a | (DWORD)(BYTE)b << 8 | (DWORD)(BYTE)c << 16 | (DWORD)(BYTE)d << 24;
    enum { HEAD = 8, STRIKE = 48, STRIKE_PPEM_Y = 45, MOST_STRIKES = 256 };
    BYTE head[HEAD];
    DWORD size = GetFontData(dc, tag, 0, NULL, 0);
    if (size == GDI_ERROR)
        return false;
    if (size < HEAD || GetFontData(dc, tag, 0, head, HEAD) != HEAD)
        return true;
    DWORD strikes = bigEndian32(head + 4);
    if (strikes > MOST_STRIKES || size < HEAD + strikes * STRIKE)
        return true;
    for (DWORD i = 0; i < strikes; i++) {
        BYTE ppem;
        if (GetFontData(dc, tag, HEAD + i * STRIKE + STRIKE_PPEM_Y, &ppem, 1) != 1 || abs(ppem - em) <= 2)
            return true;
    }
    return false;
}

static bool hasSpaceGlyph(HDC dc)
{
    WORD index = 0xFFFF;
    return GetGlyphIndicesW(dc, L" ", 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
}

/* Logical units are the font's own pixels only without a mapping or a world transform. */
static bool drawsInFontPixels(HDC dc)
{
    XFORM world;
    return GetMapMode(dc) == MM_TEXT && GetWorldTransform(dc, &world) && world.eM11 == 1 && world.eM12 == 0 &&
           world.eM21 == 0 && world.eM22 == 1;
}

static void learnFont(HDC dc, FontFacts *font, DWORD realisation)
{
    OUTLINETEXTMETRICW metrics;
    memset(font, 0, sizeof *font);
    font->realisation = realisation;
    font->zeroEmWithWidth = zeroEmWithWidth(dc, &metrics);
    if (font->zeroEmWithWidth)
        return;
    font->hasSpace = hasSpaceGlyph(dc);
    font->hasMissingGlyph = glyphMetrics(dc, 0, GGO_METRICS | GGO_GLYPH_INDEX, &font->missingGlyph);
    font->cellKnown = drawsInFontPixels(dc) && outlineMetricsOf(dc, &metrics);
    if (!font->cellKnown)
        return;
    font->cellTop = metrics.otmTextMetrics.tmAscent;
    font->cellBottom = -metrics.otmTextMetrics.tmDescent;
    LONG em = metrics.otmTextMetrics.tmHeight - metrics.otmTextMetrics.tmInternalLeading;
    font->ownBitmaps = hasStrikeNear(dc, 'E', 'B', 'L', 'C', em) || hasStrikeNear(dc, 'b', 'l', 'o', 'c', em);
}

/* A few fonts at a time: the grid's, the labels' and the one it changes to. Each thread
   keeps its own, so that no record changes under a call. */
enum { KEPT_FONTS = 6 };
static thread_local FontFacts keptFonts[KEPT_FONTS];
static thread_local unsigned lastUse[KEPT_FONTS], uses;
static thread_local FontFacts unnumbered;

FontFacts *fontFacts(HDC dc)
{
    DWORD realisation = realisationOf(dc);
    if (!realisation) {
        learnFont(dc, &unnumbered, 0);
        return &unnumbered;
    }
    int oldest = 0;
    for (int i = 0; i < KEPT_FONTS; i++) {
        if (keptFonts[i].realisation == realisation) {
            lastUse[i] = ++uses;
            return &keptFonts[i];
        }
        if (lastUse[i] < lastUse[oldest])
            oldest = i;
    }
    learnFont(dc, &keptFonts[oldest], realisation);
    lastUse[oldest] = ++uses;
    return &keptFonts[oldest];
}

/* ---- Each glyph ---- */

static bool glyphMetrics(HDC dc, UINT c, UINT format, GLYPHMETRICS *metrics)
{
    return GetGlyphOutlineW(dc, c, format, metrics, 0, NULL, &identity) != GDI_ERROR;
}

/* A box of negative size wraps to a large unsigned one. */
static GlyphKind kindOfBox(const GLYPHMETRICS &metrics)
{
    INT width = (INT)metrics.gmBlackBoxX, height = (INT)metrics.gmBlackBoxY;
    if (width < 0 || height < 0)
        return EMPTY_GLYPH;
    return (LONGLONG)width * height > MAX_GLYPH_PIXELS ? OVERSIZED_GLYPH : SOUND_GLYPH;
}

/* The platform draws either smoothed, the glyph loaded as for its metrics (GGO_METRICS and
   the grey formats load alike: dlls/win32u/freetype.c, get_load_flags), or in black and
   white (GGO_BITMAP), hinted for it and from the font's own bitmaps where it has a strike
   at its size. Either box is the glyph's extent clipped to the cell, top = min(top, ascent)
   and bottom = max(bottom, -descent) (freetype_get_glyph_outline): it turns negative only
   for a glyph lying wholly above or below the cell. Hinting for black and white moves an
   outline's edges by whole pixels, at most MOST_HINTING_SHIFT of them over every code of the
   device's faces and DejaVu's at heights 1 to 32, outside the sizes of Tahoma's own strikes.
   So the black-and-white box is asked only where it can differ in kind: for a glyph lying
   within that shift of leaving the cell wholly, for one within a pixel each way of
   MAX_GLYPH_PIXELS, for a font drawn from its own bitmaps, and for a glyph the font lacks,
   which the platform takes from a linked font whose tables cannot be asked (but the font's
   own missing glyph, which it draws where none has the code). */
enum { MOST_HINTING_SHIFT = 2 };

static bool mayLeaveTheCell(const FontFacts *font, const GLYPHMETRICS &smoothed)
{
    LONG top = smoothed.gmptGlyphOrigin.y;
    /* The platform gives an empty box a height of 1. */
    LONG bottom = top - (smoothed.gmBlackBoxY > 1 ? (LONG)smoothed.gmBlackBoxY : 0);
    return font->cellTop - bottom <= MOST_HINTING_SHIFT || top - font->cellBottom <= MOST_HINTING_SHIFT;
}

static bool mayBeOversized(const GLYPHMETRICS &smoothed)
{
    return ((LONGLONG)smoothed.gmBlackBoxX + 2) * ((LONGLONG)smoothed.gmBlackBoxY + 2) > MAX_GLYPH_PIXELS;
}

static bool fromLinkedFont(HDC dc, const FontFacts *font, WCHAR c, const GLYPHMETRICS &smoothed)
{
    WORD index = 0xFFFF;
    if (GetGlyphIndicesW(dc, &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) != 1)
        return true;
    return index == 0xFFFF && !(font->hasMissingGlyph && !memcmp(&smoothed, &font->missingGlyph, sizeof smoothed));
}

static bool blackAndWhiteMayDiffer(HDC dc, const FontFacts *font, WCHAR c, const GLYPHMETRICS &smoothed)
{
    return font->ownBitmaps || !font->cellKnown || mayLeaveTheCell(font, smoothed) || mayBeOversized(smoothed) ||
           fromLinkedFont(dc, font, c, smoothed);
}

/* A check that fails counts as an empty box, as a glyph the platform cannot load. */
static GlyphKind askGlyphKind(HDC dc, const FontFacts *font, WCHAR c)
{
    GLYPHMETRICS smoothed = {};
    bool loaded = glyphMetrics(dc, c, GGO_METRICS, &smoothed);
    GlyphKind kind = kindOfBox(smoothed);
    if (kind == EMPTY_GLYPH || (loaded && !blackAndWhiteMayDiffer(dc, font, c, smoothed)))
        return kind;
    GLYPHMETRICS blackAndWhite = {};
    glyphMetrics(dc, c, GGO_BITMAP, &blackAndWhite);
    GlyphKind other = kindOfBox(blackAndWhite);
    return other == SOUND_GLYPH ? kind : other;
}

GlyphKind glyphKind(HDC dc, FontFacts *font, WCHAR c)
{
    BYTE &kept = font->glyphKinds[c / 4];
    int shift = c % 4 * 2;
    int known = kept >> shift & 3;
    if (known)
        return (GlyphKind)(known - 1);
    GlyphKind kind = askGlyphKind(dc, font, c);
    kept |= (BYTE)((kind + 1) << shift);
    return kind;
}
