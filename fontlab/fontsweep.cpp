/* The font sweep's device side: realises the faces that a user's fonts add over the edge
   values of LOGFONTW, each setting as the program does (applyFont, a paint of the grid) and
   then draws every 16-bit code (the cross level: a sample) with it as the grid does, through
   the same imports. Before and after each setting it prints a line, so that fontlab/sweep,
   which starts it, sees where a process died, hung or grew without bound, and starts it again
   from the next setting.

     velmora_sweep.exe --faces                          the faces on the device, one a line
     velmora_sweep.exe [--exclude FILE] [--level quick|pairs|few|cross] [--from I] [--to J]
                       [--draw rotate|runs|single|boxes|none] [--codes FIRST-LAST] [--trace]

   Faces are taken in sorted order, each with the same list of settings; a setting's index
   counts over all of them. --exclude names faces (UTF-8, one a line) not to sweep, the
   device's own. --trace prints every font call before it is made. */
#include "harness.h"
#include "protocol.h"

#include <algorithm>
#include <climits>
#include <set>
#include <stdarg.h>
#include <stdio.h>
#include <string>
#include <vector>

enum Draw { DRAW_RUNS, DRAW_SINGLE, DRAW_BOXES, DRAW_NONE, DRAW_ROTATE };
static const char *const drawNames[] = { "runs", "single", "boxes", "none", "rotate" };
enum Level { QUICK, PAIRS, FEW, CROSS };
static const char *const levelNames[] = { "quick", "pairs", "few", "cross" };
enum { RUN_LENGTH = 64, LAST_CODE = 0xFFFF };

struct Setting {
    LOGFONTW font;
    Draw draw;
};

struct Options {
    bool listFaces = false, trace = false;
    Level level = QUICK;
    std::wstring excludeFile;
    long from = 0, to = LONG_MAX;
    Draw draw = DRAW_ROTATE;
    int firstCode = 0, lastCode = LAST_CODE;
};

static std::string utf8(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, NULL, NULL);
    return result;
}

static std::wstring wide(const std::string &text)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, NULL, 0);
    std::wstring result(size > 0 ? size - 1 : 0, L'\0');
    if (size > 1)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &result[0], size);
    return result;
}

/* Every line goes out at once: the next call may kill the process. */
static void say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

/* ---- the faces ---- */

static std::set<std::wstring> facesInFile(const std::wstring &file)
{
    std::set<std::wstring> faces;
    FILE *in = _wfopen(file.c_str(), L"rb");
    if (!in)
        return faces;
    char line[1024];
    while (fgets(line, sizeof line, in)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (!text.empty())
            faces.insert(wide(text));
    }
    fclose(in);
    return faces;
}

static std::vector<std::wstring> facesToSweep(const Options &options)
{
    std::set<std::wstring> excluded = facesInFile(options.excludeFile);
    std::vector<std::wstring> faces;
    for (const std::wstring &face : deviceFaces(true))
        if (!excluded.count(face))
            faces.push_back(face);
    return faces;
}

/* ---- the settings ---- */

/* Heights small enough to round a metric to zero, and far past any glyph's size. */
static const LONG heights[] = {
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
    -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, -13, -14, -15, -16,
    0, 1000, -1000, 32767, -32768, INT_MAX, INT_MIN,
};
enum { HEIGHTS = sizeof heights / sizeof heights[0] };

enum Field { WIDTH, WEIGHT, ITALIC, UNDERLINE, STRIKEOUT, ESCAPEMENT, ORIENTATION, CHARSET, QUALITY, FIELDS };

/* Each field's edge values; the first is its value in every setting that varies another. */
static const std::vector<LONG> fieldValues[FIELDS] = {
    { 0, 1, 7, 300 },
    { 400, 0, 700, 1000 },
    { 0, 1 },
    { 0, 1 },
    { 0, 1 },
    { 0, 450, 900, 2700 },
    { 0, 450, 900, 2700 },
    { DEFAULT_CHARSET, ANSI_CHARSET, SYMBOL_CHARSET, MAC_CHARSET, SHIFTJIS_CHARSET, HANGEUL_CHARSET,
      GB2312_CHARSET, CHINESEBIG5_CHARSET, GREEK_CHARSET, TURKISH_CHARSET, VIETNAMESE_CHARSET,
      HEBREW_CHARSET, ARABIC_CHARSET, BALTIC_CHARSET, RUSSIAN_CHARSET, THAI_CHARSET,
      EASTEUROPE_CHARSET, OEM_CHARSET },
    { 0, 1, 2, 3, 4, 5, 6 },
};

static void setField(LOGFONTW &font, Field field, LONG value)
{
    switch (field) {
    case WIDTH: font.lfWidth = value; break;
    case WEIGHT: font.lfWeight = value; break;
    case ITALIC: font.lfItalic = (BYTE)value; break;
    case UNDERLINE: font.lfUnderline = (BYTE)value; break;
    case STRIKEOUT: font.lfStrikeOut = (BYTE)value; break;
    case ESCAPEMENT: font.lfEscapement = value; break;
    case ORIENTATION: font.lfOrientation = value; break;
    case CHARSET: font.lfCharSet = (BYTE)value; break;
    default: font.lfQuality = (BYTE)value; break;
    }
}

static LOGFONTW defaultFont(const std::wstring &face, LONG height)
{
    LOGFONTW font = {};
    for (int field = 0; field < FIELDS; field++)
        setField(font, (Field)field, fieldValues[field][0]);
    font.lfHeight = height;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return font;
}

struct Variation {
    Field field;
    LONG value;
};

/* Every value of every field but the default, one field at a time. */
static std::vector<Variation> variations(void)
{
    std::vector<Variation> all;
    for (int field = 0; field < FIELDS; field++)
        for (size_t i = 1; i < fieldValues[field].size(); i++)
            all.push_back({ (Field)field, fieldValues[field][i] });
    return all;
}

/* The heights and variations of the few settings, for many files at once: a normal size,
   sizes that round metrics to zero, none, and a large one; a width, a weight, a slant, an
   escapement, a symbol set and unsmoothed glyphs. */
static const LONG fewHeights[] = { -16, 1, -1, 2, 0, -100 };
static const Variation fewVariations[] = {
    { WIDTH, 7 }, { WIDTH, 300 }, { WEIGHT, 700 }, { ITALIC, 1 }, { ESCAPEMENT, 900 }, { QUALITY, 3 },
};

/* The cross level: fields that meet in the platform's code crossed at their edge values, the
   others left at their defaults. Qualities 1 and 2 realise as 0 (font_SelectFont). */
static const LONG crossQualities[] = { DEFAULT_QUALITY, NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY,
                                       CLEARTYPE_QUALITY, CLEARTYPE_NATURAL_QUALITY };
static const LONG crossWidths[] = { 0, 1, 7, 300, 1000, -300 };
static const LONG crossHeights[] = { 1, 2, 9, -8, -24, -100, -300, -1000, 0, 32767 };
static const LONG crossEscapements[] = { 0, 450, 900, 1800, 2700, -450 };
static const LONG crossWeights[] = { 0, 400, 700, 1000 };
/* The heights of the crosses that leave the height alone: a small and a normal size. */
static const LONG crossBaseHeights[] = { 9, -24 };
/* Smoothed and ClearType, for the crosses that leave the quality alone. */
static const LONG crossBaseQualities[] = { DEFAULT_QUALITY, CLEARTYPE_QUALITY };

static LOGFONTW crossFont(const std::wstring &face, LONG height, LONG quality)
{
    LOGFONTW font = defaultFont(face, height);
    font.lfQuality = (BYTE)quality;
    return font;
}

/* Quality x width, quality x height, width x escapement (with the orientation alike) and
   weight x italic x width, each at both base heights or qualities. */
static std::vector<LOGFONTW> crossedFonts(const std::wstring &face)
{
    std::vector<LOGFONTW> fonts;
    for (LONG height : crossBaseHeights)
        for (LONG quality : crossQualities)
            for (LONG width : crossWidths) {
                fonts.push_back(crossFont(face, height, quality));
                fonts.back().lfWidth = width;
            }
    for (LONG quality : crossQualities)
        for (LONG height : crossHeights)
            fonts.push_back(crossFont(face, height, quality));
    for (LONG height : crossBaseHeights)
        for (LONG quality : crossBaseQualities)
            for (LONG width : crossWidths)
                for (LONG escapement : crossEscapements) {
                    fonts.push_back(crossFont(face, height, quality));
                    fonts.back().lfWidth = width;
                    fonts.back().lfEscapement = fonts.back().lfOrientation = escapement;
                }
    for (LONG height : crossBaseHeights)
        for (LONG quality : crossBaseQualities)
            for (LONG weight : crossWeights)
                for (BYTE italic : { 0, 1 })
                    for (LONG width : crossWidths) {
                        fonts.push_back(crossFont(face, height, quality));
                        fonts.back().lfWeight = weight;
                        fonts.back().lfItalic = italic;
                        fonts.back().lfWidth = width;
                    }
    return fonts;
}

/* Quick: each height once with the defaults, then each variation once, dealt over the heights
   in turn. Pairs: each height with the defaults and with every variation. Few: as quick, over
   a few heights and variations. Cross: crossedFonts. */
static std::vector<LOGFONTW> fontsOfFace(const std::wstring &face, Level level)
{
    if (level == CROSS)
        return crossedFonts(face);
    std::vector<LONG> levelHeights(heights, heights + HEIGHTS);
    std::vector<Variation> all = variations();
    if (level == FEW) {
        levelHeights.assign(std::begin(fewHeights), std::end(fewHeights));
        all.assign(std::begin(fewVariations), std::end(fewVariations));
    }
    std::vector<LOGFONTW> fonts;
    for (size_t h = 0; h < levelHeights.size(); h++) {
        fonts.push_back(defaultFont(face, levelHeights[h]));
        for (size_t v = 0; v < all.size(); v++) {
            if (level != PAIRS && v % levelHeights.size() != h)
                continue;
            LOGFONTW font = defaultFont(face, levelHeights[h]);
            setField(font, all[v].field, all[v].value);
            fonts.push_back(font);
        }
    }
    return fonts;
}

/* One setting in four draws code by code with the boxes' measuring, one code by code alone,
   and two in runs; a setting's neighbours so get each way. */
static Draw drawOf(long index, Draw chosen)
{
    static const Draw rotation[] = { DRAW_BOXES, DRAW_RUNS, DRAW_SINGLE, DRAW_RUNS };
    return chosen == DRAW_ROTATE ? rotation[index % 4] : chosen;
}

static void describe(char *text, size_t size, const LOGFONTW &f)
{
    snprintf(text, size, "height=%ld width=%ld escapement=%ld orientation=%ld weight=%ld italic=%d "
             "underline=%d strikeout=%d charset=%d quality=%d", f.lfHeight, f.lfWidth, f.lfEscapement,
             f.lfOrientation, f.lfWeight, f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfQuality);
}

/* ---- the calls, traced ---- */

/* With --trace every font call of the application's and of the drawing here prints its name
   and its arguments first; the calls go to the same entries as before (coredll's where it
   exports them). */
#define TRACED(name) static decltype(&name) original##name;
TRACED(CreateFontIndirectW)
TRACED(SelectObject)
TRACED(GetTextMetricsW)
TRACED(GetOutlineTextMetricsW)
TRACED(GetTextFaceW)
TRACED(ExtTextOutW)
TRACED(GetTextExtentExPointW)

static HFONT WINAPI tracedCreateFontIndirectW(const LOGFONTW *font)
{
    say(LINE_CALL "CreateFontIndirectW\n");
    return originalCreateFontIndirectW(font);
}

static HGDIOBJ WINAPI tracedSelectObject(HDC dc, HGDIOBJ object)
{
    say(LINE_CALL "SelectObject %p\n", (void *)object);
    return originalSelectObject(dc, object);
}

static BOOL WINAPI tracedGetTextMetricsW(HDC dc, TEXTMETRICW *metrics)
{
    say(LINE_CALL "GetTextMetricsW\n");
    return originalGetTextMetricsW(dc, metrics);
}

static UINT WINAPI tracedGetOutlineTextMetricsW(HDC dc, UINT size, OUTLINETEXTMETRICW *metrics)
{
    say(LINE_CALL "GetOutlineTextMetricsW size=%u\n", size);
    return originalGetOutlineTextMetricsW(dc, size, metrics);
}

static int WINAPI tracedGetTextFaceW(HDC dc, int count, WCHAR *face)
{
    say(LINE_CALL "GetTextFaceW\n");
    return originalGetTextFaceW(dc, count, face);
}

static BOOL WINAPI tracedExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                                     UINT count, const INT *dx)
{
    say(LINE_CALL "ExtTextOutW U+%04X count=%u\n", count && text ? text[0] : 0, count);
    return originalExtTextOutW(dc, x, y, options, rect, text, count, dx);
}

static BOOL WINAPI tracedGetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maximum, INT *fit,
                                               INT *extents, SIZE *size)
{
    say(LINE_CALL "GetTextExtentExPointW U+%04X count=%d\n", count > 0 && text ? text[0] : 0, count);
    return originalGetTextExtentExPointW(dc, text, count, maximum, fit, extents, size);
}

/* Wherever this program imports the function from, coredll.dll or gdi32.dll. */
template <typename Proc> static void trace(const char *name, Proc replacement, Proc *original)
{
    for (const char *dll : { "coredll.dll", "gdi32.dll" })
        if (void *entry = patchImport(dll, name, (void *)replacement))
            *original = (Proc)entry;
}

#define TRACE(name) trace(#name, traced##name, &original##name)

static void traceFontCalls(void)
{
    TRACE(CreateFontIndirectW);
    TRACE(SelectObject);
    TRACE(GetTextMetricsW);
    TRACE(GetOutlineTextMetricsW);
    TRACE(GetTextFaceW);
    TRACE(ExtTextOutW);
    TRACE(GetTextExtentExPointW);
}

/* ---- one setting ---- */

/* The grid's glyph positions, wrapped inside the client area. */
static POINT cellOf(long n)
{
    return { 40 + (LONG)(n % 16) * 26, (LONG)((n / 16) % 20) * 26 };
}

/* The codes a setting draws: all of them, but for the cross level, whose settings are many,
   the first 0x250 (Latin, with its marks and symbols) and every CROSS_CODE_STEP-th after. */
enum { CROSS_ALL_CODES = 0x250, CROSS_CODE_STEP = 53 };

static std::vector<WCHAR> codesToDraw(Level level, int first, int last)
{
    std::vector<WCHAR> codes;
    for (int code = first; code <= last; code++)
        if (level != CROSS || code < CROSS_ALL_CODES || code % CROSS_CODE_STEP == 0)
            codes.push_back((WCHAR)code);
    return codes;
}

static void drawCodes(HDC dc, Draw draw, const std::vector<WCHAR> &codes)
{
    for (size_t n = 0; n < codes.size();) {
        int count = draw == DRAW_RUNS ? (int)std::min((size_t)RUN_LENGTH, codes.size() - n) : 1;
        POINT at = cellOf(draw == DRAW_RUNS ? (long)(n / RUN_LENGTH * 16) : (long)n);
        ExtTextOutW(dc, at.x, at.y, 0, NULL, &codes[n], count, NULL);
        if (draw == DRAW_BOXES) {
            SIZE extent = { 0, 0 };
            GetTextExtentExPointW(dc, &codes[n], 1, 0, NULL, NULL, &extent);
        }
        n += count;
    }
}

/* As the program realises a font and paints its grid, then every code as the grid draws it. */
static void runSetting(const Setting &setting, const Options &options)
{
    FontViewState.logFont = setting.font;
    FontViewState.showBoundingBoxes = setting.draw == DRAW_BOXES;
    FontViewState.showBaseline = setting.draw == DRAW_BOXES;
    say(LINE_PHASE "applyFont\n");
    applyFont();
    say(LINE_PHASE "paint tmHeight=%ld tmAveCharWidth=%ld face=%s\n", FontViewState.textMetrics.tmHeight,
        FontViewState.textMetrics.tmAveCharWidth, utf8(FontViewState.textFace).c_str());
    InvalidateRect(FontViewState.mainWindow, NULL, TRUE);
    UpdateWindow(FontViewState.mainWindow);
    if (setting.draw == DRAW_NONE)
        return;
    say(LINE_PHASE "draw %s\n", drawNames[setting.draw]);
    HDC dc = GetDC(FontViewState.mainWindow);
    selectDrawingAttributes(dc);
    drawCodes(dc, setting.draw, codesToDraw(options.level, options.firstCode, options.lastCode));
    deleteFontUnderTest(dc);
    ReleaseDC(FontViewState.mainWindow, dc);
    GdiFlush();
}

static void sweep(const Options &options)
{
    std::vector<std::wstring> faces = facesToSweep(options);
    for (size_t i = 0; i < faces.size(); i++)
        say(LINE_FACE, (unsigned)i, utf8(faces[i]).c_str());
    size_t perFace = fontsOfFace(L"", options.level).size();
    long total = (long)(perFace * faces.size());
    say(LINE_SETTINGS, total, (unsigned)perFace);
    if (options.trace)
        traceFontCalls();
    for (long index = options.from; index < total && index <= options.to; index++) {
        const std::wstring &face = faces[index / perFace];
        Setting setting = { fontsOfFace(face, options.level)[index % perFace], drawOf(index, options.draw) };
        char text[300];
        describe(text, sizeof text, setting.font);
        say(LINE_BEGIN, index, (unsigned)(index / perFace), text, drawNames[setting.draw]);
        double start = GetTickCount();
        runSetting(setting, options);
        pumpMessages();
        say(LINE_END, index, GetTickCount() - start);
    }
    say(LINE_DONE);
}

/* ---- the command line ---- */

static int indexOfName(const char *const *names, int count, const WCHAR *name)
{
    for (int i = 0; i < count; i++)
        if (utf8(name) == names[i])
            return i;
    return -1;
}

static bool parseOptions(int argc, WCHAR **argv, Options &options)
{
    for (int i = 1; i < argc; i++) {
        std::wstring arg = argv[i];
        const WCHAR *value = i + 1 < argc ? argv[i + 1] : NULL;
        if (arg == L"--faces")
            options.listFaces = true;
        else if (arg == L"--trace")
            options.trace = true;
        else if (arg == L"--level" && value) {
            int l = indexOfName(levelNames, CROSS + 1, argv[++i]);
            if (l < 0)
                return false;
            options.level = (Level)l;
        }
        else if (arg == L"--exclude" && value)
            options.excludeFile = argv[++i];
        else if (arg == L"--from" && value)
            options.from = wcstol(argv[++i], NULL, 10);
        else if (arg == L"--to" && value)
            options.to = wcstol(argv[++i], NULL, 10);
        else if (arg == L"--codes" && value)
            swscanf(argv[++i], L"%x-%x", &options.firstCode, &options.lastCode);
        else if (arg == L"--draw" && value) {
            int d = indexOfName(drawNames, DRAW_ROTATE + 1, argv[++i]);
            if (d < 0)
                return false;
            options.draw = (Draw)d;
        } else
            return false;
    }
    return true;
}

int main()
{
    int argc = 0;
    WCHAR **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options;
    if (!parseOptions(argc, argv, options)) {
        fprintf(stderr, "velmora_sweep: see fontlab/fontsweep.cpp for its options\n");
        return 2;
    }
    if (options.listFaces) {
        for (const std::wstring &face : deviceFaces(true))
            say("%s\n", utf8(face).c_str());
        return 0;
    }
    setPortrait();
    if (!startApp())
        return 1;
    sweep(options);
    stopApp();
    return 0;
}
