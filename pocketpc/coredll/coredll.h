/* Stand-in for the core-library calls of Windows CE that the desktop API lacks.
   The application imports them from coredll.dll, as on the device. Besides these,
   coredll.dll gives SetForegroundWindow its device meaning (a handle with the low bit
   set brings the window's owned windows forward too), answers GetStockObject(SYSTEM_FONT) with
   the device's system font, made from the device's registry (systemfont.cpp), and puts guards
   before the font calls that Wine gets fatally wrong for some fonts and sizes (fontguard.cpp);
   its import library comes before user32's and gdi32's, so the application's calls go there. */
#ifndef POCKETPC_COREDLL_H
#define POCKETPC_COREDLL_H

#include <windows.h>

#ifndef POCKETPC_BUILDING_COREDLL
/* The device looks entries up by wide name. */
extern "C" __declspec(dllimport) FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR procName);
#endif

#endif
