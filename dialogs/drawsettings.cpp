/* The drawing settings: how glyphs are drawn, the window's erase colour and the two overlays. */
#include "velmora.h"

static const WCHAR *const alignItems[] = { L"0=TA_TOP", L"8=TA_BOTTOM", L"24=TA_BASELINE", NULL };
static const WCHAR *const modeItems[] = { L"1=TRANSPARENT", L"2=OPAQUE", NULL };

/* COLORREF values, 0x00BBGGRR. */
static const WCHAR *const colourItems[] = {
    L"000000=Black", L"FFFFFF=White", L"00FF00=Green", L"0000FF=Red", L"FF0000=Blue", L"C0C0C0=Gray", NULL
};

static void showDrawSettings(HWND dialog)
{
    writeDecimalField(dialog, IDC_TEXTALIGN, (LONG)FontViewState.textAlign);
    writeDecimalField(dialog, IDC_BKMODE, FontViewState.bkMode);
    writeHexField(dialog, IDC_BKCOLOR, FontViewState.bkColor);
    writeHexField(dialog, IDC_TEXTCOLOR, FontViewState.textColor);
    writeHexField(dialog, IDC_ERASECOLOR, FontViewState.eraseColor);
    writeCheckBox(dialog, IDC_SHOWBASELINE, FontViewState.showBaseline);
    writeCheckBox(dialog, IDC_SHOWBOXES, FontViewState.showBoundingBoxes);
}

/* The controls sort their lists themselves. */
static void fillDrawSettingsDialog(HWND dialog)
{
    addListItems(dialog, IDC_TEXTALIGN, alignItems);
    addListItems(dialog, IDC_BKMODE, modeItems);
    addListItems(dialog, IDC_BKCOLOR, colourItems);
    addListItems(dialog, IDC_TEXTCOLOR, colourItems);
    addListItems(dialog, IDC_ERASECOLOR, colourItems);
    showDrawSettings(dialog);
}

/* Any flags, mode and colour are stored as read; nothing is held to the lists. */
static void readDrawSettingsDialog(HWND dialog)
{
    FontViewState.textAlign = (UINT)readDecimalField(dialog, IDC_TEXTALIGN);
    FontViewState.bkMode = readDecimalField(dialog, IDC_BKMODE);
    FontViewState.bkColor = readHexField(dialog, IDC_BKCOLOR);
    FontViewState.textColor = readHexField(dialog, IDC_TEXTCOLOR);
    FontViewState.eraseColor = readHexField(dialog, IDC_ERASECOLOR);
    FontViewState.showBaseline = readCheckBox(dialog, IDC_SHOWBASELINE);
    FontViewState.showBoundingBoxes = readCheckBox(dialog, IDC_SHOWBOXES);
}

/* The font and the layout stay as they are: only erasing and painting use the settings. */
static void acceptDrawSettings(HWND dialog)
{
    readDrawSettingsDialog(dialog);
    InvalidateRect(FontViewState.mainWindow, NULL, TRUE);
}

INT_PTR CALLBACK drawSettingsDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: return initSettingsDialog(dialog, fillDrawSettingsDialog);
    case WM_COMMAND:    return settingsDialogCommand(dialog, wParam, acceptDrawSettings);
    }
    return FALSE;
}
