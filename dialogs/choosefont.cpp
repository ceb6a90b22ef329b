/* The platform's font chooser, offered in portrait only. */
#include "velmora.h"

#include <string.h>

typedef BOOL (APIENTRY *CHOOSEFONTPROC)(CHOOSEFONTW *choose);

/* Loaded by name at every use and never released. A missing library or entry answers 0,
   as a cancelled choice does. */
BOOL invokeChooseFont(CHOOSEFONTW *choose)
{
    HMODULE library = LoadLibraryW(L"Commdlg.dll");
    FARPROC entry = library ? GetProcAddressW(library, L"ChooseFontW") : NULL;
    /* Through the one function type that converts to every other without complaint. */
    CHOOSEFONTPROC chooseFont = (CHOOSEFONTPROC)(void (*)(void))entry;
    return chooseFont ? chooseFont(choose) : FALSE;
}

/* The chooser edits a copy and starts from black, whatever the glyph colour is; only a
   confirmed choice reaches the state, font and colour together. */
static void chooseSystemFont(HWND owner)
{
    LOGFONTW chosen;
    CHOOSEFONTW choose;
    memcpy(&chosen, &FontViewState.logFont, sizeof chosen);
    memset(&choose, 0, sizeof choose);
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpLogFont = &chosen;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    choose.rgbColors = 0;
    if (!invokeChooseFont(&choose))
        return;
    memcpy(&FontViewState.logFont, &chosen, sizeof chosen);
    FontViewState.logFont.lfCharSet = DEFAULT_CHARSET;
    FontViewState.textColor = choose.rgbColors;
    applyFont();
    computeLayout();
}

static void showPortraitOnlyNotice(HWND owner)
{
    WCHAR notice[TITLE_CAPACITY];
    notice[0] = 0;
    LoadStringW(FontViewState.instance, IDS_PORTRAITONLY, notice, TITLE_CAPACITY);
    MessageBoxW(owner, notice, FontViewState.windowTitle, MB_OK);
}

/* The orientation is read anew at every command; a square screen counts as landscape. */
void chooseFontCommand(HWND owner)
{
    if (GetSystemMetrics(SM_CXSCREEN) < GetSystemMetrics(SM_CYSCREEN))
        chooseSystemFont(owner);
    else
        showPortraitOnlyNotice(owner);
}
