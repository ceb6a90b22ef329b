/* Logical font page 2: character set, precisions, quality, pitch, family and face name. */
#include "velmora.h"

#include <string.h>

/* The pitch part keeps bit 3 beside the two standard pitch bits, so that the offered
   "8=MONO_FONT" is stored, and a MONO_FONT pitch that a font brings along is shown and kept. */
enum { PITCH_MASK = 0x0B, FAMILY_MASK = 0xF0 };

static const WCHAR *const charSetItems[] = {
    L"0=ANSI_CHARSET", L"1=DEFAULT_CHARSET", L"2=SYMBOL_CHARSET", L"77=MAC_CHARSET",
    L"128=SHIFTJIS_CHARSET", L"129=HANGEUL_CHARSET/HANGUL_CHARSET", L"130=JOHAB_CHARSET",
    L"134=GB2312_CHARSET", L"136=CHINESEBIG5_CHARSET", L"161=GREEK_CHARSET", L"162=TURKISH_CHARSET",
    L"163=VIETNAMESE_CHARSET", L"177=HEBREW_CHARSET", L"178=ARABIC_CHARSET", L"186=BALTIC_CHARSET",
    L"204=RUSSIAN_CHARSET", L"222=THAI_CHARSET", L"238=EASTEUROPE_CHARSET", L"255=OEM_CHARSET", NULL
};

static const WCHAR *const outPrecisionItems[] = {
    L"0=OUT_DEFAULT_PRECIS", L"1=OUT_STRING_PRECIS", L"2=OUT_CHARACTER_PRECIS", L"3=OUT_STROKE_PRECIS",
    L"4=OUT_TT_PRECIS", L"5=OUT_RASTER_PRECIS", L"6=OUT_TT_ONLY_PRECIS", L"7=OUT_OUTLINE_PRECIS",
    L"8=OUT_SCREEN_OUTLINE_PRECIS", NULL
};

static const WCHAR *const clipPrecisionItems[] = {
    L"0=CLIP_DEFAULT_PRECIS", L"1=CLIP_CHARACTER_PRECIS", L"2=CLIP_STROKE_PRECIS", NULL
};

static const WCHAR *const qualityItems[] = {
    L"0=DEFAULT_QUALITY", L"1=DRAFT_QUALITY", L"2=PROOF_QUALITY", L"3=NONANTIALIASED_QUALITY",
    L"4=ANTIALIASED_QUALITY", NULL
};

static const WCHAR *const pitchItems[] = {
    L"0=DEFAULT_PITCH", L"1=FIXED_PITCH", L"2=VARIABLE_PITCH", L"8=MONO_FONT", NULL
};

static const WCHAR *const familyItems[] = {
    L"0=FF_DONTCARE", L"16=FF_ROMAN", L"32=FF_SWISS", L"48=FF_MODERN", L"64=FF_SCRIPT",
    L"80=FF_DECORATIVE", NULL
};

/* A face is reported once for each character set it has; the list keeps one entry per name
   (the exact search ignores case) and sorts itself. */
int CALLBACK addFaceNameProc(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM faceList)
{
    HWND list = (HWND)faceList;
    if (SendMessageW(list, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)font->lfFaceName) < 0)
        SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)font->lfFaceName);
    return 1;
}

/* An empty face name in the default character set asks for every face in every set. */
static void addInstalledFaceNames(HWND dialog)
{
    LOGFONTW pattern;
    memset(&pattern, 0, sizeof pattern);
    pattern.lfCharSet = DEFAULT_CHARSET;
    HDC hDC = GetDC(FontViewState.mainWindow);
    HWND faceList = GetDlgItem(dialog, IDC_FACENAME);
    EnumFontFamiliesExW(hDC, &pattern, addFaceNameProc, (LPARAM)faceList, 0);
    ReleaseDC(FontViewState.mainWindow, hDC);
}

static void fillLogFont2Dialog(HWND dialog)
{
    const LOGFONTW *font = &FontViewState.logFont;
    addListItems(dialog, IDC_CHARSET, charSetItems);
    addListItems(dialog, IDC_OUTPRECISION, outPrecisionItems);
    addListItems(dialog, IDC_CLIPPRECISION, clipPrecisionItems);
    addListItems(dialog, IDC_QUALITY, qualityItems);
    addListItems(dialog, IDC_PITCH, pitchItems);
    addListItems(dialog, IDC_FAMILY, familyItems);
    addInstalledFaceNames(dialog);

    writeDecimalField(dialog, IDC_CHARSET, font->lfCharSet);
    writeDecimalField(dialog, IDC_OUTPRECISION, font->lfOutPrecision);
    writeDecimalField(dialog, IDC_CLIPPRECISION, font->lfClipPrecision);
    writeDecimalField(dialog, IDC_QUALITY, font->lfQuality);
    writeDecimalField(dialog, IDC_PITCH, font->lfPitchAndFamily & PITCH_MASK);
    writeDecimalField(dialog, IDC_FAMILY, font->lfPitchAndFamily & FAMILY_MASK);
    SetDlgItemTextW(dialog, IDC_FACENAME, font->lfFaceName);
}

/* The byte fields keep the low 8 bits of what was entered; a longer face name is cut to the
   31 characters that lfFaceName holds beside its terminator. */
static void readLogFont2Dialog(HWND dialog, LOGFONTW *font)
{
    font->lfCharSet = (BYTE)readDecimalField(dialog, IDC_CHARSET);
    font->lfOutPrecision = (BYTE)readDecimalField(dialog, IDC_OUTPRECISION);
    font->lfClipPrecision = (BYTE)readDecimalField(dialog, IDC_CLIPPRECISION);
    font->lfQuality = (BYTE)readDecimalField(dialog, IDC_QUALITY);
    LONG pitch = readDecimalField(dialog, IDC_PITCH);
    LONG family = readDecimalField(dialog, IDC_FAMILY);
    font->lfPitchAndFamily = (BYTE)((family & FAMILY_MASK) | (pitch & PITCH_MASK));
    font->lfFaceName[0] = 0;
    GetDlgItemTextW(dialog, IDC_FACENAME, font->lfFaceName, LF_FACESIZE);
}

/* applyFont relays out as its last step; the page relays out once more after it. */
static void acceptLogFont2Dialog(HWND dialog)
{
    readLogFont2Dialog(dialog, &FontViewState.logFont);
    applyFont();
    computeLayout();
}

INT_PTR CALLBACK logFont2DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: return initSettingsDialog(dialog, fillLogFont2Dialog);
    case WM_COMMAND:    return settingsDialogCommand(dialog, wParam, acceptLogFont2Dialog);
    }
    return FALSE;
}
