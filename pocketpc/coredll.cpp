/* Stand-in for the Windows CE core-library calls that the desktop API lacks or that mean
   more on the device, and for one that Wine gets fatally wrong. The application imports
   these from coredll.dll, as on the device; coredll.def gives them their device names. */
#define POCKETPC_BUILDING_COREDLL
#include "coredll.h"

#include <limits.h>
#include <stdlib.h>

/* The desktop looks entries up by narrow name; entry names are ASCII. */
extern "C" FARPROC WINAPI ceGetProcAddressW(HMODULE module, LPCWSTR procName)
{
    if (IS_INTRESOURCE(procName))
        return GetProcAddress(module, (LPCSTR)procName);
    char narrow[256];
    int i = 0;
    for (; procName[i]; i++) {
        if (i == (int)sizeof narrow - 1 || procName[i] > 0x7F)
            return NULL;
        narrow[i] = (char)procName[i];
    }
    narrow[i] = 0;
    return GetProcAddress(module, narrow);
}

/* On the device a handle with its lowest bit set brings the window forward together with
   the windows it owns: the one of them that was active last comes to the front. */
extern "C" BOOL WINAPI ceSetForegroundWindow(HWND hwnd)
{
    HWND window = (HWND)((ULONG_PTR)hwnd & ~(ULONG_PTR)1);
    if (window != hwnd && IsWindow(window))
        window = GetLastActivePopup(window);
    return SetForegroundWindow(window);
}

/* Wine 8.0's FreeType path gives some combining marks at small sizes a glyph box of
   negative height, and ExtTextOutW then corrupts the heap rasterising that glyph: the whole
   process dies. Smallest case: DejaVu Sans Mono at height -8 selected into a screen DC,
   GetGlyphOutlineW(dc, 0x032E, GGO_METRICS, ..., identity) answers a box of 2 by 0xFFFFFFFC
   (-4), origin (1,-6), advance 5, and a GGO_BITMAP size of 0xFFFFFFF0; then
   ExtTextOutW(dc, 10, 10, 0, NULL, L"\x032E", 1, NULL) faults. Such a glyph has no ink,
   so it is drawn as the empty glyph it is: a space in its place at the character's own
   advance, in one call of the platform's, which so keeps its own positions, opaque
   background, rectangle, alignment and current position. */

static const MAT2 identity = { { 0, 1 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };

/* A box negative as a signed number; a check that fails counts as a sound glyph. */
static bool isDegenerateGlyph(HDC dc, WCHAR c)
{
    GLYPHMETRICS metrics;
    if (GetGlyphOutlineW(dc, c, GGO_METRICS, &metrics, 0, NULL, &identity) == GDI_ERROR)
        return false;
    return (INT)metrics.gmBlackBoxX < 0 || (INT)metrics.gmBlackBoxY < 0;
}

static bool hasDegenerateGlyph(HDC dc, LPCWSTR text, UINT count)
{
    for (UINT i = 0; i < count; i++)
        if (isDegenerateGlyph(dc, text[i]))
            return true;
    return false;
}

static bool hasSpaceGlyph(HDC dc)
{
    WORD index = 0xFFFF;
    return GetGlyphIndicesW(dc, L" ", 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
}

/* The advances ExtTextOutW gives the characters when it has no lpDx: the steps between
   the partial extents, less the character extra that it adds to every lpDx entry (but a
   printer's). */
static bool platformAdvances(HDC dc, LPCWSTR text, UINT count, INT *dx)
{
    SIZE size;
    if (!GetTextExtentExPointW(dc, text, (int)count, 0, NULL, dx, &size))
        return false;
    int extra = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER ? 0 : GetTextCharacterExtra(dc);
    for (UINT i = count - 1; i > 0; i--)
        dx[i] -= dx[i - 1] + extra;
    dx[0] -= extra;
    return true;
}

static void blankDegenerateGlyphs(HDC dc, LPCWSTR text, UINT count, WCHAR *blanked)
{
    for (UINT i = 0; i < count; i++)
        blanked[i] = isDegenerateGlyph(dc, text[i]) ? L' ' : text[i];
}

/* A font without a space has no empty glyph to draw: the call then draws nothing. */
static BOOL drawBlanked(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text, UINT count,
                        const INT *dx)
{
    if (!hasSpaceGlyph(dc))
        return FALSE;
    INT *advances = (INT *)calloc(count, sizeof(INT) + sizeof(WCHAR));
    if (!advances)
        return FALSE;
    WCHAR *blanked = (WCHAR *)(advances + count);
    blankDegenerateGlyphs(dc, text, count, blanked);
    BOOL drawn = FALSE;
    if (dx)
        drawn = ExtTextOutW(dc, x, y, options, rect, blanked, count, dx);
    else if (platformAdvances(dc, text, count, advances))
        drawn = ExtTextOutW(dc, x, y, options & ~ETO_PDY, rect, blanked, count, advances);
    free(advances);
    return drawn;
}

extern "C" BOOL WINAPI ceExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                                     UINT count, const INT *dx)
{
    if (!text || count > INT_MAX || (options & ETO_GLYPH_INDEX) || !hasDegenerateGlyph(dc, text, count))
        return ExtTextOutW(dc, x, y, options, rect, text, count, dx);
    return drawBlanked(dc, x, y, options, rect, text, count, dx);
}
