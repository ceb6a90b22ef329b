/* Stand-in for the Windows CE core-library calls that the desktop API lacks or that mean
   more on the device; fontguard.cpp adds the font calls that Wine gets fatally wrong. The
   application imports these from coredll.dll, as on the device; coredll.def gives them
   their device names. */
#define POCKETPC_BUILDING_COREDLL
#include "coredll.h"

/* The desktop looks entries up by narrow name; entry names are ASCII. */
extern "C" FARPROC WINAPI ceGetProcAddressW(HMODULE module, LPCWSTR procName)
{
    if (IS_INTRESOURCE(procName))
        return GetProcAddress(module, (LPCSTR)procName);
    char narrow[256];
    int i = 0;
    for (; procName[i]; i++) {
        if (i == (int)sizeof narrow - 1 || procName[i] > 0x7F)
            return NULL;
        narrow[i] = (char)procName[i];
    }
    narrow[i] = 0;
    return GetProcAddress(module, narrow);
}

/* On the device a handle with its lowest bit set brings the window forward together with
   the windows it owns: the one of them that was active last comes to the front. */
extern "C" BOOL WINAPI ceSetForegroundWindow(HWND hwnd)
{
    HWND window = (HWND)((ULONG_PTR)hwnd & ~(ULONG_PTR)1);
    if (window != hwnd && IsWindow(window))
        window = GetLastActivePopup(window);
    return SetForegroundWindow(window);
}
