/* The conditions under which Wine 8.0's font code faults, asked of a font through calls
   that stay safe under them: its outline metrics, which the platform scales in floating
   point, and a glyph's metrics, which need no bitmap. */
#include "fontcheck.h"

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

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
bool hasZeroEmWithWidth(HDC dc)
{
    LOGFONTW font;
    OUTLINETEXTMETRICW metrics;
    return logFontOf(dc, &font) && font.lfWidth != 0 && outlineMetricsOf(dc, &metrics) &&
           metrics.otmTextMetrics.tmHeight == 0;
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

/* The glyph's box as the platform gives it for a format, without a bitmap; a check that
   fails counts as an empty box. */
static void glyphBox(HDC dc, WCHAR c, UINT format, INT *width, INT *height)
{
    GLYPHMETRICS metrics;
    *width = *height = 0;
    if (GetGlyphOutlineW(dc, c, format, &metrics, 0, NULL, &identity) == GDI_ERROR)
        return;
    *width = (INT)metrics.gmBlackBoxX;
    *height = (INT)metrics.gmBlackBoxY;
}

/* The platform draws either anti-aliased, with the glyph loaded as for its metrics, or in
   black and white, with the glyph hinted for it and a font's own bitmaps: the two boxes can
   differ, and either can be negative. */
static const UINT drawnFormats[] = { GGO_METRICS, GGO_BITMAP };

GlyphKind glyphKind(HDC dc, WCHAR c)
{
    LONGLONG largest = 0;
    for (UINT format : drawnFormats) {
        INT width, height;
        glyphBox(dc, c, format, &width, &height);
        if (width < 0 || height < 0)
            return EMPTY_GLYPH;
        if ((LONGLONG)width * height > largest)
            largest = (LONGLONG)width * height;
    }
    if (largest > MAX_GLYPH_PIXELS || overflowsSubpixelRaster(dc, c))
        return OVERSIZED_GLYPH;
    return SOUND_GLYPH;
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

/* The device smooths in ClearType: the platform reads so once, as the process starts
   (dlls/win32u/font.c, init_font_options), and so does this. */
static bool smoothsInClearType(void)
{
    static int clearType = -1;
    if (clearType < 0) {
        BOOL smoothing = FALSE;
        UINT type = 0;
        clearType = SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0) && smoothing &&
                    SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0) && type == FE_FONTSMOOTHINGCLEARTYPE;
    }
    return clearType;
}

/* ClearType asked by the font, or by the device's smoothing for a font that leaves it to the
   device (dlls/win32u/font.c, font_SelectFont). */
bool drawsSubpixel(HDC dc)
{
    LOGFONTW font;
    if (!logFontOf(dc, &font))
        return false;
    if (font.lfQuality == CLEARTYPE_QUALITY || font.lfQuality == CLEARTYPE_NATURAL_QUALITY)
        return true;
    return font.lfQuality != NONANTIALIASED_QUALITY && font.lfQuality != ANTIALIASED_QUALITY && smoothsInClearType();
}

/* A box of width pixels whose farthest point from the glyph's origin is reach pixels away,
   padded as FreeType pads and rounds a ClearType bitmap's box. */
static bool fitsSubpixelRaster(LONGLONG width, LONGLONG reach)
{
    return SUBPIXEL_CELLS_PER_PIXEL * (width + SUBPIXEL_PAD_PIXELS) + 1 <= SUBPIXEL_ROW_CELLS &&
           reach + SUBPIXEL_PAD_PIXELS < SUBPIXEL_REACH_PIXELS;
}

/* FIXED to pixels, rounded away from the glyph's origin. */
static LONGLONG pixelsOf(FIXED value)
{
    LONGLONG sixteenths = (LONGLONG)value.value * 65536 + value.fract;
    return sixteenths < 0 ? -((-sixteenths + 0xFFFF) >> 16) : (sixteenths + 0xFFFF) >> 16;
}

/* The box of the glyph's outline as the platform turns it for drawing, before its metrics
   clip it to the cell: all its points, those off the curve too, as FreeType bounds a bitmap.
   False for a glyph without an outline. */
static bool outlineBox(HDC dc, WCHAR c, RECT *box)
{
    GLYPHMETRICS metrics;
    DWORD size = GetGlyphOutlineW(dc, c, GGO_NATIVE, &metrics, 0, NULL, &identity);
    if (size == GDI_ERROR || size == 0)
        return false;
    BYTE *outline = (BYTE *)malloc(size);
    bool read = outline && GetGlyphOutlineW(dc, c, GGO_NATIVE, &metrics, size, outline, &identity) == size;
    bool any = false;
    for (DWORD at = 0; read && size - at >= sizeof(TTPOLYGONHEADER);) {
        const TTPOLYGONHEADER *figure = (const TTPOLYGONHEADER *)(outline + at);
        if (figure->cb < sizeof *figure || figure->cb > size - at)
            break;
        std::vector<POINTFX> points(1, figure->pfxStart);
        for (DWORD part = sizeof *figure; figure->cb - part >= sizeof(TTPOLYCURVE);) {
            const TTPOLYCURVE *curve = (const TTPOLYCURVE *)(outline + at + part);
            DWORD length = sizeof *curve + (curve->cpfx ? curve->cpfx - 1u : 0u) * sizeof(POINTFX);
            if (curve->cpfx == 0 || length > figure->cb - part)
                break;
            points.insert(points.end(), curve->apfx, curve->apfx + curve->cpfx);
            part += length;
        }
        for (const POINTFX &point : points) {
            LONG x = (LONG)pixelsOf(point.x), y = (LONG)pixelsOf(point.y);
            if (!any)
                SetRect(box, x, y, x, y);
            box->left = std::min(box->left, x);
            box->right = std::max(box->right, x);
            box->bottom = std::min(box->bottom, y);
            box->top = std::max(box->top, y);
            any = true;
        }
        at += figure->cb;
    }
    free(outline);
    return any;
}

/* How far two spans overlap, in pixels; less than 0 apart. */
static LONG overlap(LONG low, LONG high, LONG otherLow, LONG otherHigh)
{
    return std::min(high, otherHigh) - std::max(low, otherLow);
}

/* The platform copies FreeType's bitmap into a box of its own metrics, clipped to the cell and
   then turned, shifting it by the distance between the two in unsigned arithmetic: a bitmap
   that lies outside that box (a glyph wholly outside the cell, turned) is read or written past
   its rows. Within a pixel, as the two are hinted apart. */
static bool besidePlatformBox(const RECT &outline, const RECT &platform)
{
    bool within = outline.left >= platform.left - 1 && outline.right <= platform.right + 1 &&
                  outline.bottom >= platform.bottom - 1 && outline.top <= platform.top + 1;
    return !within && (overlap(outline.left, outline.right, platform.left, platform.right) < 2 ||
                       overlap(outline.bottom, outline.top, platform.bottom, platform.top) < 2);
}

/* The farthest a box reaches from the glyph's origin. */
static LONGLONG reachOf(const RECT &box)
{
    return std::max(std::max(llabs(box.left), llabs(box.right)), std::max(llabs(box.top), llabs(box.bottom)));
}

/* The platform's own sub-pixel format (WINE_GGO_HRGB_BITMAP): asked without a buffer, it
   loads the glyph hinted for ClearType and answers its box, padded by a pixel each side, and
   renders nothing. */
enum { PLATFORM_GGO_HRGB_BITMAP = 0x11, PLATFORM_SUBPIXEL_PADDING = 2 };

/* A glyph's box in a format, from its origin; false when the platform has none. */
static bool metricsBox(HDC dc, WCHAR c, UINT format, RECT *box)
{
    GLYPHMETRICS metrics;
    if (GetGlyphOutlineW(dc, c, format, &metrics, 0, NULL, &identity) == GDI_ERROR)
        return false;
    box->left = metrics.gmptGlyphOrigin.x;
    box->right = (LONG)(box->left + (LONGLONG)(INT)metrics.gmBlackBoxX);
    box->top = metrics.gmptGlyphOrigin.y;
    box->bottom = (LONG)(box->top - (LONGLONG)(INT)metrics.gmBlackBoxY);
    return true;
}

/* FreeType renders the outline that the platform hands it. GGO_NATIVE gives it turned for
   escapement and vertical writing and not clipped to the cell, as the metrics are, but hinted
   for grey, which can make it narrower than ClearType's by more than a dozen pixels (a
   variable face made bold, stretched); the ClearType metrics give its hinted width, clipped.
   The wider of the two counts. Outline points are 16-bit pixels, so that the metrics' boxes,
   in full, tell a far reach too. */
bool overflowsSubpixelRaster(HDC dc, WCHAR c)
{
    RECT outline, platform, subpixel;
    if (!drawsSubpixel(dc) || !outlineBox(dc, c, &outline) || !metricsBox(dc, c, GGO_METRICS, &platform) ||
        !metricsBox(dc, c, PLATFORM_GGO_HRGB_BITMAP, &subpixel))
        return false;
    LONGLONG width = std::max((LONGLONG)outline.right - outline.left,
                              (LONGLONG)subpixel.right - subpixel.left - PLATFORM_SUBPIXEL_PADDING);
    LONGLONG reach = std::max(std::max(reachOf(outline), reachOf(platform)), reachOf(subpixel));
    return !fitsSubpixelRaster(width, reach) || besidePlatformBox(outline, platform);
}

/* Turned any way, a glyph's box stays within the square of the font box's diagonal, and its
   points within the diagonal of its origin. */
bool mayOverflowSubpixelRaster(HDC dc)
{
    OUTLINETEXTMETRICW metrics;
    if (!outlineMetricsOf(dc, &metrics))
        return false;
    double width = (double)metrics.otmrcFontBox.right - metrics.otmrcFontBox.left;
    double height = (double)metrics.otmrcFontBox.top - metrics.otmrcFontBox.bottom;
    LONGLONG diagonal = (LONGLONG)std::min(sqrt(width * width + height * height) + 1, 1e15);
    return !fitsSubpixelRaster(diagonal, diagonal) && drawsSubpixel(dc);
}
