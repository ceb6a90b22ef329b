/* What the stand-in layer asks of a font before the platform realises, measures or draws
   with it: the conditions under which Wine 8.0's font code faults (font-faults.md), each
   checked through calls that are safe under that condition. Shared by coredll.dll's
   guards and the chooser's sample. */
#ifndef POCKETPC_FONTCHECK_H
#define POCKETPC_FONTCHECK_H

#include <windows.h>

/* Selects into dc the font it holds, made again without its width, as the platform takes
   any font whose width is more than 100 times its height; answers the font it replaced,
   for putBackFont. */
HFONT selectWithoutWidth(HDC dc);
void putBackFont(HDC dc, HFONT original);

enum GlyphKind {
    SOUND_GLYPH,     /* the platform rasterises it */
    EMPTY_GLYPH,     /* a box of negative size: no ink, and rasterising it corrupts the heap */
    OVERSIZED_GLYPH  /* a bitmap too large for the platform's glyph cache, or a ClearType glyph
                        that the platform cannot render: drawn as an outline */
};

/* What is the same for every call with one font as the platform realised it, learned the
   first time the guards meet it, and each code's GlyphKind as it is first asked. */
struct FontFacts {
    DWORD realisation;          /* the platform's number for the realisation; 0: this call's alone */
    bool zeroEmWithWidth;       /* an em of 0 pixels and a width: every platform call that measures
                                   or draws with it divides by its height of 0 */
    bool hasSpace;              /* a glyph for ' ', drawn in place of a glyph left out */
    bool subpixel;              /* drawn in the platform's sub-pixel (ClearType) formats */
    bool hasMissingGlyph;       /* missingGlyph holds the metrics of the glyph drawn for no glyph */
    GLYPHMETRICS missingGlyph;
    bool ownBitmaps;            /* a strike of its own bitmaps at its em, drawn in black and white */
    bool linkedBitmaps;         /* a font linked behind it may have one at its em, or cannot be named */
    bool cellKnown;             /* the cell below is in the pixels of the glyphs' boxes */
    LONG cellTop, cellBottom;   /* ascent and -descent: the platform clips each glyph's box to them */
    BYTE glyphKinds[0x10000 / 4];  /* 2 bits a code: 0 not yet asked, else its GlyphKind + 1 */
};

/* The facts of the font selected into dc, kept under the platform's number for its
   realisation (fontcheck.cpp says why nothing kept outlives the font it describes). */
FontFacts *fontFacts(HDC dc);

GlyphKind glyphKind(HDC dc, FontFacts *font, WCHAR c);

/* The largest glyph that the platform's glyph cache is given, in pixels: it keeps a copy
   for every code drawn, so that all 65,536 codes take at most 4 GiB at 8 bits a pixel. */
enum { MAX_GLYPH_PIXELS = 256 * 256 };

/* The smallest glyph that the platform cannot rasterise: 2 GiB at 32 bits a pixel. */
enum { RASTER_LIMIT_PIXELS = 1 << 29 };

/* A glyph as large as the font box of the font selected into dc reaches RASTER_LIMIT_PIXELS. */
bool mayExceedRasterLimit(HDC dc);

/* The font selected into dc is drawn in ClearType, and a glyph as large as its font box,
   turned any way, could be too wide for FreeType's rasteriser (fontcheck.cpp). */
bool mayOverflowSubpixelRaster(HDC dc);

#endif
