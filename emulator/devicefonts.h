/* The fonts the emulated device offers, as a process of the platform enumerates them: for the
   remote control's listing, the tests and the font sweep alike. */
#ifndef EMULATOR_DEVICEFONTS_H
#define EMULATOR_DEVICEFONTS_H

#include <windows.h>

#include <set>
#include <string>
#include <vector>

/* One font of a face in a character set, with the metrics that tell one file's font from
   another's. */
struct DeviceFont {
    std::wstring face, fullName, style;
    BYTE charSet;
    DWORD type;
    NEWTEXTMETRICW metrics;
};

/* Each face's styles in each of its character sets, as the chooser lists them. */
std::vector<DeviceFont> deviceFonts(void);

/* The faces, each once; the vertical forms of the Japanese ones ('@') only when asked for. */
std::set<std::wstring> deviceFaces(bool verticalForms);

#endif
