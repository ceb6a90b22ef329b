/* The screen read back: pixels and pictures of the application's windows, what it asks to be
   drawn, the main window's size and scroll bars, and the GDI objects left. */
#include "screen.h"
#include "driver.h"

#include <algorithm>
#include <atomic>
#include <string.h>

COLORREF windowPixel(HWND hwnd, int x, int y)
{
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

int countPixelsOtherThan(HWND hwnd, const RECT &area, COLORREF colour)
{
    HDC dc = GetDC(hwnd);
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (GetPixel(dc, x, y) != colour)
                count++;
    ReleaseDC(hwnd, dc);
    return count;
}

/* A 32-bit top-down bitmap of width by height for pictures, and its pixels (0x00RRGGBB). */
static HBITMAP createPictureBitmap(HDC dc, int width, int height, DWORD **bits)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = NULL;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    *bits = (DWORD *)pixels;
    return bitmap;
}

int ClientPicture::count(COLORREF colour) const
{
    int found = 0;
    for (COLORREF pixel : pixels)
        found += pixel == colour;
    return found;
}

/* The picture that such a bitmap's pixels hold. */
static ClientPicture pictureOfBits(const DWORD *bits, int width, int height)
{
    ClientPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize((size_t)width * height);
    for (size_t i = 0; bits && i < picture.pixels.size(); i++)
        picture.pixels[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
    return picture;
}

ClientPicture drawnPicture(COLORREF fill, const std::function<void(HDC)> &draw, const ClientPicture *base)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT client = clientRect(hwnd);
    DWORD *bits = NULL;
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = createPictureBitmap(window, client.right, client.bottom, &bits);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(memory, &client, brush);
    DeleteObject(brush);
    GdiFlush();
    for (size_t i = 0; base && i < base->pixels.size() && i < (size_t)client.right * client.bottom; i++) {
        COLORREF c = base->pixels[i];
        bits[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    draw(memory);
    GdiFlush();
    ClientPicture picture = pictureOfBits(bits, client.right, client.bottom);
    SelectObject(memory, GetStockObject(SYSTEM_FONT));
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return picture;
}

int differingPixels(const ClientPicture &a, const ClientPicture &b, RECT area)
{
    int count = 0;
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    area.right = std::min(area.right, (LONG)std::min(a.width, b.width));
    area.bottom = std::min(area.bottom, (LONG)std::min(a.height, b.height));
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += a.at(x, y) != b.at(x, y);
    return count;
}

int pixelsOfColour(const ClientPicture &picture, RECT area, COLORREF colour)
{
    int found = 0;
    for (int y = std::max(area.top, 0L); y < std::min(area.bottom, (LONG)picture.height); y++)
        for (int x = std::max(area.left, 0L); x < std::min(area.right, (LONG)picture.width); x++)
            found += picture.at(x, y) == colour;
    return found;
}

void repaintMainWindow(void)
{
    InvalidateRect(FontViewState.mainWindow, NULL, TRUE);
    UpdateWindow(FontViewState.mainWindow);
    pumpMessages();
}

ClientPicture repaintedMainWindow(void)
{
    repaintMainWindow();
    return captureClient(FontViewState.mainWindow);
}

ClientPicture captureClient(HWND hwnd)
{
    RECT client = clientRect(hwnd);
    if (client.right <= 0 || client.bottom <= 0) {
        ClientPicture empty;
        empty.width = client.right;
        empty.height = client.bottom;
        return empty;
    }
    DWORD *bits = NULL;
    HDC window = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = createPictureBitmap(window, client.right, client.bottom, &bits);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    GdiFlush();
    ClientPicture picture = pictureOfBits(bits, client.right, client.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, window);
    return picture;
}

ExtTextOutWProc platformExtTextOutW(void)
{
    return (ExtTextOutWProc)(void *)GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "ExtTextOutW");
}

static ExtTextOutWProc realExtTextOutW;
static std::vector<TextCall> textCalls;

static BOOL WINAPI recordingExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                                        UINT count, const INT *dx)
{
    TextCall call = { x, y, options, std::wstring(text ? text : L"", text ? count : 0) };
    textCalls.push_back(call);
    return realExtTextOutW(dc, x, y, options, rect, text, count, dx);
}

void startRecordingText(void)
{
    textCalls.clear();
    ExtTextOutWProc original = (ExtTextOutWProc)patchImport("coredll.dll", "ExtTextOutW", (void *)recordingExtTextOutW);
    if (original != recordingExtTextOutW)
        realExtTextOutW = original;
}

std::vector<TextCall> stopRecordingText(void)
{
    if (realExtTextOutW)
        patchImport("coredll.dll", "ExtTextOutW", (void *)realExtTextOutW);
    std::vector<TextCall> calls;
    calls.swap(textCalls);
    return calls;
}

static std::atomic<int> mainInvalidations;
static void *realInvalidateRect;

static BOOL WINAPI countingInvalidateRect(HWND hwnd, const RECT *rect, BOOL erase)
{
    if (hwnd == FontViewState.mainWindow)
        mainInvalidations++;
    return ((BOOL(WINAPI *)(HWND, const RECT *, BOOL))realInvalidateRect)(hwnd, rect, erase);
}

void startCountingMainInvalidations(void)
{
    mainInvalidations = 0;
    void *previous = patchImport("user32.dll", "InvalidateRect", (void *)countingInvalidateRect);
    if (previous != (void *)countingInvalidateRect)
        realInvalidateRect = previous;
}

int stopCountingMainInvalidations(void)
{
    patchImport("user32.dll", "InvalidateRect", realInvalidateRect);
    return mainInvalidations;
}

RECT clientRect(HWND hwnd)
{
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(hwnd, &client);
    return client;
}

void setClientSize(int width, int height)
{
    HWND hwnd = FontViewState.mainWindow;
    RECT window, client = clientRect(hwnd);
    GetWindowRect(hwnd, &window);
    int frameWidth = (window.right - window.left) - client.right;
    int frameHeight = (window.bottom - window.top) - client.bottom;
    if (height < 0)
        height = client.bottom;
    MoveWindow(hwnd, window.left, window.top, width + frameWidth, height + frameHeight, TRUE);
    /* The horizontal bar comes and goes with the width, which changes the frame: fit again. */
    for (int i = 0; i < 2; i++) {
        client = clientRect(hwnd);
        if (client.right == width && client.bottom == height)
            break;
        GetWindowRect(hwnd, &window);
        MoveWindow(hwnd, window.left, window.top, window.right - window.left + width - client.right,
                   window.bottom - window.top + height - client.bottom, TRUE);
    }
    pumpMessages();
}

SCROLLINFO scrollBar(int bar)
{
    SCROLLINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(FontViewState.mainWindow, bar, &info);
    return info;
}

int gdiObjectsCreatable(void)
{
    std::vector<HPEN> pens;
    for (;;) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        if (!pen)
            break;
        pens.push_back(pen);
    }
    for (size_t i = 0; i < pens.size(); i++)
        DeleteObject(pens[i]);
    return (int)pens.size();
}
