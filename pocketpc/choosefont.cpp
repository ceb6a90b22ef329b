/* Stand-in for the font chooser of the device's common-dialog library, Commdlg.dll.

   The platform's chooser does the work in the device's shape: a template of this library's
   own (choosefont.rc) that fits the portrait screen, and a hook that hands the dialog to the
   shell, full screen under the navigation bar with its done button, as the device shows every
   dialog. commdlg.def gives the entry its device name. */
#include <windows.h>
#include <commdlg.h>

#include "aygshell.h"

/* This library, whose resources hold the template. */
extern "C" IMAGE_DOS_HEADER __ImageBase;

static const WCHAR chooserTemplate[] = L"CHOOSER";

/* The done button posts IDOK, which the platform's chooser takes as its own OK. */
static void showFullScreen(HWND dialog)
{
    SHINITDLGINFO info;
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;
    SHInitDialog(&info);
}

static UINT_PTR CALLBACK chooserHook(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    showFullScreen(dialog);
    return TRUE;
}

/* The platform's chooser writes into its record and font as the user picks, so it gets
   copies: only a confirmed choice reaches the caller, whose flags stay as they were. A
   caller's own template or hook gives way to the device's layout. */
extern "C" BOOL WINAPI ceChooseFontW(CHOOSEFONTW *caller)
{
    if (!caller || caller->lStructSize != sizeof *caller || !caller->lpLogFont)
        return FALSE;
    LOGFONTW font = *caller->lpLogFont;
    CHOOSEFONTW choose = *caller;
    choose.lpLogFont = &font;
    choose.Flags = (caller->Flags & ~CF_ENABLETEMPLATEHANDLE) | CF_ENABLETEMPLATE | CF_ENABLEHOOK;
    choose.hInstance = (HINSTANCE)&__ImageBase;
    choose.lpTemplateName = chooserTemplate;
    choose.lpfnHook = chooserHook;
    if (!ChooseFontW(&choose))
        return FALSE;
    *caller->lpLogFont = font;
    caller->iPointSize = choose.iPointSize;
    caller->rgbColors = choose.rgbColors;
    caller->nFontType = choose.nFontType;
    return TRUE;
}
