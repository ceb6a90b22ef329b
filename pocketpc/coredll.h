/* Stand-in for the core-library calls of Windows CE that the desktop API lacks.
   The application imports them from coredll.dll, as on the device. */
#ifndef POCKETPC_COREDLL_H
#define POCKETPC_COREDLL_H

#include <windows.h>

#ifdef POCKETPC_BUILDING_COREDLL
#define COREDLL_API extern "C" __declspec(dllexport)
#else
#define COREDLL_API extern "C" __declspec(dllimport)
#endif

/* The device looks entries up by wide name. */
COREDLL_API FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR procName);

#endif
