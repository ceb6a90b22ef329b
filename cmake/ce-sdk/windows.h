/* Wine's windows.h in the place of the Windows Mobile 5.0 SDK's, so that this machine can
   compile the application as the SDK compiles it, with what the SDK's header declares and
   Wine's declares otherwise or not at all. Found through INCLUDE, as the SDK's is. */
#ifndef VELMORA_CE_SDK_WINDOWS_H
#define VELMORA_CE_SDK_WINDOWS_H

/* The SDK's WCHAR is the compiler's own 16-bit wchar_t. */
#define WINE_UNICODE_NATIVE

/* The desktop's WinMain takes a narrow command line; the device's, below, a wide one. */
#define WinMain DesktopWinMain
#include_next <windows.h>
#undef WinMain

#ifndef RC_INVOKED
#ifdef __cplusplus
extern "C" {
#endif
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
/* The device looks entries up by wide name. */
FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR procName);
#ifdef __cplusplus
}
#endif
#endif

#endif
