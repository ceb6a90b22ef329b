/* Stand-in for the Pocket PC shell library's header: the records, constants and
   functions of AYGSHELL.dll that the application uses, as the platform declares them. */
#ifndef POCKETPC_AYGSHELL_H
#define POCKETPC_AYGSHELL_H

#ifndef RC_INVOKED
#include <windows.h>
#endif

/* Menu-bar description: a button without a sub-menu */
#define NOMENU                      0xFFFF

#define SHCMBF_EMPTYBAR             0x0001
#define SHCMBF_HIDDEN               0x0002
#define SHCMBF_HIDESIPBUTTON        0x0004
#define SHCMBF_COLORBK              0x0008
#define SHCMBF_HMENU                0x0010

#define SHIDIM_FLAGS                0x0001

#define SHIDIF_DONEBUTTON           0x0001
#define SHIDIF_SIZEDLG              0x0002
#define SHIDIF_SIZEDLGFULLSCREEN    0x0004
#define SHIDIF_SIPDOWN              0x0008
#define SHIDIF_FULLSCREENNOMENUBAR  0x0010
#define SHIDIF_EMPTYMENU            0x0020
#define SHIDIF_WANTSCROLLBAR        0x0040

#ifndef SETTINGCHANGE_RESET
#define SETTINGCHANGE_RESET         0x3002
#endif

#ifndef RC_INVOKED

#ifdef POCKETPC_BUILDING_AYGSHELL
#define AYGSHELL_API extern "C" __declspec(dllexport)
#else
#define AYGSHELL_API extern "C" __declspec(dllimport)
#endif

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

typedef struct tagSHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

AYGSHELL_API BOOL WINAPI SHInitExtraControls(void);
AYGSHELL_API BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info);
AYGSHELL_API BOOL WINAPI SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam,
                                            SHACTIVATEINFO *info, DWORD flags);
AYGSHELL_API BOOL WINAPI SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam,
                                                 SHACTIVATEINFO *info);
AYGSHELL_API BOOL WINAPI SHInitDialog(SHINITDLGINFO *info);

#endif /* RC_INVOKED */
#endif
