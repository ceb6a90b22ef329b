/* Stand-in for the Windows CE core-library calls that the desktop API lacks. */
#define POCKETPC_BUILDING_COREDLL
#include "coredll.h"

/* The desktop looks entries up by narrow name; entry names are ASCII. */
COREDLL_API FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR procName)
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
