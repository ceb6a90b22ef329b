/* What the font guards of the stand-in coredll.dll cost the grid, against the application's
   imports of the guarded calls (ExtTextOutW, GetTextMetricsW, GetTextExtentExPointW) pointed
   straight at gdi32's, where the font never faults. Full repaints and font changes alternate
   between the two, so that the machine's load weighs on both alike. The page-down passes ask
   for the same font with weights 400 and 500, which select the same regular face (the
   realised face and weight are printed), so that each meets every glyph afresh. */
#include "bench.h"

#include <stdio.h>
#include <string>

static const char *const guardedCalls[] = { "ExtTextOutW", "GetTextMetricsW", "GetTextExtentExPointW" };
enum { GUARDED_CALLS = sizeof guardedCalls / sizeof guardedCalls[0] };
static void *guardEntries[GUARDED_CALLS];

/* The first patch finds the guard's entry, to be put back later. */
static void bypassGuard(bool bypass)
{
    HMODULE gdi32 = GetModuleHandleW(L"gdi32.dll");
    for (int i = 0; i < GUARDED_CALLS; i++) {
        void *platform = (void *)GetProcAddress(gdi32, guardedCalls[i]);
        void *previous = patchImport("coredll.dll", guardedCalls[i], platform);
        if (!guardEntries[i])
            guardEntries[i] = previous;
        if (!bypass)
            patchImport("coredll.dll", guardedCalls[i], guardEntries[i]);
    }
}

static void useFont(const std::string &name, const LOGFONTW &font, LONG weight)
{
    FontViewState.logFont = font;
    FontViewState.logFont.lfWeight = weight;
    applyFont();
    pumpMessages();
    printf("%s: realised as \"%ls\", weight %ld\n", name.c_str(), FontViewState.textFace,
           FontViewState.textMetrics.tmWeight);
}

static void measureFullRepaintBothWays(const std::string &name, int row)
{
    scrollToRow(row);
    std::vector<double> samples[2];
    for (int run = 0; run < 2 * RUNS; run++) {
        bool bypass = run % 2;
        bypassGuard(bypass);
        samples[bypass].push_back(timedFullRepaint());
    }
    bypassGuard(false);
    printFigures((name + ", full repaint, guard").c_str(), samples[0]);
    printFigures((name + ", full repaint, gdi32").c_str(), samples[1]);
}

/* Realisation and layout of the font, alternating with Tahoma -24 so that each call
   realises a font other than the last. */
static void measureApplyFontBothWays(const std::string &name)
{
    LOGFONTW fonts[2] = { FontViewState.logFont, FontViewState.logFont };
    fonts[1].lfHeight = -24;
    wcscpy(fonts[1].lfFaceName, L"Tahoma");
    std::vector<double> samples[2];
    for (int run = 0; run < 4 * RUNS; run++) {
        bool bypass = run / 2 % 2;
        bypassGuard(bypass);
        FontViewState.logFont = fonts[run % 2];
        double start = nowMilliseconds();
        applyFont();
        if (run % 2 == 0)
            samples[bypass].push_back(nowMilliseconds() - start);
        pumpMessages();
    }
    bypassGuard(false);
    FontViewState.logFont = fonts[0];
    applyFont();
    pumpMessages();
    printFigures((name + ", applyFont, guard").c_str(), samples[0]);
    printFigures((name + ", applyFont, gdi32").c_str(), samples[1]);
}

static void measureWithAndWithoutGuard(const std::string &name, const LOGFONTW &font)
{
    useFont(name + ", guard", font, FW_NORMAL);
    measureApplyFontBothWays(name);
    measureFullRepaintBothWays(name, 0);
    FontViewState.showBoundingBoxes = TRUE;
    measureFullRepaintBothWays(name + ", boxes on", 0);
    FontViewState.showBoundingBoxes = FALSE;
    measurePageDown((name + ", page down, guard").c_str());
    useFont(name + ", gdi32", font, FW_MEDIUM);
    bypassGuard(true);
    measurePageDown((name + ", page down, gdi32").c_str());
    bypassGuard(false);
}

void benchGuard(void)
{
    if (!startApp())
        return;
    /* A font with a width: every guarded call asks whether its em is 0 pixels. */
    LOGFONTW startUp = FontViewState.logFont;
    measureWithAndWithoutGuard("Tahoma 36, width 8", fontOf(L"Tahoma", 36, 8));
    measureWithAndWithoutGuard("Tahoma -24", fontOf(L"Tahoma", -24));
    /* Straight to gdi32 each of these kills the process: U+032E; any code; the glyphs drawn
       as outlines. */
    useFont("DejaVu Sans Mono -8, guard", fontOf(L"DejaVu Sans Mono", -8), FW_NORMAL);
    measureFullRepaint("DejaVu Sans Mono -8, full repaint at U+032E, guard", 0x032E / FontViewState.charsPerRow);
    measurePageDown("DejaVu Sans Mono -8, page down, guard");
    useFont("DejaVu Math TeX Gyre 1, width 7, guard", fontOf(L"DejaVu Math TeX Gyre", 1, 7), FW_BOLD);
    measureFullRepaint("DejaVu Math TeX Gyre 1, width 7, full repaint, guard", 0);
    useFont("Tahoma -65535, guard", fontOf(L"Tahoma", -65535), FW_NORMAL);
    measureFullRepaint("Tahoma -65535, full repaint at 'A', guard", L'A' / FontViewState.charsPerRow);
    FontViewState.logFont = startUp;
    applyFont();
    stopApp();
}
