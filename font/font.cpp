/* Realising the font under test and capturing what the graphics system reports of it. */
#include "velmora.h"

#include <stdlib.h>
#include <string.h>

static const WCHAR noOutlineName[] = L"ERROR";

/* A context that takes no font (none could be had) would never hand the font back. */
void selectDrawingAttributes(HDC hDC)
{
    HFONT font = CreateFontIndirectW(&FontViewState.logFont);
    if (!SelectObject(hDC, font))
        DeleteObject(font);
    SetTextAlign(hDC, FontViewState.textAlign);
    SetBkMode(hDC, FontViewState.bkMode);
    SetTextColor(hDC, FontViewState.textColor);
    SetBkColor(hDC, FontViewState.bkColor);
}

/* Putting the system font back hands over the font made by selectDrawingAttributes. */
void deleteFontUnderTest(HDC hDC)
{
    DeleteObject(SelectObject(hDC, GetStockObject(SYSTEM_FONT)));
}

static void releaseFontDC(HDC hDC)
{
    deleteFontUnderTest(hDC);
    ReleaseDC(FontViewState.mainWindow, hDC);
}

static void markNamesMissing(void)
{
    wcscpy(FontViewState.familyName, noOutlineName);
    wcscpy(FontViewState.faceName, FontViewState.familyName);
    wcscpy(FontViewState.styleName, FontViewState.familyName);
    wcscpy(FontViewState.fullName, FontViewState.familyName);
}

/* Copies the name that lies offset bytes into the platform's answer of size bytes. A name
   that starts outside the answer or is not terminated inside it is taken as empty; a longer
   one than the field holds is cut at the field's end, never inside a surrogate pair.
   Characters are moved bytewise, since the device faults on unaligned 16-bit reads. */
static void copyOutlineName(WCHAR *name, const BYTE *answer, UINT size, ULONG_PTR offset)
{
    name[0] = 0;
    if (offset >= size)
        return;
    UINT available = (UINT)((size - offset) / sizeof(WCHAR));
    const BYTE *text = answer + offset;
    UINT length = 0;
    WCHAR c = 1;
    while (length < available) {
        memcpy(&c, text + length * sizeof(WCHAR), sizeof c);
        if (c == 0)
            break;
        length++;
    }
    if (c != 0)
        return;
    if (length > NAME_CAPACITY - 1) {
        length = NAME_CAPACITY - 1;
        memcpy(&c, text + (length - 1) * sizeof(WCHAR), sizeof c);
        if (c >= 0xD800 && c <= 0xDBFF)
            length--;
    }
    memcpy(name, text, length * sizeof(WCHAR));
    name[length] = 0;
}

static void copyOutlineNames(const BYTE *answer, UINT size)
{
    const OUTLINETEXTMETRICW *head = &FontViewState.outlineMetrics;
    copyOutlineName(FontViewState.familyName, answer, size, (ULONG_PTR)head->otmpFamilyName);
    copyOutlineName(FontViewState.faceName, answer, size, (ULONG_PTR)head->otmpFaceName);
    copyOutlineName(FontViewState.styleName, answer, size, (ULONG_PTR)head->otmpStyleName);
    copyOutlineName(FontViewState.fullName, answer, size, (ULONG_PTR)head->otmpFullName);
}

/* The answer's head is the record; its names follow it. An answer that cannot be had
   (too short to hold the head, no memory for it, or the platform failing to fill it)
   counts as no outline metrics: the names read "ERROR" and the record keeps its figures. */
static void captureOutlineMetrics(HDC hDC)
{
    UINT size = GetOutlineTextMetricsW(hDC, 0, NULL);
    BYTE *answer = size >= sizeof(OUTLINETEXTMETRICW) ? (BYTE *)malloc(size) : NULL;
    if (!answer || !GetOutlineTextMetricsW(hDC, size, (OUTLINETEXTMETRICW *)answer)) {
        free(answer);
        markNamesMissing();
        return;
    }
    memcpy(&FontViewState.outlineMetrics, answer, sizeof(OUTLINETEXTMETRICW));
    copyOutlineNames(answer, size);
    free(answer);
}

void applyFont(void)
{
    HDC hDC = GetDC(FontViewState.mainWindow);
    selectDrawingAttributes(hDC);
    GetTextMetricsW(hDC, &FontViewState.textMetrics);
    captureOutlineMetrics(hDC);
    GetTextFaceW(hDC, LF_FACESIZE, FontViewState.textFace);
    releaseFontDC(hDC);
    computeLayout();
}
