/* The records the application shares with the device's platform must be laid out as the
   device lays them out. Built only for a 32-bit target, where pointers and handles are as
   wide as on the device: the desktop's headers and the stand-in layer's own definitions must
   then give each record the device's size, and the shell's records their members' places. */
#include <windows.h>
#include <commdlg.h>
#include <stddef.h>

#include "aygshell.h"

static_assert(sizeof(void *) == 4, "these sizes are the device's, whose pointers are 32 bits");

static_assert(sizeof(LOGFONTW) == 92, "LOGFONTW is 92 bytes on the device");
static_assert(sizeof(TEXTMETRICW) == 60, "TEXTMETRICW is 60 bytes on the device");
static_assert(sizeof(OUTLINETEXTMETRICW) == 216, "OUTLINETEXTMETRICW is 216 bytes on the device");
static_assert(sizeof(SCROLLINFO) == 28, "SCROLLINFO is 28 bytes on the device");
static_assert(sizeof(CHOOSEFONTW) == 60, "CHOOSEFONTW is 60 bytes on the device");

static_assert(sizeof(SHMENUBARINFO) == 36, "SHMENUBARINFO is 36 bytes on the device");
static_assert(offsetof(SHMENUBARINFO, hwndParent) == 4 && offsetof(SHMENUBARINFO, dwFlags) == 8 &&
              offsetof(SHMENUBARINFO, nToolBarId) == 12 && offsetof(SHMENUBARINFO, hInstRes) == 16 &&
              offsetof(SHMENUBARINFO, nBmpId) == 20 && offsetof(SHMENUBARINFO, cBmpImages) == 24 &&
              offsetof(SHMENUBARINFO, hwndMB) == 28 && offsetof(SHMENUBARINFO, clrBk) == 32,
              "SHMENUBARINFO's members sit where the device's shell reads them");

static_assert(sizeof(SHACTIVATEINFO) == 12, "SHACTIVATEINFO is 12 bytes on the device");
static_assert(offsetof(SHACTIVATEINFO, hwndLastFocus) == 4,
              "SHACTIVATEINFO's flags take the last 32 bits, as on the device");

static_assert(sizeof(SHINITDLGINFO) == 12, "SHINITDLGINFO is 12 bytes on the device");
static_assert(offsetof(SHINITDLGINFO, hDlg) == 4 && offsetof(SHINITDLGINFO, dwFlags) == 8,
              "SHINITDLGINFO's members sit where the device's shell reads them");
