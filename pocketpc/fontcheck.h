/* What the stand-in layer asks of a font before the platform realises, measures or draws
   with it: the conditions under which Wine 8.0's font code faults (font-faults.md), each
   checked through calls that are safe under that condition. Shared by coredll.dll's
   guards and the chooser's sample. */
#ifndef POCKETPC_FONTCHECK_H
#define POCKETPC_FONTCHECK_H

#include <windows.h>

/* The font selected into dc has an em of 0 pixels and a width: every platform call that
   measures or draws with it divides by its height of 0. */
bool hasZeroEmWithWidth(HDC dc);

/* Selects into dc the font it holds, made again without its width, as the platform takes
   any font whose width is more than 100 times its height; answers the font it replaced,
   for putBackFont. */
HFONT selectWithoutWidth(HDC dc);
void putBackFont(HDC dc, HFONT original);

enum GlyphKind {
    SOUND_GLYPH,     /* the platform rasterises it */
    EMPTY_GLYPH,     /* a box of negative size: no ink, and rasterising it corrupts the heap */
    OVERSIZED_GLYPH  /* a bitmap too large for the platform's glyph cache, or a ClearType glyph
                        that the platform cannot render (overflowsSubpixelRaster): drawn as an
                        outline */
};

GlyphKind glyphKind(HDC dc, WCHAR c);

/* The largest glyph that the platform's glyph cache is given, in pixels: it keeps a copy
   for every code drawn, so that all 65,536 codes take at most 4 GiB at 8 bits a pixel. */
enum { MAX_GLYPH_PIXELS = 256 * 256 };

/* The smallest glyph that the platform cannot rasterise: 2 GiB at 32 bits a pixel. */
enum { RASTER_LIMIT_PIXELS = 1 << 29 };

/* A glyph as large as the font box of the font selected into dc reaches RASTER_LIMIT_PIXELS. */
bool mayExceedRasterLimit(HDC dc);

/* FreeType renders a ClearType glyph three cells to the pixel, and keeps the cells of a pixel
   row in a pool of 16 KiB (FT_RENDER_POOL_SIZE): 682 cells of 24 bytes, less the row's own
   pointer and the pool's end mark. A row may touch every cell of the glyph's width, padded
   for the LCD filter, the rounding of the box and the hinting that the platform applies. */
enum { SUBPIXEL_ROW_CELLS = 680, SUBPIXEL_CELLS_PER_PIXEL = 3, SUBPIXEL_PAD_PIXELS = 5 };

/* FreeType renders no glyph that reaches this many pixels from its origin. */
enum { SUBPIXEL_REACH_PIXELS = 0x7FFF };

/* The font selected into dc is drawn in the platform's sub-pixel (ClearType) formats. */
bool drawsSubpixel(HDC dc);

/* The platform would draw the glyph in ClearType and FreeType could fail to render it, which
   the platform does not check: it then reads the bitmap that was never made. Or FreeType's
   bitmap lies beside the platform's box for it, and the copy runs past its rows. */
bool overflowsSubpixelRaster(HDC dc, WCHAR c);

/* So could a glyph as large as the font box of the font selected into dc, turned any way. */
bool mayOverflowSubpixelRaster(HDC dc);

#endif
