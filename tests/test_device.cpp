/* The emulated device: Japanese, its own fonts and no others, and dialog labels that fit in
   its dialog font. */
#include "apptest.h"

#include <fstream>
#include <sstream>

/* Run with an English host locale (tests/CMakeLists.txt): the device stays Japanese. */
TEST(Device, IsJapaneseWhateverTheHostsLocale)
{
    EXPECT_EQ(932u, GetACP());
    EXPECT_EQ(0x0411u, GetUserDefaultLCID());
    EXPECT_EQ(0x0411u, GetSystemDefaultLCID());
    EXPECT_EQ(0x0411, GetUserDefaultUILanguage());
}

typedef std::set<std::wstring> FaceSet;

/* The first column of the README's table of the device's fonts. */
static FaceSet facesOfReadme(void)
{
    std::ifstream readme(VELMORA_SOURCE_DIR "/README.md");
    FaceSet faces;
    std::string line;
    bool inTable = false;
    while (std::getline(readme, line)) {
        if (line.rfind("## ", 0) == 0)
            inTable = line == "## The device's fonts";
        else if (inTable && line.rfind("| ", 0) == 0 && line.rfind("| Face ", 0) != 0) {
            std::string face = line.substr(2, line.find(" |", 2) - 2);
            faces.insert(std::wstring(face.begin(), face.end()));
        }
    }
    return faces;
}

TEST(DeviceFonts, TheFaceListIsTheReadmesAndNoHostFace)
{
    FaceSet listed = facesOfReadme();
    ASSERT_FALSE(listed.empty()) << "README.md has no table under \"## The device's fonts\"";
    EXPECT_EQ(facesOffered(), listed);
}

static std::wstring realisedFace(HFONT font, TEXTMETRICW *metrics)
{
    HDC dc = GetDC(NULL);
    HGDIOBJ old = SelectObject(dc, font);
    WCHAR face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    GetTextMetricsW(dc, metrics);
    SelectObject(dc, old);
    ReleaseDC(NULL, dc);
    return face;
}

TEST(DeviceFonts, TheSystemFontIsTahomaAndAnUnknownFaceIsADevicesFace)
{
    TEXTMETRICW metrics;
    EXPECT_EQ(realisedFace((HFONT)GetStockObject(SYSTEM_FONT), &metrics), L"Tahoma");

    HFONT font = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"No Such Face");
    std::wstring fallback = realisedFace(font, &metrics);
    DeleteObject(font);
    EXPECT_EQ(facesOfReadme().count(fallback), 1u) << "an unknown face realised as " << fallback.c_str();
}

/* ---- The system font, from the device's registry ---- */

/* The platform's own stock object, which the stand-in coredll.dll's export stands before. */
static HGDIOBJ platformStockObject(int object)
{
    typedef HGDIOBJ (WINAPI *StockObjectProc)(int);
    StockObjectProc platform = (StockObjectProc)(void *)GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "GetStockObject");
    return platform(object);
}

static LOGFONTW descriptionOf(HGDIOBJ font)
{
    LOGFONTW description = {};
    EXPECT_EQ((int)sizeof description, GetObjectW(font, sizeof description, &description));
    return description;
}

/* The key gives face, height, italics, weight and character set; the rest is the platform's. */
static void expectOtherMembersThePlatforms(const LOGFONTW &font)
{
    LOGFONTW platform = descriptionOf(platformStockObject(SYSTEM_FONT));
    EXPECT_EQ(platform.lfEscapement, font.lfEscapement);
    EXPECT_EQ(platform.lfOrientation, font.lfOrientation);
    EXPECT_EQ(platform.lfUnderline, font.lfUnderline);
    EXPECT_EQ(platform.lfStrikeOut, font.lfStrikeOut);
    EXPECT_EQ(platform.lfOutPrecision, font.lfOutPrecision);
    EXPECT_EQ(platform.lfClipPrecision, font.lfClipPrecision);
    EXPECT_EQ(platform.lfQuality, font.lfQuality);
    EXPECT_EQ(platform.lfPitchAndFamily, font.lfPitchAndFamily);
}

/* What the key gives: no width, and the height, italics, weight, character set and face. */
static void expectKeysFont(const LOGFONTW &font, LONG height, BYTE italic, LONG weight, BYTE charSet,
                           const WCHAR *face, const char *when = "")
{
    EXPECT_EQ(height, font.lfHeight) << when;
    EXPECT_EQ(0, font.lfWidth) << when;
    EXPECT_EQ(italic, font.lfItalic) << when;
    EXPECT_EQ(weight, font.lfWeight) << when;
    EXPECT_EQ(charSet, font.lfCharSet) << when;
    EXPECT_STREQ(face, font.lfFaceName) << when;
}

/* emulator/emulator.reg: Tahoma, Ht 900 hundredths of a point with HtInPts 1, It 0, Wt 400, CS 0.
   At 192 dpi, 9 points are 900 x 192 / 7200 = 24 pixels of character height. */
TEST(DeviceFonts, TheSystemFontIsTheOneTheRegistryDescribes)
{
    HGDIOBJ system = GetStockObject(SYSTEM_FONT);
    EXPECT_NE(platformStockObject(SYSTEM_FONT), system);
    EXPECT_EQ(system, GetStockObject(SYSTEM_FONT)) << "made once for the process";
    LOGFONTW font = descriptionOf(system);
    expectKeysFont(font, -24, 0, 400, 0, L"Tahoma");
    expectOtherMembersThePlatforms(font);
    for (int other : { WHITE_BRUSH, NULL_BRUSH, NULL_PEN, DEFAULT_GUI_FONT, SYSTEM_FIXED_FONT, ANSI_VAR_FONT })
        EXPECT_EQ(platformStockObject(other), GetStockObject(other)) << "stock object " << other;
}

/* The key's values, put back as they were when the holder goes. */
class SystemFontKey {
public:
    SystemFontKey()
    {
        HKEY key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        WCHAR name[256];
        BYTE data[1024];
        for (DWORD i = 0;; i++) {
            DWORD nameLength = 256, type, size = sizeof data;
            if (RegEnumValueW(key, i, name, &nameLength, NULL, &type, data, &size) != ERROR_SUCCESS)
                break;
            saved.push_back({ name, type, std::vector<BYTE>(data, data + size) });
        }
        RegCloseKey(key);
    }
    ~SystemFontKey()
    {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
        for (const Value &value : saved)
            set(value.name.c_str(), value.type, value.data.data(), (DWORD)value.data.size());
    }
    void set(LPCWSTR name, DWORD type, const void *data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, (const BYTE *)data, size));
        RegCloseKey(key);
    }
    void setDword(LPCWSTR name, DWORD value) { set(name, REG_DWORD, &value, sizeof value); }
    /* The text's characters alone, without a terminating NUL, as a careless writer stores it. */
    void setText(LPCWSTR name, const std::wstring &text) { set(name, REG_SZ, text.data(), (DWORD)(text.size() * sizeof(WCHAR))); }
    void remove() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, path); }
private:
    static constexpr const WCHAR *path = L"System\\GDI\\SysFnt";
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Value> saved;
};

/* Ht 1000 hundredths of a point at 192 dpi: 1000 x 192 / 7200 = 26.67, rounded to 27. */
TEST(DeviceFonts, AChangedKeyChangesTheSystemFontOfTheNextProcess)
{
    SystemFontKey key;
    key.setText(L"Nm", L"Courier New");
    key.setDword(L"Ht", 1000);
    key.setDword(L"It", 1);
    key.setDword(L"Wt", 700);
    key.setDword(L"CS", 128);
    LOGFONTW font;
    ASSERT_TRUE(freshProcessSystemFont(&font));
    expectKeysFont(font, -27, 1, 700, 128, L"Courier New");
    expectOtherMembersThePlatforms(font);

    key.setDword(L"HtInPts", 0);
    key.setDword(L"Ht", (DWORD)-30);
    ASSERT_TRUE(freshProcessSystemFont(&font));
    EXPECT_EQ(-30, font.lfHeight) << "a height in logical units is taken as it stands";
}

/* Microsoft's documentation of the key gives its defaults as a registry file's hexadecimal
   digits: Nm Tahoma, Ht e (14, in logical units), It 0, Wt 190 (400), CS 0. */
static void expectDefaults(const LOGFONTW &font, const char *when)
{
    expectKeysFont(font, 14, 0, 400, 0, L"Tahoma", when);
}

TEST(DeviceFonts, AnUnreadableKeyGivesTheDocumentedDefaults)
{
    SystemFontKey key;
    key.setText(L"Nm", std::wstring(LF_FACESIZE, L'W'));
    key.setDword(L"Ht", 0x80000000);
    key.setDword(L"HtInPts", 1);
    key.set(L"It", REG_SZ, L"1", sizeof L"1");
    key.set(L"Wt", REG_QWORD, "\x90\x01\0\0\0\0\0\0", 8);
    key.setDword(L"CS", 0x180);
    LOGFONTW font;
    ASSERT_TRUE(freshProcessSystemFont(&font));
    expectDefaults(font, "a face name too long, a height in points that is negative, values of other types");
    key.setDword(L"Wt", 1001);
    key.set(L"Nm", REG_DWORD, "Tah", 4);
    ASSERT_TRUE(freshProcessSystemFont(&font));
    expectDefaults(font, "a weight beyond 1000, a face name of another type");
    key.remove();
    ASSERT_TRUE(freshProcessSystemFont(&font));
    expectDefaults(font, "without the key");
    expectOtherMembersThePlatforms(font);
}

/* One code drawn at a baseline in a font of the description, on white. */
static ClientPicture glyphPicture(const LOGFONTW &font, WCHAR code)
{
    HFONT made = CreateFontIndirectW(&font);
    ClientPicture picture = drawnPicture(RGB(255, 255, 255), [&](HDC dc) {
        SelectObject(dc, made);
        SetTextAlign(dc, TA_BASELINE);
        TextOutW(dc, 20, 100, &code, 1);
    });
    DeleteObject(made);
    return picture;
}

/* The system font of the registry, Tahoma at 24 pixels, in DEFAULT_CHARSET. */
TEST_F(AppTest, FirstFontIsTheDevicesOutlineSystemFontWithJapaneseGlyphs)
{
    const LOGFONTW &first = FontViewState.logFont;
    EXPECT_EQ(-24, first.lfHeight);
    EXPECT_EQ(0, first.lfWidth);
    EXPECT_EQ(DEFAULT_CHARSET, first.lfCharSet);
    EXPECT_STREQ(L"Tahoma", first.lfFaceName);
    EXPECT_STREQ(L"Tahoma", FontViewState.familyName);
    EXPECT_STREQ(L"Tahoma", FontViewState.textFace) << "the physical report's face name";
    EXPECT_NE(0, FontViewState.textMetrics.tmPitchAndFamily & TMPF_TRUETYPE);
    const WCHAR hiragana = 0x3042, noCharacter = 0xFFFF;
    EXPECT_NE(glyphPicture(first, noCharacter).pixels, glyphPicture(first, hiragana).pixels)
        << "U+3042 is drawn as a missing glyph";
    /* The platform smooths a linked glyph as the first font's gasp table asks (Tahoma: grey
       above 16 pixels), where MS UI Gothic's own asks for black and white up to 24 pixels:
       the shapes compare in black and white. */
    LOGFONTW linked = first, japanese = first;
    linked.lfQuality = japanese.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy(japanese.lfFaceName, L"MS UI Gothic");
    EXPECT_EQ(glyphPicture(japanese, hiragana).pixels, glyphPicture(linked, hiragana).pixels)
        << "U+3042 is not the device's Japanese font's, as the system font's link gives it";
}

/* ---- The dialog font ---- */

struct Label {
    std::wstring text;
    int width;     // of the text, in the dialog's font
    int room;      // the label's client width
};

static BOOL CALLBACK addLabel(HWND control, LPARAM labels)
{
    WCHAR className[16];
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Static") != 0 || !(GetWindowLongW(control, GWL_STYLE) & SS_RIGHT))
        return TRUE;
    std::wstring text = windowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(control, WM_GETFONT, 0, 0));
    RECT extent = { 0, 0, 0, 0 };
    DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    ((std::vector<Label> *)labels)->push_back({ text, extent.right, clientRect(control).right });
    return TRUE;
}

class DialogFont : public AppTest {};

/* The template gives "Orientation" less room than MS UI Gothic takes for it: the one label
   allowed to be clipped. */
TEST_F(DialogFont, TheSettingsLabelsFitTheirRectangles)
{
    std::vector<Label> labels;
    for (UINT command : { IDM_LOGFONT1, IDM_LOGFONT2, IDM_DRAWSETTINGS })
        EXPECT_TRUE(lookAtDialog(command, [&](HWND dialog) { EnumChildWindows(dialog, addLabel, (LPARAM)&labels); }));
    ASSERT_EQ(labels.size(), 20u);
    std::wostringstream clipped;
    for (const Label &label : labels)
        if (label.width > label.room && label.text != L"Orientation")
            clipped << label.text << L" (" << label.width << L" px in " << label.room << L") ";
    EXPECT_EQ(clipped.str(), L"");
}
