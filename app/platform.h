/* The one platform header of the application. On the device it is the SDK's own headers;
   on the desktop the stand-in layer supplies what the desktop API lacks. */
#ifndef POCKETPC_PLATFORM_H
#define POCKETPC_PLATFORM_H

#include <windows.h>
#include <aygshell.h>

#ifndef _WIN32_WCE
#include <coredll.h>
/* The device's WinMain takes a wide command line: the desktop calls that one wWinMain. */
#define WinMain wWinMain
#endif

#endif
