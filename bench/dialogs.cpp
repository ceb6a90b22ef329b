/* Opening each dialog, from its menu command until its modal loop first waits with nothing
   left to paint, side by side with the platform alone creating, showing and painting the
   same template from the program's resources with an empty dialog procedure; the chooser
   beside the platform's own ChooseFontW, with its own template and the same fields. A report
   is also set beside the platform alone showing the same text in the same template at the
   program's full-screen size, which is what its content costs the platform. The sides
   alternate, so that the machine's load weighs on all alike. */
#include "bench.h"

#include <stdio.h>
#include <string>

enum { OPENINGS = 25 };

typedef void (*ReportBuilder)(WCHAR *text, int capacity);

struct DialogOpening {
    const char *name;
    UINT command;
    UINT templateId;        /* 0: the chooser */
    ReportBuilder report;   /* the text a report shows */
};

static void physicalReport(WCHAR *text, int capacity)
{
    buildPhysicalFontReport(&FontViewState.textMetrics, FontViewState.textFace, text, capacity);
}

static void outlineReport(WCHAR *text, int capacity)
{
    buildOutlineFontReport(&FontViewState.outlineMetrics, FontViewState.familyName, FontViewState.faceName,
                           FontViewState.styleName, FontViewState.fullName, text, capacity);
}

static const DialogOpening openings[] = {
    { "About", IDM_ABOUT, IDD_ABOUT, NULL },
    { "LogFont-1", IDM_LOGFONT1, IDD_LOGFONT1, NULL },
    { "LogFont-2", IDM_LOGFONT2, IDD_LOGFONT2, NULL },
    { "drawing settings", IDM_DRAWSETTINGS, IDD_DRAWSETTINGS, NULL },
    { "physical-font report", IDM_PHYSFONT, IDD_REPORT, physicalReport },
    { "outline-font report", IDM_OUTLINEFONT, IDD_REPORT, outlineReport },
    { "font chooser", IDM_CHOOSEFONT, 0, NULL },
};

static WNDPROC applicationProc;
static double openedAt;
static int facesListed;

static bool painted(HWND hwnd)
{
    if (GetUpdateRect(hwnd, NULL, FALSE))
        return false;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetUpdateRect(child, NULL, FALSE))
            return false;
    return true;
}

/* A modal loop tells the dialog's owner, the main window, each time it runs out of messages. */
static LRESULT CALLBACK watchIdle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND dialog = (HWND)lParam;
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && !openedAt && IsWindowVisible(dialog) && painted(dialog)) {
        openedAt = nowMilliseconds();
        if (GetDlgItem(dialog, IDC_FACENAME))
            facesListed = (int)SendDlgItemMessageW(dialog, IDC_FACENAME, CB_GETCOUNT, 0, 0);
        EndDialog(dialog, IDCANCEL);
    }
    return CallWindowProcW(applicationProc, hwnd, msg, wParam, lParam);
}

/* Milliseconds until the modal loop that open() starts first waits with everything painted,
   or 0 when it never does. */
static double timedModalOpening(void (*open)(UINT), UINT value)
{
    openedAt = 0;
    double start = nowMilliseconds();
    open(value);
    pumpMessages();
    return openedAt ? openedAt - start : 0;
}

static void sendMenuCommand(UINT command)
{
    SendMessageW(FontViewState.mainWindow, WM_COMMAND, command, 0);
}

/* The platform's own chooser, as the program's asks it: the same fields, its own template. */
static void openPlatformChooser(UINT)
{
    typedef BOOL(WINAPI * ChooseFontProc)(CHOOSEFONTW *);
    static ChooseFontProc chooseFont =
        (ChooseFontProc)(void (*)(void))GetProcAddress(LoadLibraryW(L"comdlg32.dll"), "ChooseFontW");
    LOGFONTW font = FontViewState.logFont;
    CHOOSEFONTW choose;
    ZeroMemory(&choose, sizeof choose);
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = FontViewState.mainWindow;
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    chooseFont(&choose);
}

static INT_PTR CALLBACK emptyDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

/* The dialog between the navigation bar and the soft-key bar, its text box filling it. */
static void showReportFullScreen(HWND dialog, const WCHAR *text)
{
    SetDlgItemTextW(dialog, IDC_REPORTTEXT, text);
    SetWindowPos(dialog, NULL, 0, EMULATOR_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN) - 2 * EMULATOR_BAR_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_REPORTTEXT), 0, 0, client.right, client.bottom, TRUE);
}

/* With a text, the report's: shown in the template at full-screen size. */
static double timedPlatformTemplate(UINT templateId, const WCHAR *text)
{
    HRSRC found = FindResourceW(FontViewState.instance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    LPCDLGTEMPLATEW dialogTemplate = (LPCDLGTEMPLATEW)LockResource(LoadResource(FontViewState.instance, found));
    double start = nowMilliseconds();
    HWND dialog = CreateDialogIndirectParamW(FontViewState.instance, dialogTemplate, FontViewState.mainWindow,
                                             emptyDialogProc, 0);
    if (text)
        showReportFullScreen(dialog, text);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    double elapsed = nowMilliseconds() - start;
    DestroyWindow(dialog);
    pumpMessages();
    return elapsed;
}

static double timedPlatformOpening(const DialogOpening &opening)
{
    if (opening.templateId)
        return timedPlatformTemplate(opening.templateId, NULL);
    return timedModalOpening(openPlatformChooser, 0);
}

static void keep(std::vector<double> &samples, double sample)
{
    if (sample > 0)
        samples.push_back(sample);
}

static void measureOpening(const DialogOpening &opening)
{
    WCHAR report[OUTLINE_REPORT_CAPACITY];
    if (opening.report)
        opening.report(report, OUTLINE_REPORT_CAPACITY);
    std::vector<double> program, platform, platformReport;
    for (int run = 0; run < OPENINGS; run++) {
        keep(program, timedModalOpening(sendMenuCommand, opening.command));
        keep(platform, timedPlatformOpening(opening));
        if (opening.report)
            keep(platformReport, timedPlatformTemplate(opening.templateId, report));
    }
    std::string name = std::string("open ") + opening.name;
    printSideBySide(name.c_str(), "program", program, opening.templateId ? "platform's template" : "platform's chooser",
                    platform);
    if (!opening.report)
        return;
    printFigures((name + ", platform's full-screen report").c_str(), platformReport);
    printRatio(name.c_str(), "program", program, "platform's full-screen report", platformReport);
}

void benchDialogs(void)
{
    if (!startApp())
        return;
    applicationProc = (WNDPROC)SetWindowLongPtrW(FontViewState.mainWindow, GWLP_WNDPROC, (LONG_PTR)watchIdle);
    for (const DialogOpening &opening : openings)
        measureOpening(opening);
    SetWindowLongPtrW(FontViewState.mainWindow, GWLP_WNDPROC, (LONG_PTR)applicationProc);
    printf("faces listed on LogFont-2: %d\n", facesListed);
    fflush(stdout);
    stopApp();
}
