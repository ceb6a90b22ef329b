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

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

static const MAT2 identity = { { 0, 1 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };

/* The head of the outline metrics of the font selected into dc, and where asked its full
   name; false for a font without. */
static bool outlineMetricsOf(HDC dc, OUTLINETEXTMETRICW *head, WCHAR fullName[LF_FULLFACESIZE] = NULL)
{
    UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
    if (size < sizeof *head)
        return false;
    OUTLINETEXTMETRICW *answer = (OUTLINETEXTMETRICW *)calloc(1, size + sizeof(WCHAR));
    bool answered = answer && GetOutlineTextMetricsW(dc, size, answer);
    if (answered)
        *head = *answer;
    if (answered && fullName) {
        size_t offset = (size_t)answer->otmpFaceName;
        answered = offset >= sizeof *answer && offset < size;
        if (answered)
            lstrcpynW(fullName, (const WCHAR *)((const BYTE *)answer + offset), LF_FULLFACESIZE);
    }
    free(answer);
    return answered;
}

static bool logFontOf(HDC dc, LOGFONTW *font)
{
    return GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof *font, font) == sizeof *font;
}

/* Row 1. Only outline faces reach the division: a bitmap face's cell is a strike's height. */
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

/* Turned any way, a glyph's box stays within the square of the font box's diagonal, and its
   points within the diagonal of its origin; 0 for a font without outline metrics. */
static double fontBoxDiagonal(HDC dc)
{
    OUTLINETEXTMETRICW metrics;
    if (!outlineMetricsOf(dc, &metrics))
        return 0;
    double width = (double)metrics.otmrcFontBox.right - metrics.otmrcFontBox.left;
    double height = (double)metrics.otmrcFontBox.top - metrics.otmrcFontBox.bottom;
    return sqrt(width * width + height * height);
}

/* Row 3. */
bool mayExceedRasterLimit(HDC dc)
{
    double diagonal = fontBoxDiagonal(dc);
    return diagonal * diagonal >= RASTER_LIMIT_PIXELS;
}

/* ---- ClearType: rows 8 and 9 ---- */

/* FreeType renders a ClearType glyph three cells to the pixel, and keeps the cells of a pixel
   row in a pool of 16 KiB (FT_RENDER_POOL_SIZE): 682 cells of 24 bytes, less the row's own
   pointer and the pool's end mark. A row may touch every cell of the glyph's width, padded
   for the LCD filter, the rounding of the box and the hinting that the platform applies.
   FreeType renders no glyph that reaches SUBPIXEL_REACH_PIXELS from its origin. */
enum { SUBPIXEL_ROW_CELLS = 680, SUBPIXEL_CELLS_PER_PIXEL = 3, SUBPIXEL_PAD_PIXELS = 5 };
enum { SUBPIXEL_REACH_PIXELS = 0x7FFF };

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
static bool drawsSubpixel(HDC dc)
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
static bool overflowsSubpixelRaster(HDC dc, WCHAR c)
{
    RECT outline, platform, subpixel;
    if (!outlineBox(dc, c, &outline) || !metricsBox(dc, c, GGO_METRICS, &platform) ||
        !metricsBox(dc, c, PLATFORM_GGO_HRGB_BITMAP, &subpixel))
        return false;
    LONGLONG width = std::max((LONGLONG)outline.right - outline.left,
                              (LONGLONG)subpixel.right - subpixel.left - PLATFORM_SUBPIXEL_PADDING);
    LONGLONG reach = std::max(std::max(reachOf(outline), reachOf(platform)), reachOf(subpixel));
    return !fitsSubpixelRaster(width, reach) || besidePlatformBox(outline, platform);
}

bool mayOverflowSubpixelRaster(HDC dc)
{
    LONGLONG diagonal = (LONGLONG)std::min(fontBoxDiagonal(dc) + 1, 1e15);
    return !fitsSubpixelRaster(diagonal, diagonal) && drawsSubpixel(dc);
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

/* A strike of the font's own bitmaps near em: in the 'EBLC' table or Apple's 'bloc'. */
static bool ownStrikeNear(HDC dc, LONG em)
{
    return hasStrikeNear(dc, 'E', 'B', 'L', 'C', em) || hasStrikeNear(dc, 'b', 'l', 'o', 'c', em);
}

/* The em in pixels, as the text metrics give it. */
static LONG emOf(const OUTLINETEXTMETRICW &metrics)
{
    return metrics.otmTextMetrics.tmHeight - metrics.otmTextMetrics.tmInternalLeading;
}

/* ---- The fonts linked behind a font ---- */

/* Where a font lacks a code, the platform draws it from a font linked behind it
   (dlls/win32u/font.c, create_child_font_list and add_child_font): each family that its font
   links give under the font's full name, and, on a double-byte code page, under "Microsoft
   Sans Serif", realised for the font's own LOGFONTW in any character set. The links are made
   when the process starts (load_system_links) from the registry's SystemLink value of each
   name, whose "FILE,FAMILY" entries name the family (kept where the family has that file),
   from the platform's own lists (font_links_defaults_list: behind "Tahoma", "Microsoft Sans
   Serif", "Lucida Sans Unicode" and the face that "MS Shell Dlg" stands for), and for
   "System", Tahoma and its links. Every family that can be linked so is taken, whichever
   name and code page: more than the platform links, never fewer. A family named that no font
   carries links nothing; one that realises under another name (a localised or a full name,
   a face of another family), or an entry without a family, cannot be followed: it counts as
   linking a font with bitmaps of its own. */
static const WCHAR systemLinkKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";
static const WCHAR *const defaultLinks[] = { L"MS UI Gothic", L"SimSun", L"Gulim", L"PMingLiU", L"Batang" };

enum { MOST_LINKED = 32 };

struct LinkedFamilies {
    WCHAR names[MOST_LINKED][LF_FACESIZE];
    int count;
    bool unknown;   /* a family that cannot be named */
};

static void addLinkedFamily(LinkedFamilies *linked, const WCHAR *name)
{
    for (int i = 0; i < linked->count; i++)
        if (!_wcsicmp(linked->names[i], name))
            return;
    if (linked->count == MOST_LINKED || wcslen(name) >= LF_FACESIZE) {
        linked->unknown = true;
        return;
    }
    wcscpy(linked->names[linked->count++], name);
}

/* The families of the SystemLink value of name: "FILE,FAMILY" entries, blanks after the comma. */
static void addRegistryLinks(LinkedFamilies *linked, const WCHAR *name)
{
    enum { MOST_CHARS = 4096 };
    WCHAR *value = (WCHAR *)calloc(MOST_CHARS + 2, sizeof(WCHAR));
    DWORD size = MOST_CHARS * sizeof(WCHAR);
    LSTATUS status = value ? RegGetValueW(HKEY_LOCAL_MACHINE, systemLinkKey, name, RRF_RT_REG_MULTI_SZ | RRF_RT_REG_SZ,
                                          NULL, value, &size)
                           : ERROR_OUTOFMEMORY;
    if (status == ERROR_SUCCESS) {
        for (WCHAR *entry = value; *entry; entry += wcslen(entry) + 1) {
            WCHAR *family = wcschr(entry, L',');
            if (!family) {
                linked->unknown = true;
                continue;
            }
            for (family++; *family == L' ' || *family == L'\t'; family++)
                ;
            addLinkedFamily(linked, family);
        }
    } else if (status != ERROR_FILE_NOT_FOUND) {
        linked->unknown = true;
    }
    free(value);
}

static void linkedFamiliesOf(const WCHAR *fullName, LinkedFamilies *linked)
{
    memset(linked, 0, sizeof *linked);
    for (const WCHAR *name : defaultLinks)
        addLinkedFamily(linked, name);
    addRegistryLinks(linked, fullName);
    addRegistryLinks(linked, L"Microsoft Sans Serif");
    if (!_wcsicmp(fullName, L"System")) {
        addLinkedFamily(linked, L"Tahoma");
        addRegistryLinks(linked, L"Tahoma");
    }
}

static int CALLBACK noteFace(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *(bool *)found = true;
    return 0;
}

/* The platform enumerates a family under its name, any substitute's and its full names. */
static bool familyOnDevice(HDC dc, const WCHAR *name)
{
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, name);
    bool found = false;
    EnumFontFamiliesExW(dc, &font, noteFace, (LPARAM)&found, 0);
    return found;
}

static bool ownStrikeNearItsEm(HDC dc)
{
    OUTLINETEXTMETRICW metrics;
    return !outlineMetricsOf(dc, &metrics) || ownStrikeNear(dc, emOf(metrics));
}

/* The linked family as the platform realises it behind the font: may it draw from bitmaps
   of its own? Its outline metrics, safe at any size, give its em. */
static bool linkedFamilyMayDrawBitmaps(HDC probe, LOGFONTW font, const WCHAR *family)
{
    if (!familyOnDevice(probe, family))
        return false;
    wcscpy(font.lfFaceName, family);
    font.lfCharSet = DEFAULT_CHARSET;
    HFONT made = CreateFontIndirectW(&font);
    HGDIOBJ original = made ? SelectObject(probe, made) : NULL;
    WCHAR realised[LF_FACESIZE] = L"";
    bool may = !original || !GetTextFaceW(probe, LF_FACESIZE, realised) || _wcsicmp(realised, family) ||
               ownStrikeNearItsEm(probe);
    if (original)
        SelectObject(probe, original);
    DeleteObject(made);
    return may;
}

/* Whether a glyph the font lacks may come from a linked font's own bitmaps, asked in a memory
   DC like dc, without a mapping or a world transform: only a font drawn so is spared the
   black-and-white box (drawsInFontPixels), and there the two realise alike. */
static bool linkedFontsMayDrawBitmaps(HDC dc, const WCHAR *fullName)
{
    LOGFONTW font;
    if (!logFontOf(dc, &font))
        return true;
    LinkedFamilies linked;
    linkedFamiliesOf(fullName, &linked);
    HDC probe = CreateCompatibleDC(dc);
    bool may = !probe || linked.unknown;
    for (int i = 0; i < linked.count && !may; i++)
        may = linkedFamilyMayDrawBitmaps(probe, font, linked.names[i]);
    if (probe)
        DeleteDC(probe);
    return may;
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
    WCHAR fullName[LF_FULLFACESIZE];
    memset(font, 0, sizeof *font);
    font->realisation = realisation;
    font->zeroEmWithWidth = zeroEmWithWidth(dc, &metrics);
    if (font->zeroEmWithWidth)
        return;
    font->hasSpace = hasSpaceGlyph(dc);
    font->subpixel = drawsSubpixel(dc);
    font->hasMissingGlyph = glyphMetrics(dc, 0, GGO_METRICS | GGO_GLYPH_INDEX, &font->missingGlyph);
    font->cellKnown = drawsInFontPixels(dc) && outlineMetricsOf(dc, &metrics, fullName);
    if (!font->cellKnown)
        return;
    font->cellTop = metrics.otmTextMetrics.tmAscent;
    font->cellBottom = -metrics.otmTextMetrics.tmDescent;
    font->ownBitmaps = ownStrikeNear(dc, emOf(metrics));
    font->linkedBitmaps = !font->ownBitmaps && linkedFontsMayDrawBitmaps(dc, fullName);
}

/* A few fonts at a time: the grid's, the labels' and the one it changes to. Each thread
   keeps its own, so that no record changes under a call. */
enum { KEPT_FONTS = 6 };
static thread_local FontFacts keptFonts[KEPT_FONTS];
static thread_local unsigned lastUse[KEPT_FONTS], uses;
static thread_local int lastFound;
static thread_local FontFacts unnumbered;

/* The font of the last call is looked at first: the records lie 16 KiB apart, and most calls
   follow one with the same font (with boxes on, the grid draws and measures each glyph in
   turn). A run of calls with one font leaves the order of last use as it was. */
FontFacts *fontFacts(HDC dc)
{
    DWORD realisation = realisationOf(dc);
    if (!realisation) {
        learnFont(dc, &unnumbered, 0);
        return &unnumbered;
    }
    if (keptFonts[lastFound].realisation == realisation)
        return &keptFonts[lastFound];
    int oldest = 0;
    for (int i = 0; i < KEPT_FONTS; i++) {
        if (keptFonts[i].realisation == realisation) {
            lastUse[i] = ++uses;
            lastFound = i;
            return &keptFonts[i];
        }
        if (lastUse[i] < lastUse[oldest])
            oldest = i;
    }
    learnFont(dc, &keptFonts[oldest], realisation);
    lastUse[oldest] = ++uses;
    lastFound = oldest;
    return &keptFonts[oldest];
}

/* ---- Each glyph ---- */

static bool glyphMetrics(HDC dc, UINT c, UINT format, GLYPHMETRICS *metrics)
{
    return GetGlyphOutlineW(dc, c, format, metrics, 0, NULL, &identity) != GDI_ERROR;
}

/* Rows 2 and 3. A box of negative size wraps to a large unsigned one. */
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
   MAX_GLYPH_PIXELS, for a font drawn from its own bitmaps, and for a glyph the font lacks
   where a font linked behind it may draw from bitmaps of its own (but the font's own missing
   glyph, which it draws where none has the code). A linked glyph is clipped to this font's
   cell like its own (freetype_get_glyph_outline clips to the base font's metrics). */
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
           (font->linkedBitmaps && fromLinkedFont(dc, font, c, smoothed));
}

/* A check that fails counts as an empty box, as a glyph the platform cannot load. */
static GlyphKind askGlyphKind(HDC dc, const FontFacts *font, WCHAR c)
{
    GLYPHMETRICS smoothed = {};
    bool loaded = glyphMetrics(dc, c, GGO_METRICS, &smoothed);
    GlyphKind kind = kindOfBox(smoothed);
    if (kind != EMPTY_GLYPH && (!loaded || blackAndWhiteMayDiffer(dc, font, c, smoothed))) {
        GLYPHMETRICS blackAndWhite = {};
        glyphMetrics(dc, c, GGO_BITMAP, &blackAndWhite);
        GlyphKind other = kindOfBox(blackAndWhite);
        if (other != SOUND_GLYPH)
            kind = other;
    }
    /* A ClearType glyph is rendered by FreeType afresh, past both boxes (rows 8 and 9). */
    if (kind == SOUND_GLYPH && font->subpixel && overflowsSubpixelRaster(dc, c))
        kind = OVERSIZED_GLYPH;
    return kind;
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
