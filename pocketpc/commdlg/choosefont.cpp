/* Stand-in for the font chooser of the device's common-dialog library, Commdlg.dll.

   The platform's chooser does the work in the device's shape: a template of this library's
   own (choosefont.rc) that fits the portrait screen, and a hook that hands the dialog to the
   shell, full screen under the navigation bar with its done button, as the device shows every
   dialog. commdlg.def gives the entry its device name. */
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include "aygshell.h"
#include "fontcheck.h"

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

/* The font the chooser's sample shows: its working copy, which it edits as the user picks. */
static const LOGFONTW *sampleFont;

/* The platform draws its sample with its own calls, past coredll.dll's guards: a sample
   font that could meet a fault of the record's rows 3 or 8 is not drawn. The platform makes
   the sample's font afresh from its lists, with no width, before the first paint
   (dlls/comdlg32/fontdlg.c, CFn_WMCommand, which WM_INITDIALOG reaches on every path): an em
   of 0 pixels (row 1) faults only with a width, so only a glyph too large to rasterise can be
   met here, at a size typed or brought in from the caller's font; and, on a device that
   smooths in ClearType (the sample's quality is the default), one too wide for ClearType. */
static bool sampleMeetsAFault(HWND dialog)
{
    HDC dc = GetDC(dialog);
    HFONT original = (HFONT)SelectObject(dc, CreateFontIndirectW(sampleFont));
    bool fault = mayExceedRasterLimit(dc) || mayOverflowSubpixelRaster(dc);
    DeleteObject(SelectObject(dc, original));
    ReleaseDC(dialog, dc);
    return fault;
}

/* The sample's frame as the platform draws it, with nothing inside. */
static void paintEmptySample(HWND dialog)
{
    RECT frame;
    GetWindowRect(GetDlgItem(dialog, stc5), &frame);
    MapWindowPoints(NULL, dialog, (POINT *)&frame, 2);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EndPaint(dialog, &paint);
}

static UINT_PTR CALLBACK chooserHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        sampleFont = ((CHOOSEFONTW *)lParam)->lpLogFont;
        showFullScreen(dialog);
        return TRUE;
    case WM_PAINT:
        if (!sampleMeetsAFault(dialog))
            return FALSE;
        paintEmptySample(dialog);
        return TRUE;
    }
    return FALSE;
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
