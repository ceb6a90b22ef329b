/* The screen read back: what the application's windows show, pixel by pixel or as a whole
   picture, the pictures a test draws to compare with, the text calls and invalidations the
   application makes, the main window's size and scroll bars, and the GDI objects left. */
#ifndef VELMORA_HARNESS_SCREEN_H
#define VELMORA_HARNESS_SCREEN_H

#include "velmora.h"

#include <functional>
#include <string>
#include <vector>

/* ---- pixels and pictures ---- */

/* The colour at a point of a window's client area, as painted. */
COLORREF windowPixel(HWND hwnd, int x, int y);
/* Counts the client-area pixels of hwnd in a rectangle that do not have the colour. */
int countPixelsOtherThan(HWND hwnd, const RECT &area, COLORREF colour);

/* The client area of a window as painted, read back in one copy. */
struct ClientPicture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[(size_t)y * width + x]; }
    int count(COLORREF colour) const;
};
ClientPicture captureClient(HWND hwnd);
/* The main window erased and painted whole again, as the platform does after invalidation;
   and the picture it then shows. */
void repaintMainWindow(void);
ClientPicture repaintedMainWindow(void);
/* A picture of the main window's client size that starts as the fill colour, or as a given
   picture, drawn on by the caller through a memory context. */
ClientPicture drawnPicture(COLORREF fill, const std::function<void(HDC)> &draw, const ClientPicture *base = NULL);
/* Pixels of a rectangle that differ between two pictures; pixels of a rectangle in a colour. */
int differingPixels(const ClientPicture &a, const ClientPicture &b, RECT area);
int pixelsOfColour(const ClientPicture &picture, RECT area, COLORREF colour);

/* ---- what the application asks to be drawn ---- */

typedef BOOL(WINAPI *ExtTextOutWProc)(HDC, int, int, UINT, const RECT *, LPCWSTR, UINT, const INT *);
/* The platform's own ExtTextOutW, past the stand-in layer's guards. */
ExtTextOutWProc platformExtTextOutW(void);

/* One ExtTextOutW call the application made: where, with which options and text. */
struct TextCall {
    int x, y;
    UINT options;
    std::wstring text;
};
/* Records the application's ExtTextOutW calls (they still draw) until stopRecordingText. */
void startRecordingText(void);
std::vector<TextCall> stopRecordingText(void);

/* Counts the application's InvalidateRect calls for the main window while installed. */
void startCountingMainInvalidations(void);
int stopCountingMainInvalidations(void);

/* ---- the main window's size and scroll bars ---- */

/* Sizes the main window so that its client area has the width (and, when given, the height). */
void setClientSize(int width, int height = -1);
RECT clientRect(HWND hwnd);
/* The main window's scroll bar (SB_HORZ or SB_VERT) as the platform reports it. */
SCROLLINFO scrollBar(int bar);
inline int scrollPosition(int bar) { return scrollBar(bar).nPos; }
inline int scrollMaximum(int bar) { return scrollBar(bar).nMax; }

/* ---- GDI objects ---- */

/* How many more GDI objects this process can create before its handle table is full
   (Wine's GetGuiResources always answers 0): creates pens until one fails, then deletes
   them. Two counts differ by exactly the number of objects made and kept in between. */
int gdiObjectsCreatable(void);

#endif
