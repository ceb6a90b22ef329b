/* The application shell: start-up, single instance, soft keys, keys, commands, erase, rotation. */
#include "harness.h"

#include <vector>

TEST_F(AppTest, MainWindowHasClassAndTitle)
{
    WCHAR className[64], title[64];
    GetClassNameW(FontViewState.mainWindow, className, 64);
    GetWindowTextW(FontViewState.mainWindow, title, 64);
    EXPECT_STREQ(L"QUORVEN", className);
    EXPECT_STREQ(L"quorvel: Velmora", title);
    EXPECT_STREQ(L"quorvel: Velmora", FontViewState.windowTitle);
}

TEST_F(AppTest, EraseFillsClientWithEraseColour)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    EXPECT_EQ(1, SendMessageW(hwnd, WM_ERASEBKGND, (WPARAM)dc, 0));
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(0, countPixelsOtherThan(hwnd, client, RGB(128, 0, 0)));
}

TEST_F(AppTest, StartUpPaintsEraseColour)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT client;
    GetClientRect(hwnd, &client);
    pumpFor(300);
    EXPECT_EQ(0, countPixelsOtherThan(hwnd, client, RGB(128, 0, 0)));
    printf("client %ld %ld\n", client.right, client.bottom);
    HDC screen = GetDC(NULL);
    printf("screen pixel %lx\n", GetPixel(screen, 100, 300));
    ReleaseDC(NULL, screen);
}
