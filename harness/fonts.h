/* The fonts: a font described by its face and height, the faces the device offers, the font
   under test set as the dialogs set it, a raster font made for a test, and the platform's own
   answers for a font. */
#ifndef VELMORA_HARNESS_FONTS_H
#define VELMORA_HARNESS_FONTS_H

#include "velmora.h"

#include <set>
#include <string>
#include <vector>

/* A logical font of the face at the height (and width), in the default character set. */
LOGFONTW fontOf(const std::wstring &face, LONG height, LONG width = 0);
/* The faces the device offers, each once, but the vertical forms ('@') of the Japanese ones. */
std::set<std::wstring> facesOffered(void);

/* Makes the description the font under test and realises it, as a dialog's OK does. */
void useFontUnderTest(const LOGFONTW &font);
/* Makes the face at the height the font under test, as the logical-font pages would (width 0,
   normal weight, no strike-out, the other fields kept), and realises it. */
void setFontUnderTest(const WCHAR *face, LONG height, BYTE italic = 0, BYTE underline = 0);

/* Writes a raster font (the Windows 3.0 font-file format: printable ASCII, 8 by 16 pixels,
   fixed pitch, ascent 13) with the face name and adds it for this process alone; a font
   without outline metrics. Answers its file, for removeTestRasterFont, or an empty name. */
std::wstring addTestRasterFont(const std::string &face);
void removeTestRasterFont(const std::wstring &file);

/* The platform's own answer for a font made from the description on the main window. */
struct PlatformFont {
    TEXTMETRICW metrics;
    std::wstring face;
    std::vector<BYTE> outline;   /* the whole answer, names included; empty without outline metrics */
    const OUTLINETEXTMETRICW &head() const { return *(const OUTLINETEXTMETRICW *)&outline[0]; }
    std::wstring name(PSTR offset) const { return (const WCHAR *)&outline[(size_t)offset]; }
};
PlatformFont platformFont(const LOGFONTW &font);
/* The platform's metrics of the code's glyph in the font under test on the main window, in
   the format given (no bitmap is made). */
GLYPHMETRICS platformGlyphMetrics(WCHAR code, UINT format = GGO_METRICS);

#endif
