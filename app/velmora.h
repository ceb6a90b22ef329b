/* Shared types and operations of quorvel: Velmora. */
#ifndef VELMORA_H
#define VELMORA_H

#include "platform.h"
#include "resource.h"

enum {
    NAME_CAPACITY = 260,      /* the four outline-metrics names, NUL included */
    TITLE_CAPACITY = 100,     /* window title, class name and notice buffers */
    FIELD_CAPACITY = 260      /* a dialog field's text, NUL included */
};

/* All mutable state of the program: one record, static storage, no heap memory. */
typedef struct {
    int bkMode;
    COLORREF bkColor;
    COLORREF eraseColor;
    BOOL showBaseline;
    int charsPerRow;
    int rowCount;
    WCHAR fullName[NAME_CAPACITY];
    WCHAR styleName[NAME_CAPACITY];
    WCHAR faceName[NAME_CAPACITY];
    WCHAR familyName[NAME_CAPACITY];
    OUTLINETEXTMETRICW outlineMetrics;   /* the fixed head only, without the names behind it */
    TEXTMETRICW textMetrics;
    HWND menuBar;
    WCHAR textFace[LF_FACESIZE];
    LOGFONTW logFont;
    HINSTANCE instance;
    WCHAR windowTitle[TITLE_CAPACITY];
    HWND mainWindow;
    UINT textAlign;
    COLORREF textColor;
    BOOL showBoundingBoxes;
    int labelWidth;
    int columnWidth;
    int rowHeight;
    BOOL reportJustOpened;
    SHACTIVATEINFO activateInfo;
} FONTVIEWSTATE;

extern FONTVIEWSTATE FontViewState;

/* app/startup.cpp */
BOOL initInstance(HINSTANCE instance, int showCommand);

/* app/mainwnd.cpp */
LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* font/font.cpp */
void applyFont(void);
void selectDrawingAttributes(HDC hDC);
void deleteFontUnderTest(HDC hDC);

/* font/layout.cpp */
void computeLayout(void);

/* view/paint.cpp */
void paintGrid(HWND hwnd, HDC hDC);

/* view/scroll.cpp */
void scrollHorizontally(HWND hwnd, int code, int thumbPosition);
void scrollVertically(HWND hwnd, int code, int thumbPosition);
void scrollTo(HWND hwnd, int x, int y);
int getScrollPosition(HWND hwnd, int bar);

/* dialogs/dialog.cpp */
void runDialog(UINT templateId, DLGPROC procedure, LPARAM initValue);
void initDialogFullScreen(HWND dialog);
/* The settings dialogs' shared shape: WM_INITDIALOG runs fill then the full-screen step;
   IDOK runs accept (read and apply) then ends the dialog; IDCANCEL just ends it. */
typedef void (*DIALOGSTEP)(HWND dialog);
INT_PTR initSettingsDialog(HWND dialog, DIALOGSTEP fill);
INT_PTR settingsDialogCommand(HWND dialog, WPARAM wParam, DIALOGSTEP accept);
/* Adds the texts of a NULL-terminated list to a combo box, in list order. */
void addListItems(HWND dialog, int id, const WCHAR *const *items);
LONG readDecimalField(HWND dialog, int id);
DWORD readHexField(HWND dialog, int id);
void writeDecimalField(HWND dialog, int id, LONG value);
void writeHexField(HWND dialog, int id, DWORD value);
BOOL readCheckBox(HWND dialog, int id);
void writeCheckBox(HWND dialog, int id, BOOL flag);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

/* dialogs/logfont1.cpp */
INT_PTR CALLBACK logFont1DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

/* dialogs/logfont2.cpp */
INT_PTR CALLBACK logFont2DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
int CALLBACK addFaceNameProc(const LOGFONTW *font, const TEXTMETRICW *metrics, DWORD type, LPARAM faceList);

/* dialogs/drawsettings.cpp */
INT_PTR CALLBACK drawSettingsDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

/* dialogs/choosefont.cpp */
#include <commdlg.h>
void chooseFontCommand(HWND owner);
BOOL invokeChooseFont(CHOOSEFONTW *choose);

/* reports/report.cpp */
enum {
    PHYSICAL_REPORT_CAPACITY = 1500,   /* report texts, NUL included */
    OUTLINE_REPORT_CAPACITY = 2000
};
void buildPhysicalFontReport(const TEXTMETRICW *metrics, const WCHAR *face, WCHAR *text, int capacity);
void showPhysicalFontReport(void);

/* reports/outline.cpp */
void buildOutlineFontReport(const OUTLINETEXTMETRICW *metrics, const WCHAR *familyName, const WCHAR *faceName,
                            const WCHAR *styleName, const WCHAR *fullName, WCHAR *text, int capacity);
void showOutlineFontReport(void);

#endif
