/* Opening logical font page 2: its lists, the face list from every installed font, the
   full-screen step and the first paint, from the menu command until the dialog's modal
   loop first waits with nothing left to paint. The same template opened without the fill
   step shows what the platform's own dialog creation costs. */
#include "bench.h"

#include <stdio.h>

enum { OPENINGS = 25 };

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

/* The modal loop tells its owner each time it runs out of messages. */
static LRESULT CALLBACK watchIdle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND dialog = (HWND)lParam;
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && !openedAt && IsWindowVisible(dialog) && painted(dialog)) {
        openedAt = nowMilliseconds();
        facesListed = (int)SendDlgItemMessageW(dialog, IDC_FACENAME, CB_GETCOUNT, 0, 0);
        EndDialog(dialog, IDCANCEL);
    }
    return CallWindowProcW(applicationProc, hwnd, msg, wParam, lParam);
}

static void openPage2(void)
{
    SendMessageW(FontViewState.mainWindow, WM_COMMAND, IDM_LOGFONT2, 0);
}

static INT_PTR CALLBACK unfilledPage2Proc(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    initDialogFullScreen(dialog);
    return TRUE;
}

static void openUnfilledPage2(void)
{
    runDialog(IDD_LOGFONT2, unfilledPage2Proc, 0);
}

static void measureOpening(const char *name, void (*open)(void))
{
    std::vector<double> samples;
    for (int run = 0; run < OPENINGS; run++) {
        openedAt = 0;
        double start = nowMilliseconds();
        open();
        if (openedAt)
            samples.push_back(openedAt - start);
        pumpMessages();
    }
    printFigures(name, samples);
}

void benchFaceList(void)
{
    if (!startApp())
        return;
    applicationProc = (WNDPROC)SetWindowLongPtrW(FontViewState.mainWindow, GWLP_WNDPROC, (LONG_PTR)watchIdle);
    measureOpening("open LogFont-2 with its face list", openPage2);
    int listed = facesListed;
    measureOpening("open the LogFont-2 template unfilled", openUnfilledPage2);
    SetWindowLongPtrW(FontViewState.mainWindow, GWLP_WNDPROC, (LONG_PTR)applicationProc);
    printf("faces listed on LogFont-2: %d\n", listed);
    fflush(stdout);
    stopApp();
}
