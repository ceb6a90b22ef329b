/* The fonts: descriptions, the faces the device offers, the font under test, a test's raster
   font, and the platform's own answers, asked on the main window. */
#include "fonts.h"
#include "devicefonts.h"
#include "driver.h"

#include <string.h>
#include <wchar.h>

LOGFONTW fontOf(const std::wstring &face, LONG height, LONG width)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return font;
}

std::set<std::wstring> facesOffered(void)
{
    return deviceFaces(false);
}

void useFontUnderTest(const LOGFONTW &font)
{
    FontViewState.logFont = font;
    applyFont();
    pumpMessages();
}

void setFontUnderTest(const WCHAR *face, LONG height, BYTE italic, BYTE underline)
{
    LOGFONTW font = FontViewState.logFont;
    font.lfHeight = height;
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    font.lfStrikeOut = 0;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    useFontUnderTest(font);
}

/* ---- reports and the font chooser ---- */

/* A little-endian number of size bytes at the offset. */
static void put(std::vector<BYTE> &file, size_t at, size_t size, unsigned value)
{
    for (size_t i = 0; i < size; i++)
        file[at + i] = (BYTE)(value >> 8 * i);
}

/* The 148-byte version 3.0 header; then the character table (width, offset of the bits) with
   one entry past the last character; then one byte per row of each glyph; then the face name. */
static std::vector<BYTE> rasterFontImage(const std::string &face)
{
    const unsigned first = 0x20, last = 0x7E, entries = last - first + 2, width = 8, height = 16;
    const size_t table = 148, bits = table + 6 * entries, faceAt = bits + height * entries;
    std::vector<BYTE> file(faceAt + face.size() + 1, 0);
    /* Offset, size and value of every header field that is not zero: version, file size,
       points, resolutions, ascent, internal leading, weight, pixel width and height, pitch and
       family, average and maximum width, first, last and default character, width in bytes,
       face offset, bits offset, flags (fixed pitch). */
    const struct { size_t at, size; unsigned value; } header[] = {
        { 0, 2, 0x300 }, { 2, 4, (unsigned)file.size() }, { 68, 2, 12 }, { 70, 2, 96 }, { 72, 2, 96 },
        { 74, 2, 13 }, { 76, 2, 2 }, { 83, 2, FW_NORMAL }, { 86, 2, width }, { 88, 2, height }, { 90, 1, FF_MODERN },
        { 91, 2, width }, { 93, 2, width }, { 95, 1, first }, { 96, 1, last }, { 97, 1, '?' - first },
        { 99, 2, 2 * (entries - 1) }, { 105, 4, (unsigned)faceAt }, { 113, 4, (unsigned)bits }, { 118, 4, 1 }
    };
    for (const auto &field : header)
        put(file, field.at, field.size, field.value);
    for (unsigned i = 0; i < entries; i++) {
        put(file, table + 6 * i, 2, width);
        put(file, table + 6 * i + 2, 4, (unsigned)(bits + height * i));
        for (unsigned row = 3; row < height - 4; row++)
            file[bits + height * i + row] = 0x3C;
    }
    memcpy(&file[faceAt], face.data(), face.size());
    return file;
}

std::wstring addTestRasterFont(const std::string &face)
{
    std::vector<BYTE> image = rasterFontImage(face);
    WCHAR directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    std::wstring file = std::wstring(directory) + L"velmora-test-" + std::wstring(face.begin(), face.end()) + L".fnt";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    bool whole = handle != INVALID_HANDLE_VALUE && WriteFile(handle, &image[0], (DWORD)image.size(), &written, NULL) &&
                 written == image.size();
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    if (whole && AddFontResourceExW(file.c_str(), FR_PRIVATE, 0))
        return file;
    DeleteFileW(file.c_str());
    return std::wstring();
}

void removeTestRasterFont(const std::wstring &file)
{
    RemoveFontResourceExW(file.c_str(), FR_PRIVATE, 0);
    DeleteFileW(file.c_str());
}

PlatformFont platformFont(const LOGFONTW &font)
{
    PlatformFont answer;
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&font));
    GetTextMetricsW(dc, &answer.metrics);
    WCHAR face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    answer.face = face;
    UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
    answer.outline.resize(size);
    if (size)
        GetOutlineTextMetricsW(dc, size, (OUTLINETEXTMETRICW *)&answer.outline[0]);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return answer;
}

GLYPHMETRICS platformGlyphMetrics(WCHAR code, UINT format)
{
    static const MAT2 identity = { { 0, 1 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };
    GLYPHMETRICS metrics = {};
    HDC dc = GetDC(FontViewState.mainWindow);
    HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&FontViewState.logFont));
    GetGlyphOutlineW(dc, code, format, &metrics, 0, NULL, &identity);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(FontViewState.mainWindow, dc);
    return metrics;
}
