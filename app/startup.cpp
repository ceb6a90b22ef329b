/* Start-up: the single-instance guard, the window class and the main window. */
#include "velmora.h"

static ATOM registerWindowClass(HINSTANCE instance, LPCWSTR className)
{
    WNDCLASSW wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = mainWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = className;
    return RegisterClassW(&wc);
}

/* The window keeps its place and width and ends where the soft-key bar begins. */
static void fitAboveMenuBar(void)
{
    RECT window, bar;
    GetWindowRect(FontViewState.mainWindow, &window);
    GetWindowRect(FontViewState.menuBar, &bar);
    window.bottom -= bar.bottom - bar.top;
    MoveWindow(FontViewState.mainWindow, window.left, window.top,
               window.right - window.left, window.bottom - window.top, FALSE);
}

static void setDrawingDefaults(void)
{
    FontViewState.bkMode = OPAQUE;
    FontViewState.bkColor = RGB(255, 255, 255);
    FontViewState.eraseColor = RGB(128, 0, 0);
    FontViewState.showBaseline = TRUE;
    FontViewState.textAlign = TA_BASELINE;
    FontViewState.textColor = RGB(0, 0, 0);
    FontViewState.showBoundingBoxes = FALSE;
}

static void takeSystemFontAsFirstFont(void)
{
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(LOGFONTW), &FontViewState.logFont);
    FontViewState.logFont.lfCharSet = DEFAULT_CHARSET;
}

BOOL initInstance(HINSTANCE instance, int showCommand)
{
    WCHAR title[TITLE_CAPACITY];
    WCHAR className[TITLE_CAPACITY];

    FontViewState.instance = instance;
    SHInitExtraControls();
    LoadStringW(instance, IDS_TITLE, title, TITLE_CAPACITY);
    LoadStringW(instance, IDS_WINDOWCLASS, className, TITLE_CAPACITY);

    HWND running = FindWindowW(className, title);
    if (running) {
        /* The low bit brings the window forward together with the windows it owns. */
        SetForegroundWindow((HWND)((ULONG_PTR)running | 1));
        return FALSE;
    }
    if (!registerWindowClass(instance, className))
        return FALSE;

    FontViewState.mainWindow = CreateWindowExW(0, className, title, WS_VISIBLE,
                                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                               NULL, NULL, instance, NULL);
    if (!FontViewState.mainWindow)
        return FALSE;
    if (FontViewState.menuBar)
        fitAboveMenuBar();

    setDrawingDefaults();
    takeSystemFontAsFirstFont();
    applyFont();

    ShowWindow(FontViewState.mainWindow, showCommand);
    UpdateWindow(FontViewState.mainWindow);
    return TRUE;
}
