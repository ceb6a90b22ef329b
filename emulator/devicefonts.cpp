#include "devicefonts.h"

static int CALLBACK addFont(const LOGFONTW *font, const TEXTMETRICW *metrics, DWORD type, LPARAM fonts)
{
    const ENUMLOGFONTEXW *names = (const ENUMLOGFONTEXW *)font;
    DeviceFont found = { font->lfFaceName, names->elfFullName, names->elfStyle, font->lfCharSet, type,
                         *(const NEWTEXTMETRICW *)metrics };
    ((std::vector<DeviceFont> *)fonts)->push_back(found);
    return 1;
}

struct FaceWalk {
    HDC dc;
    std::vector<DeviceFont> *fonts;
};

/* The face list's enumeration reports each face once per character set; the face's own
   enumeration in that set reports each of its styles. */
static int CALLBACK addFace(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM walk)
{
    const FaceWalk *faceWalk = (const FaceWalk *)walk;
    LOGFONTW face = {};
    wcsncpy(face.lfFaceName, font->lfFaceName, LF_FACESIZE - 1);
    face.lfCharSet = font->lfCharSet;
    EnumFontFamiliesExW(faceWalk->dc, &face, addFont, (LPARAM)faceWalk->fonts, 0);
    return 1;
}

std::vector<DeviceFont> deviceFonts(void)
{
    std::vector<DeviceFont> fonts;
    LOGFONTW all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    FaceWalk walk = { CreateCompatibleDC(NULL), &fonts };
    EnumFontFamiliesExW(walk.dc, &all, addFace, (LPARAM)&walk, 0);
    DeleteDC(walk.dc);
    return fonts;
}

static int CALLBACK addFaceName(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM faces)
{
    ((std::set<std::wstring> *)faces)->insert(font->lfFaceName);
    return 1;
}

std::set<std::wstring> deviceFaces(bool verticalForms)
{
    std::set<std::wstring> faces;
    LOGFONTW all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(NULL);
    EnumFontFamiliesExW(dc, &all, addFaceName, (LPARAM)&faces, 0);
    ReleaseDC(NULL, dc);
    if (!verticalForms)
        for (auto face = faces.begin(); face != faces.end();)
            face = face->c_str()[0] == L'@' ? faces.erase(face) : std::next(face);
    return faces;
}
