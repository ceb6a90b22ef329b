/* Logical font page 1: height, width, the two angles, weight and the three style flags. */
#include "velmora.h"

static const WCHAR *const sizeItems[] = { L"0=(default size)", NULL };

/* Tenths of a degree counter-clockwise, each with the direction its baseline runs. */
static const WCHAR *const angleItems[] = {
    L"0=\x2192", L"900=\x2191", L"1800=\x2190", L"2700=\x2193", NULL
};

static const WCHAR *const weightItems[] = {
    L"0=FW_DONTCARE", L"100=FW_THIN", L"200=FW_EXTRALIGHT/FW_ULTRALIGHT", L"300=FW_LIGHT",
    L"400=FW_NORMAL/FW_REGULAR", L"500=FW_MEDIUM", L"600=FW_SEMIBOLD/FW_DEMIBOLD", L"700=FW_BOLD",
    L"800=FW_EXTRABOLD/FW_ULTRABOLD", L"900=FW_HEAVY/FW_BLACK", NULL
};

static const WCHAR *const italicItems[] = { L"0=None", L"1=Italic", NULL };
static const WCHAR *const underlineItems[] = { L"0=None", L"1=Underline", NULL };
static const WCHAR *const strikeOutItems[] = { L"0=None", L"1=StrikeOut", NULL };

static void fillLogFont1Dialog(HWND dialog)
{
    const LOGFONTW *font = &FontViewState.logFont;
    addListItems(dialog, IDC_HEIGHT, sizeItems);
    addListItems(dialog, IDC_WIDTH, sizeItems);
    addListItems(dialog, IDC_ESCAPEMENT, angleItems);
    addListItems(dialog, IDC_ORIENTATION, angleItems);
    addListItems(dialog, IDC_WEIGHT, weightItems);
    addListItems(dialog, IDC_ITALIC, italicItems);
    addListItems(dialog, IDC_UNDERLINE, underlineItems);
    addListItems(dialog, IDC_STRIKEOUT, strikeOutItems);

    writeDecimalField(dialog, IDC_HEIGHT, font->lfHeight);
    writeDecimalField(dialog, IDC_WIDTH, font->lfWidth);
    writeDecimalField(dialog, IDC_ESCAPEMENT, font->lfEscapement);
    writeDecimalField(dialog, IDC_ORIENTATION, font->lfOrientation);
    writeDecimalField(dialog, IDC_WEIGHT, font->lfWeight);
    writeDecimalField(dialog, IDC_ITALIC, font->lfItalic);
    writeDecimalField(dialog, IDC_UNDERLINE, font->lfUnderline);
    writeDecimalField(dialog, IDC_STRIKEOUT, font->lfStrikeOut);
}

/* The byte fields keep the low 8 bits of what was entered. */
static void readLogFont1Dialog(HWND dialog, LOGFONTW *font)
{
    font->lfHeight = readDecimalField(dialog, IDC_HEIGHT);
    font->lfWidth = readDecimalField(dialog, IDC_WIDTH);
    font->lfEscapement = readDecimalField(dialog, IDC_ESCAPEMENT);
    font->lfOrientation = readDecimalField(dialog, IDC_ORIENTATION);
    font->lfWeight = readDecimalField(dialog, IDC_WEIGHT);
    font->lfItalic = (BYTE)readDecimalField(dialog, IDC_ITALIC);
    font->lfUnderline = (BYTE)readDecimalField(dialog, IDC_UNDERLINE);
    font->lfStrikeOut = (BYTE)readDecimalField(dialog, IDC_STRIKEOUT);
}

/* applyFont relays out as its last step; the page relays out once more after it. */
static void acceptLogFont1Dialog(HWND dialog)
{
    readLogFont1Dialog(dialog, &FontViewState.logFont);
    applyFont();
    computeLayout();
}

INT_PTR CALLBACK logFont1DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: return initSettingsDialog(dialog, fillLogFont1Dialog);
    case WM_COMMAND:    return settingsDialogCommand(dialog, wParam, acceptLogFont1Dialog);
    }
    return FALSE;
}
