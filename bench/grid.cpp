/* The grid's costly paths on the emulated VGA screen: a full repaint (erase and paint of the
   whole client), one page down with the repaint of the uncovered strip, the jump from the
   top to the bottom with its repaint, and one font change (realisation and layout). */
#include "bench.h"

#include <stdio.h>
#include <string.h>

static HWND grid(void)
{
    return FontViewState.mainWindow;
}

void scrollToRow(int row)
{
    scrollTo(grid(), 0, row);
    UpdateWindow(grid());
    pumpMessages();
}

double timedFullRepaint(void)
{
    double start = nowMilliseconds();
    InvalidateRect(grid(), NULL, TRUE);
    UpdateWindow(grid());
    GdiFlush();
    return nowMilliseconds() - start;
}

void measureFullRepaint(const char *name, int row)
{
    scrollToRow(row);
    std::vector<double> samples;
    for (int run = 0; run < RUNS; run++)
        samples.push_back(timedFullRepaint());
    printFigures(name, samples);
}

/* From the top, page after page: the first pass meets every glyph for the first time,
   so the graphics layer renders it afresh; the second pass goes over the same pages again. */
void measurePageDown(const char *name)
{
    for (int pass = 1; pass <= 2; pass++) {
        scrollToRow(0);
        std::vector<double> samples;
        for (int run = 0; run < RUNS && GetScrollPos(grid(), SB_VERT) < FontViewState.rowCount; run++) {
            double start = nowMilliseconds();
            SendMessageW(grid(), WM_VSCROLL, SB_PAGEDOWN, 0);
            UpdateWindow(grid());
            GdiFlush();
            samples.push_back(nowMilliseconds() - start);
        }
        char label[100];
        sprintf(label, "%s, %s", name, pass == 1 ? "first pass" : "again");
        printFigures(label, samples);
    }
}

static void measureTopToBottom(const char *name)
{
    std::vector<double> samples;
    for (int run = 0; run < RUNS; run++) {
        scrollToRow(0);
        double start = nowMilliseconds();
        SendMessageW(grid(), WM_VSCROLL, SB_BOTTOM, 0);
        UpdateWindow(grid());
        GdiFlush();
        samples.push_back(nowMilliseconds() - start);
    }
    printFigures(name, samples);
}

/* Alternates two fonts, so that each call realises a font other than the last. */
static void measureApplyFont(const char *name)
{
    LOGFONTW fonts[2] = { FontViewState.logFont, FontViewState.logFont };
    fonts[1].lfHeight = -24;
    wcscpy(fonts[1].lfFaceName, L"MS UI Gothic");
    std::vector<double> samples;
    for (int run = 0; run < RUNS; run++) {
        FontViewState.logFont = fonts[run % 2];
        double start = nowMilliseconds();
        applyFont();
        samples.push_back(nowMilliseconds() - start);
        pumpMessages();
    }
    useFontUnderTest(fonts[0]);
    pumpMessages();
    printFigures(name, samples);
}

void benchGrid(void)
{
    if (!startApp())
        return;
    LOGFONTW systemFont = FontViewState.logFont;
    printf("grid: client %ldx%ld, %d columns, row height %d\n", clientRect(grid()).right,
           clientRect(grid()).bottom, FontViewState.charsPerRow, FontViewState.rowHeight);
    measureFullRepaint("full repaint, system font", 0);
    measureFullRepaint("full repaint, system font, kanji rows", 0x4E00 / FontViewState.charsPerRow);
    FontViewState.showBoundingBoxes = TRUE;
    measureFullRepaint("full repaint, system font, boxes on", 0);
    FontViewState.showBoundingBoxes = FALSE;
    measurePageDown("page down + repaint, system font");
    measureTopToBottom("SB_BOTTOM from the top and its repaint");
    measureApplyFont("applyFont, system font and MS UI Gothic -24");

    setFontUnderTest(L"MS UI Gothic", -24);
    measureFullRepaint("full repaint, MS UI Gothic -24", 0);
    measureFullRepaint("full repaint, MS UI Gothic -24, kanji rows", 0x4E00 / FontViewState.charsPerRow);
    measurePageDown("page down + repaint, MS UI Gothic -24");
    FontViewState.showBoundingBoxes = TRUE;
    measureFullRepaint("full repaint, MS UI Gothic -24, boxes on", 0x4E00 / FontViewState.charsPerRow);
    measurePageDown("page down + repaint, MS UI Gothic, boxes");
    FontViewState.showBoundingBoxes = FALSE;

    useFontUnderTest(systemFont);
    stopApp();
}
