/* The device's system font. A Windows CE device's graphics system makes it once, when it
   starts, from the registry key HKLM\System\GDI\SysFnt, and hands it out as the stock
   SYSTEM_FONT; the desktop's stock system font is a different one. Every other stock object
   is the platform's. */
#define POCKETPC_BUILDING_COREDLL
#include "coredll.h"

#include <limits.h>

static const WCHAR systemFontKey[] = L"System\\GDI\\SysFnt";

/* What a device without the key or a value uses: Microsoft's documentation of the key gives
   the registry file's hexadecimal digits, Ht e (logical units) and Wt 190. */
static const WCHAR defaultFace[] = L"Tahoma";
static const LONG defaultHeight = 0xE, hundredthsPerInch = 7200;
static const DWORD defaultWeight = 0x190, largestWeight = 1000;

static bool readDword(HKEY key, LPCWSTR name, DWORD *value)
{
    DWORD type = 0, size = sizeof *value;
    return key && RegQueryValueExW(key, name, NULL, &type, (BYTE *)value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof *value;
}

/* A face name of 1 to LF_FACESIZE - 1 characters; the stored string need not end in a NUL. */
static bool readFace(HKEY key, WCHAR face[LF_FACESIZE])
{
    WCHAR text[LF_FACESIZE];
    DWORD type = 0, size = sizeof text;
    if (!key || RegQueryValueExW(key, L"Nm", NULL, &type, (BYTE *)text, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    int length = 0;
    while (length < (int)(size / sizeof(WCHAR)) && text[length])
        length++;
    if (length == 0 || length >= LF_FACESIZE)
        return false;
    memcpy(face, text, length * sizeof(WCHAR));
    face[length] = 0;
    return true;
}

static LONG screenPixelsPerInch(void)
{
    HDC screen = GetDC(NULL);
    LONG dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

/* Ht is in logical units, of either sign; with HtInPts 1 it is a positive number of
   hundredths of a point, scaled by the screen's resolution to a character height. */
static LONG heightOf(HKEY key)
{
    DWORD height, inPoints = 0;
    if (!readDword(key, L"Ht", &height))
        return defaultHeight;
    readDword(key, L"HtInPts", &inPoints);
    if (inPoints != 1)
        return (LONG)height;
    if (height == 0 || height > INT_MAX)
        return defaultHeight;
    LONGLONG pixels = ((LONGLONG)height * screenPixelsPerInch() + hundredthsPerInch / 2) / hundredthsPerInch;
    return pixels <= INT_MAX ? -(LONG)pixels : defaultHeight;
}

static DWORD dwordOr(HKEY key, LPCWSTR name, DWORD fallback, DWORD largest)
{
    DWORD value;
    return readDword(key, name, &value) && value <= largest ? value : fallback;
}

/* The platform's stock system font with the key's face, height, italics, weight and
   character set; no width, as the key has none. Without the key every value is its default. */
static LOGFONTW systemFontDescription(void)
{
    LOGFONTW font;
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, systemFontKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        key = NULL;
    if (!readFace(key, font.lfFaceName))
        memcpy(font.lfFaceName, defaultFace, sizeof defaultFace);
    font.lfHeight = heightOf(key);
    font.lfWidth = 0;
    font.lfItalic = dwordOr(key, L"It", 0, MAXDWORD) != 0;
    font.lfWeight = dwordOr(key, L"Wt", defaultWeight, largestWeight);
    font.lfCharSet = (BYTE)dwordOr(key, L"CS", ANSI_CHARSET, 0xFF);
    if (key)
        RegCloseKey(key);
    return font;
}

static HFONT systemFont;

/* Made on first use and kept for the life of the process, as a stock object is. */
static HGDIOBJ deviceSystemFont(void)
{
    if (!systemFont) {
        LOGFONTW description = systemFontDescription();
        HFONT made = CreateFontIndirectW(&description);
        if (!made)
            return GetStockObject(SYSTEM_FONT);
        if (InterlockedCompareExchangePointer((void **)&systemFont, made, NULL) != NULL)
            DeleteObject(made);
    }
    return systemFont;
}

extern "C" HGDIOBJ WINAPI ceGetStockObject(int object)
{
    return object == SYSTEM_FONT ? deviceSystemFont() : GetStockObject(object);
}
