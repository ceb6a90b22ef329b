/* What the glyph guard of the stand-in coredll.dll costs the grid, against the application's
   ExtTextOutW import pointed straight at gdi32's where the font never faults. Full repaints
   alternate between the two, so that the machine's load weighs on both alike. The page-down
   passes ask for the same font with weights 400 and 500, which select the same regular face
   (the realised face and weight are printed), so that each meets every glyph afresh. */
#include "bench.h"

#include <stdio.h>
#include <string>

static void *guardEntry;

static void *gdi32ExtTextOutW(void)
{
    return (void *)GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "ExtTextOutW");
}

static void bypassGuard(bool bypass)
{
    void *previous = patchImport("coredll.dll", "ExtTextOutW", bypass ? gdi32ExtTextOutW() : guardEntry);
    if (!guardEntry)
        guardEntry = previous;
}

static void useFontOfWeight(const std::string &name, const WCHAR *face, LONG height, LONG weight)
{
    FontViewState.logFont.lfWeight = weight;
    setFont(face, height);
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

static void measureWithAndWithoutGuard(const std::string &name, const WCHAR *face, LONG height)
{
    useFontOfWeight(name + ", guard", face, height, FW_NORMAL);
    measureFullRepaintBothWays(name, 0);
    measurePageDown((name + ", page down, guard").c_str());
    useFontOfWeight(name + ", gdi32", face, height, FW_MEDIUM);
    bypassGuard(true);
    measurePageDown((name + ", page down, gdi32").c_str());
    bypassGuard(false);
}

void benchGuard(void)
{
    if (!startApp())
        return;
    LOGFONTW systemFont = FontViewState.logFont;
    measureWithAndWithoutGuard("system font", systemFont.lfFaceName, systemFont.lfHeight);
    measureWithAndWithoutGuard("Tahoma -24", L"Tahoma", -24);
    /* Straight to gdi32 this one kills the process at U+032E. */
    useFontOfWeight("DejaVu Sans Mono -8, guard", L"DejaVu Sans Mono", -8, FW_NORMAL);
    measureFullRepaint("DejaVu Sans Mono -8, full repaint at U+032E, guard", 0x032E / FontViewState.charsPerRow);
    measurePageDown("DejaVu Sans Mono -8, page down, guard");
    stopApp();
}
