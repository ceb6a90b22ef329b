/* The fixture of the guard tests (test_fontguard, test_glyphguard): the grid drawn in colours
   that a picture tells apart, the text at the top of its cell, with neither baseline nor
   boxes. The background mode is each fixture's: transparent where a glyph's ink alone is
   compared with the platform's, opaque where a glyph left out shows as its cell's background. */
#ifndef VELMORA_GUARDTEST_H
#define VELMORA_GUARDTEST_H

#include "apptest.h"

static const COLORREF eraseColour = RGB(128, 0, 0);
static const COLORREF textColour = RGB(0, 0, 255);
static const COLORREF backgroundColour = RGB(0, 255, 0);

class GuardTest : public AppTest {
protected:
    explicit GuardTest(int backgroundMode) : backgroundMode(backgroundMode) {}
    void SetUp() override
    {
        AppTest::SetUp();
        FontViewState.eraseColor = eraseColour;
        FontViewState.textColor = textColour;
        FontViewState.bkColor = backgroundColour;
        FontViewState.bkMode = backgroundMode;
        FontViewState.textAlign = TA_TOP;
        FontViewState.showBaseline = FALSE;
        FontViewState.showBoundingBoxes = FALSE;
    }
private:
    int backgroundMode;
};

#endif
