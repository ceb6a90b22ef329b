/* A program that faults, for the test that a fault on the emulated device ends the program at
   once: "main" in its main thread, before anything of the stand-in layer is loaded (the
   device's registry alone decides); "window" in its window procedure, which the platform calls
   from inside itself, with the device's core library loaded as the program has it. */
#include <windows.h>
#include <string.h>

static volatile int *nowhere;

static LRESULT CALLBACK faultingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        *nowhere = 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    if (!strcmp(argv[1], "main"))
        *nowhere = 1;
    if (!LoadLibraryW(L"coredll.dll"))
        return 2;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = faultingProcedure;
    windowClass.lpszClassName = L"Faulting";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"Faulting", L"", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    PostMessageW(window, WM_APP, 0, 0);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
