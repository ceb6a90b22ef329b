/* The font guards of the stand-in coredll.dll and chooser: fonts whose em is 0 pixels and
   glyphs too large for the platform's glyph cache, painted through the real paint path.
   The device must offer DejaVu Math TeX Gyre and the edge-valued copies of Tahoma that
   fontlab/edgefonts.py makes ("Velmora Tall Lines", "Velmora No Vertical", "Velmora Small Em",
   "Velmora Shaped"), added as a user's fonts. Without the guards each test but the last
   kills the process (the chooser's hangs it); the last shows the platform's shaping left out. */
#include "guardtest.h"

#include <dlgs.h>
#include <algorithm>
#include <stdlib.h>

class FontGuardTest : public GuardTest {
protected:
    FontGuardTest() : GuardTest(TRANSPARENT) {}
};

/* The font under test as the logical-font pages leave it: the start-up font's other fields. */
static void useFont(const WCHAR *face, LONG height, LONG width)
{
    LOGFONTW font = FontViewState.logFont;
    font.lfHeight = height;
    font.lfWidth = width;
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    useFontUnderTest(font);
}

static RECT glyphArea(void)
{
    RECT client = clientRect(FontViewState.mainWindow);
    client.left = FontViewState.labelWidth + 1;
    return client;
}

/* Tall lines round the em to 0 pixels below a cell height of 24; with no vertical metrics
   it is 0 at every height. */
TEST_F(FontGuardTest, FontWithAnEmOfZeroPixelsPaintsNoInkAndMeasuresWithoutItsWidth)
{
    struct Case {
        const WCHAR *face;
        LONG height;
    } cases[] = { { L"DejaVu Math TeX Gyre", 1 }, { L"DejaVu Math TeX Gyre", 2 }, { L"Velmora Tall Lines", 1 },
                  { L"Velmora Tall Lines", 23 }, { L"Velmora No Vertical", -24 } };
    for (const Case &c : cases) {
        LOGFONTW withoutWidth = FontViewState.logFont;
        withoutWidth.lfHeight = c.height;
        withoutWidth.lfWidth = 0;
        wcsncpy(withoutWidth.lfFaceName, c.face, LF_FACESIZE - 1);
        PlatformFont platform = platformFont(withoutWidth);
        ASSERT_EQ(c.face, platform.face) << "the device does not offer " << c.face;
        ASSERT_EQ(0, platform.metrics.tmHeight) << c.face << " at " << c.height << ": an em of more than 0 pixels";

        useFont(c.face, c.height, 7);
        EXPECT_EQ(0, memcmp(&platform.metrics, &FontViewState.textMetrics, sizeof(TEXTMETRICW)))
            << c.face << " at " << c.height << ": not the platform's metrics without the width";
        FontViewState.showBoundingBoxes = TRUE;
        repaintMainWindow();
        FontViewState.showBoundingBoxes = FALSE;
        ClientPicture shown = repaintedMainWindow();
        RECT area = glyphArea();
        EXPECT_EQ((area.right - area.left) * (area.bottom - area.top), pixelsOfColour(shown, area, eraseColour))
            << c.face << " at " << c.height << ": ink";
    }
}

/* The cell first in sight, which holds the code scrolled to. */
static RECT firstCell(void)
{
    RECT cell = glyphArea();
    cell.right = cell.left + FontViewState.columnWidth;
    cell.bottom = cell.top + FontViewState.rowHeight;
    return cell;
}

/* The grid scrolled so that the code's cell is the first one in sight. */
static void scrollToCode(WCHAR code)
{
    scrollTo(FontViewState.mainWindow, code % FontViewState.charsPerRow * FontViewState.columnWidth,
             code / FontViewState.charsPerRow);
    pumpMessages();
}

/* The glyph of code drawn by the platform's own ExtTextOutW in its cell, the grid scrolled
   to it, with the options given. */
static ClientPicture platformGlyphPicture(WCHAR code, UINT options = 0)
{
    ExtTextOutWProc platform = platformExtTextOutW();
    int x = code % FontViewState.charsPerRow * FontViewState.columnWidth - scrollPosition(SB_HORZ) +
            FontViewState.labelWidth + 1;
    int y = FontViewState.textMetrics.tmExternalLeading / 2;
    return drawnPicture(eraseColour, [&](HDC dc) {
        SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColour);
        platform(dc, x, y, options, NULL, &code, 1, NULL);
        DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
    });
}

static int sharedInk(const ClientPicture &a, const ClientPicture &b)
{
    int shared = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        shared += a.pixels[i] == textColour && b.pixels[i] == textColour;
    return shared;
}

/* At -400 Tahoma's 'A' is larger than the glyph cache is given, and small enough for the
   platform's own drawing to compare with. */
TEST_F(FontGuardTest, GlyphTooLargeForTheGlyphCacheIsFilledAsThePlatformDrawsIt)
{
    useFont(L"Tahoma", -400, 0);
    GLYPHMETRICS a = platformGlyphMetrics(L'A');
    ASSERT_GT((LONGLONG)a.gmBlackBoxX * a.gmBlackBoxY, 256 * 256) << "'A' is no larger than the glyph cache is given";
    scrollToCode(L'A');
    ClientPicture expected = platformGlyphPicture(L'A');
    ClientPicture shown = repaintedMainWindow();
    RECT area = glyphArea();
    int expectedInk = pixelsOfColour(expected, area, textColour);
    ASSERT_GT(expectedInk, 1000) << "'A' is not in sight";
    /* Filling an outline and rasterising a glyph differ at most along the edges. */
    int shownInk = pixelsOfColour(shown, area, textColour);
    EXPECT_GT(sharedInk(shown, expected), expectedInk * 98 / 100) << "of " << shownInk << " shown";
    EXPECT_LT(shownInk, expectedInk * 102 / 100);
}

/* At -1000 a glyph of the small em is some 90,000 pixels square: a bitmap past 4 GiB. */
TEST_F(FontGuardTest, GlyphTooLargeToRasteriseStillPaints)
{
    useFont(L"Velmora Small Em", -1000, 0);
    ASSERT_STREQ(L"Velmora Small Em", FontViewState.textFace) << "the device does not offer Velmora Small Em";
    scrollTo(FontViewState.mainWindow, 0, L'A' / FontViewState.charsPerRow);
    startRecordingText();
    repaintMainWindow();
    std::vector<TextCall> calls = stopRecordingText();
    EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const TextCall &call) { return call.text == L"A"; }))
        << "the paint did not draw 'A'";
}

/* Without vertical metrics every glyph is clipped to a cell of no height; hinted for black
   and white, as the platform draws at -16, '<' then has a box of negative height, which its
   metrics for other formats do not show. */
TEST_F(FontGuardTest, GlyphWithANegativeBoxInBlackAndWhiteOnlyStillPaints)
{
    useFont(L"Velmora No Vertical", -16, 0);
    ASSERT_STREQ(L"Velmora No Vertical", FontViewState.textFace) << "the device does not offer Velmora No Vertical";
    ASSERT_LT((INT)platformGlyphMetrics(L'<', GGO_BITMAP).gmBlackBoxY, 0)
        << "the platform no longer gives '<' a negative box";
    scrollToCode(L'<');
    startRecordingText();
    repaintMainWindow();
    std::vector<TextCall> calls = stopRecordingText();
    EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const TextCall &call) { return call.text == L"<"; }))
        << "the paint did not draw '<'";
}

/* The chooser draws its sample with the platform's own calls, in a font it makes again from
   its lists with no width, so an em of 0 pixels never faults there; a size brought in from
   the caller's font does. At -1000 (375 points at 192 dpi) the sample's glyphs are some
   90,000 pixels square, as above: it is left empty. */
TEST_F(FontGuardTest, ChooserShowsAnEmptySampleForAFontTooLargeToRasterise)
{
    useFont(L"Velmora Small Em", -1000, 0);
    ASSERT_STREQ(L"Velmora Small Em", FontViewState.textFace) << "the device does not offer Velmora Small Em";
    int inked = -1;
    ASSERT_TRUE(runModal(IDM_CHOOSEFONT, [&](HWND modal) {
        if (waitUntilReady(modal) && UpdateWindow(modal)) {
            RECT sample;
            GetWindowRect(GetDlgItem(modal, stc5), &sample);
            MapWindowPoints(NULL, modal, (POINT *)&sample, 2);
            InflateRect(&sample, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
            inked = countPixelsOtherThan(modal, sample, GetSysColor(COLOR_3DFACE));
        }
        clickButton(modal, IDCANCEL);
    }));
    EXPECT_EQ(0, inked) << "-1: the chooser did not open and paint";
}

/* The device draws each character's own glyph, unshaped: the platform's shaping follows the
   font's tables without bounds. "Velmora Shaped" draws U+05D0 as 'A', shaped as 'B'. */
TEST_F(FontGuardTest, CharacterDrawsItsOwnGlyphUnshaped)
{
    const WCHAR alef = 0x05D0;
    useFont(L"Velmora Shaped", -48, 0);
    ASSERT_STREQ(L"Velmora Shaped", FontViewState.textFace) << "the device does not offer Velmora Shaped";
    scrollToCode(alef);
    ClientPicture unshaped = platformGlyphPicture(alef, ETO_IGNORELANGUAGE);
    ClientPicture shaped = platformGlyphPicture(alef);
    RECT area = firstCell();
    ASSERT_NE(0, differingPixels(unshaped, shaped, area)) << "the platform does not shape U+05D0";
    EXPECT_EQ(0, differingPixels(unshaped, repaintedMainWindow(), area));
}

/* FreeType renders a ClearType glyph three cells to the pixel and gives up on a pixel row of
   more cells than its pool holds, which the platform does not check before it copies the
   bitmap that was never made: '%' of Tahoma at height 9 and width 300, upright or turned. Such
   a glyph is filled as its outline; a ClearType glyph that the platform can render is still
   the platform's own. */
TEST_F(FontGuardTest, ClearTypeGlyphTooWideForThePlatformsRasteriserStillPaints)
{
    FontViewState.logFont.lfQuality = CLEARTYPE_QUALITY;
    for (LONG escapement : { 0, 1800 }) {
        FontViewState.logFont.lfEscapement = FontViewState.logFont.lfOrientation = escapement;
        useFont(L"Tahoma", 9, 300);
        scrollToCode(L'%');
        startRecordingText();
        ClientPicture shown = repaintedMainWindow();
        std::vector<TextCall> calls = stopRecordingText();
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const TextCall &call) { return call.text == L"%"; }))
            << "escapement " << escapement << ": the paint did not draw '%'";
        if (escapement == 0) {
            EXPECT_GT(pixelsOfColour(shown, firstCell(), textColour), 0) << "no outline filled";
        }
    }
    FontViewState.logFont.lfEscapement = FontViewState.logFont.lfOrientation = 0;
    useFont(L"Tahoma", -24, 0);
    scrollToCode(L'%');
    EXPECT_EQ(0, differingPixels(platformGlyphPicture(L'%'), repaintedMainWindow(), firstCell()));
}
