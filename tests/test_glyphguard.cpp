/* The guard that the stand-in coredll.dll puts before ExtTextOutW: a glyph whose box Wine 8
   reports as negative, and whose rasterising would kill the process, shows as the empty
   glyph it is; no code of any face at small sizes kills the program. Expected pixels come
   from gdi32's own ExtTextOutW, called past the guard. The device must offer DejaVu Sans
   Mono (DejaVuSansMono.ttf), added as a user's font. */
#include "guardtest.h"
#include "../font/gridmath.h"

#include <algorithm>
#include <ctype.h>
#include <string.h>


/* The smallest case of the fault: U+032E COMBINING BREVE BELOW of DejaVu Sans Mono at -8. */
static const WCHAR markFace[] = L"DejaVu Sans Mono";
enum { MARK = 0x032E, MARK_HEIGHT = -8 };

/* Where Wine 8 reports negative boxes: small sizes; combining marks and Hebrew and Lao
   points of the DejaVu faces, and of the faces that fall back to them for these codes. */
static const LONG smallHeights[] = { 1, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, 8, 10 };
static const WCHAR knownBadCodes[] = { 0x02CD, 0x032E, 0x0331, 0x05B0, 0x0EBC };

/* Makes the face at the height the font under test, as the logical-font pages do. */
static void useMarkFace(LONG height)
{
    useFontUnderTest(fontOf(markFace, height));
    ASSERT_STREQ(markFace, FontViewState.textFace)
        << "the device does not offer DejaVu Sans Mono; add DejaVuSansMono.ttf as a user's font";
}

class GlyphGuardTest : public GuardTest {
protected:
    GlyphGuardTest() : GuardTest(OPAQUE) {}
};

/* ---- The empty glyph ---- */

/* What the platform answers for the code in the main window with the font under test. */
struct PlatformGlyph {
    GLYPHMETRICS metrics;
    SIZE extent;
};

static PlatformGlyph platformGlyph(WCHAR code)
{
    PlatformGlyph glyph = {};
    glyph.metrics = platformGlyphMetrics(code);
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
    GetTextExtentExPointW(dc, &code, 1, 0, NULL, NULL, &glyph.extent);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return glyph;
}

TEST_F(GlyphGuardTest, GlyphWithANegativeBoxPaintsAsASpaceOfItsAdvance)
{
    ASSERT_NO_FATAL_FAILURE(useMarkFace(MARK_HEIGHT));
    PlatformGlyph mark = platformGlyph(MARK);
    ASSERT_LT((INT)mark.metrics.gmBlackBoxY, 0) << "the platform no longer reports the negative box of U+032E";

    FontViewState.textAlign = TA_BASELINE;
    int column = MARK % FontViewState.charsPerRow;
    scrollTo(FontViewState.mainWindow, 0, MARK / FontViewState.charsPerRow);
    ClientPicture shown = repaintedMainWindow();

    int x = column * FontViewState.columnWidth + FontViewState.labelWidth + 1;
    int baseline = FontViewState.textMetrics.tmExternalLeading / 2 + FontViewState.textMetrics.tmAscent;
    INT advance = mark.extent.cx;
    ClientPicture space = drawnPicture(eraseColour, [&](HDC dc) {
        SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
        SetTextAlign(dc, TA_BASELINE);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, FontViewState.bkColor);
        SetTextColor(dc, FontViewState.textColor);
        platformExtTextOutW()(dc, x, baseline, 0, NULL, L" ", 1, &advance);
        DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
    });
    RECT cell = { x, 0, x + FontViewState.columnWidth, FontViewState.rowHeight };
    int filled = pixelsOfColour(space, cell, FontViewState.bkColor);
    ASSERT_EQ(advance * FontViewState.textMetrics.tmHeight, filled) << "the platform's own space cell";
    EXPECT_EQ(0, differingPixels(shown, space, cell)) << "the cell of U+032E is not a space's cell";
    EXPECT_EQ((cell.right - cell.left) * cell.bottom - filled, pixelsOfColour(shown, cell, eraseColour))
        << "ink in the cell of U+032E";
}

/* ---- No code kills the program ---- */

enum { CODES_PER_CALL = 256 };

/* Every code through the guarded ExtTextOutW, CODES_PER_CALL to a call, into a 32-bit
   memory context, where glyphs are anti-aliased as on the screen. Which glyph is rasterised
   depends on neither alignment nor boxes. Answers the calls that failed. */
static int drawEveryCode(const WCHAR *face, LONG height)
{
    LOGFONTW logFont = fontOf(face, height);
    WCHAR codes[CODES_PER_CALL];
    int failed = 0;
    drawnPicture(eraseColour, [&](HDC memory) {
        HGDIOBJ old = SelectObject(memory, CreateFontIndirectW(&logFont));
        for (int first = 0; first <= GRID_LAST_CODE; first += CODES_PER_CALL) {
            for (int i = 0; i < CODES_PER_CALL; i++)
                codes[i] = (WCHAR)(first + i);
            failed += !ExtTextOutW(memory, 0, 32, 0, NULL, codes, CODES_PER_CALL, NULL);
        }
        DeleteObject(SelectObject(memory, old));
    });
    return failed;
}

/* The grid one row high, showing the row that holds each known bad code with every
   vertical alignment, boxes off and on; answers the paints that drew no text call of the code. */
static int paintRowsOfKnownBadCodes(void)
{
    static const UINT alignments[] = { TA_TOP, TA_BASELINE, TA_BOTTOM };
    setClientSize(clientRect(FontViewState.mainWindow).right, FontViewState.rowHeight);
    int undrawn = 0;
    for (WCHAR code : knownBadCodes)
        for (UINT align : alignments)
            for (int boxes = 0; boxes <= 1; boxes++) {
                FontViewState.textAlign = align;
                FontViewState.showBoundingBoxes = boxes;
                scrollTo(FontViewState.mainWindow, 0, code / FontViewState.charsPerRow);
                startRecordingText();
                repaintMainWindow();
                std::vector<TextCall> calls = stopRecordingText();
                undrawn += std::none_of(calls.begin(), calls.end(),
                                        [&](const TextCall &call) { return call.text == std::wstring(1, code); });
            }
    return undrawn;
}

/* The real paint path, in the face whose codes are known to fault. */
TEST_F(GlyphGuardTest, RowsOfTheKnownBadCodesPaintWithEveryAlignmentAndBoxes)
{
    for (LONG height : smallHeights) {
        ASSERT_NO_FATAL_FAILURE(useMarkFace(height));
        EXPECT_EQ(0, paintRowsOfKnownBadCodes()) << "height " << height << ": paints without the code";
    }
}

/* One test per face the device offers, so that the faces can be walked on several devices at
   once (tests/CMakeLists.txt runs this program in parts). */
class EveryCodeOfEveryFace : public GlyphGuardTest, public ::testing::WithParamInterface<std::wstring> {};

TEST_P(EveryCodeOfEveryFace, DrawsAtSmallSizes)
{
    ASSERT_NO_FATAL_FAILURE(useMarkFace(MARK_HEIGHT));
    const std::wstring &face = GetParam();
    for (LONG height : smallHeights)
        EXPECT_EQ(0, drawEveryCode(face.c_str(), height)) << face << " at " << height << ": failed calls";
}

/* A test's name: the face's position in the list and its ASCII letters and digits. */
static std::string faceTestName(const ::testing::TestParamInfo<std::wstring> &info)
{
    std::string name = "face" + std::to_string(info.index) + "_";
    for (wchar_t c : info.param)
        name += c < 0x80 && isalnum(c) ? (char)c : '_';
    return name;
}

/* The list is asked of the platform as the program starts, before any test runs. */
INSTANTIATE_TEST_SUITE_P(Faces, EveryCodeOfEveryFace, ::testing::ValuesIn(facesOffered()), faceTestName);
