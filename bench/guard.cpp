/* What the font guards of the stand-in coredll.dll cost the grid, against the application's
   imports of the guarded calls (ExtTextOutW, GetTextMetricsW, GetTextExtentExPointW) pointed
   straight at gdi32's, where the font never faults. Full repaints, font changes and page
   downs alternate between the two, so that the machine's load weighs on both alike. The
   page downs ask for the same font with weights 400 and 500, which select the same regular
   face (the realised face and weight are printed), so that each side meets every glyph
   afresh. */
#include "bench.h"
#include "../font/gridmath.h"

#include <algorithm>
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
    LOGFONTW weighted = font;
    weighted.lfWeight = weight;
    useFontUnderTest(weighted);
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
    printGuardAndGdi32((name + ", full repaint").c_str(), samples[0], samples[1]);
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
    useFontUnderTest(fonts[0]);
    pumpMessages();
    printGuardAndGdi32((name + ", applyFont").c_str(), samples[0], samples[1]);
}

/* One page down from the row and its repaint, on the side's own font. */
static double timedPageDown(const LOGFONTW &font, bool bypass, int row)
{
    bypassGuard(bypass);
    useFontUnderTest(font);
    scrollToRow(row);
    double start = nowMilliseconds();
    SendMessageW(FontViewState.mainWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    UpdateWindow(FontViewState.mainWindow);
    GdiFlush();
    double taken = nowMilliseconds() - start;
    bypassGuard(false);
    return taken;
}

/* Page after page down from the first row to the last, each page down once through the
   guard and once straight to gdi32, each on one of two fonts that have drawn only the page
   above: every page down draws its rows for the first time. The fonts change sides from one
   page to the next, so that neither weight favours a side. */
static void measureFirstPassBothWays(const std::string &name, int firstRow, int lastRow)
{
    LOGFONTW fonts[2] = { FontViewState.logFont, FontViewState.logFont };
    fonts[0].lfWeight = FW_NORMAL;
    fonts[1].lfWeight = FW_MEDIUM;
    std::vector<double> samples[2];
    int row = firstRow;
    for (int run = 0; run < RUNS && row < lastRow; run++) {
        for (int side = 0; side < 2; side++) {
            bool bypass = (run + side) % 2;
            samples[bypass].push_back(timedPageDown(fonts[(run + bypass) % 2], bypass, row));
        }
        int next = GetScrollPos(FontViewState.mainWindow, SB_VERT);
        if (next <= row)
            break;
        row = next;
    }
    useFontUnderTest(fonts[0]);
    pumpMessages();
    printGuardAndGdi32((name + ", page down, first pass").c_str(), samples[0], samples[1]);
}

static void measureWithAndWithoutGuard(const std::string &name, const LOGFONTW &font)
{
    useFont(name, font, FW_NORMAL);
    measureApplyFontBothWays(name);
    measureFullRepaintBothWays(name, 0);
    FontViewState.showBoundingBoxes = TRUE;
    measureFullRepaintBothWays(name + ", boxes on", 0);
    FontViewState.showBoundingBoxes = FALSE;
    measureFirstPassBothWays(name, 0, FontViewState.rowCount);
}

/* ---- Where the platform alone lives ---- */

static int visibleRowCount(void)
{
    return visibleRows(0, clientRect(FontViewState.mainWindow).bottom, FontViewState.rowHeight);
}

static const MAT2 identity = { { 0, 1 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };

/* The code's box, smoothed or in black and white, is negative or too large for the glyph
   cache: the platform's own answer, asked past the guards. */
static bool platformMayFault(HDC dc, WCHAR code)
{
    static const UINT formats[] = { GGO_METRICS, GGO_BITMAP };
    for (UINT format : formats) {
        GLYPHMETRICS metrics;
        if (GetGlyphOutlineW(dc, code, format, &metrics, 0, NULL, &identity) == GDI_ERROR)
            continue;
        INT width = (INT)metrics.gmBlackBoxX, height = (INT)metrics.gmBlackBoxY;
        if (width < 0 || height < 0 || (LONGLONG)width * height > 256 * 256)
            return true;
    }
    return false;
}

/* The first rows from the top, as many as the page downs and the screens before and after
   them take, with no code that the platform faults on: the page downs start from first up
   to last. False where there are none. */
static bool findRowsWithoutFaults(int pages, int *first, int *last)
{
    int pageRows = visibleRowCount();
    int wanted = pageRows * (pages + 2);
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
    int run = 0;
    *first = 0;
    for (int row = 0; row < FontViewState.rowCount && run < wanted; row++) {
        bool sound = true;
        for (int column = 0; column < FontViewState.charsPerRow && sound; column++) {
            long code = (long)row * FontViewState.charsPerRow + column;
            sound = code > 0xFFFF || !platformMayFault(dc, (WCHAR)code);
        }
        run = sound ? run + 1 : 0;
        if (run == 1)
            *first = row;
    }
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    *last = *first + run - 2 * pageRows;
    return run == wanted;
}

/* Rows away from the codes whose boxes the platform gets wrong, where gdi32 alone draws
   safely: the same paths through both. */
static void measureFontThatFaultsElsewhere(const std::string &name, const LOGFONTW &font, int pages)
{
    useFont(name, font, FW_NORMAL);
    int first, last;
    if (!findRowsWithoutFaults(pages, &first, &last)) {
        printf("%s: no %d pages without a code the platform faults on\n", name.c_str(), pages);
        return;
    }
    int end = last + 2 * visibleRowCount();
    printf("%s: rows %d to %d (U+%04lX to U+%04lX) hold no code whose box is negative or oversized\n", name.c_str(),
           first, end - 1, (long)first * FontViewState.charsPerRow,
           std::min(0xFFFFL, (long)end * FontViewState.charsPerRow - 1));
    measureFullRepaintBothWays(name, first);
    measureFirstPassBothWays(name, first, last);
}

void benchGuard(void)
{
    if (!startApp())
        return;
    LOGFONTW startUp = FontViewState.logFont;
    measureWithAndWithoutGuard("start-up font", startUp);
    /* A font with a width: every guarded call asks whether its em is 0 pixels. */
    measureWithAndWithoutGuard("Tahoma 36, width 8", fontOf(L"Tahoma", 36, 8));
    measureWithAndWithoutGuard("Tahoma -24", fontOf(L"Tahoma", -24));
    measureWithAndWithoutGuard("MS UI Gothic -24", fontOf(L"MS UI Gothic", -24));
    measureFontThatFaultsElsewhere("DejaVu Sans Mono -8", fontOf(L"DejaVu Sans Mono", -8), 20);
    /* Straight to gdi32 each of these kills the process: U+032E; any code; the glyphs drawn
       as outlines. */
    useFont("DejaVu Sans Mono -8, guard", fontOf(L"DejaVu Sans Mono", -8), FW_NORMAL);
    measureFullRepaint("DejaVu Sans Mono -8, full repaint at U+032E, guard", 0x032E / FontViewState.charsPerRow);
    useFont("DejaVu Math TeX Gyre 1, width 7, guard", fontOf(L"DejaVu Math TeX Gyre", 1, 7), FW_BOLD);
    measureFullRepaint("DejaVu Math TeX Gyre 1, width 7, full repaint, guard", 0);
    useFont("Tahoma -65535, guard", fontOf(L"Tahoma", -65535), FW_NORMAL);
    measureFullRepaint("Tahoma -65535, full repaint at 'A', guard", L'A' / FontViewState.charsPerRow);
    useFontUnderTest(startUp);
    stopApp();
}
