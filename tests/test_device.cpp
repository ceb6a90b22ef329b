/* The emulated device: Japanese, its own fonts and no others, and dialog labels that fit in
   its dialog font. */
#include "harness.h"

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
    LOGFONTW tahoma;
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof tahoma, &tahoma);
    TEXTMETRICW systemMetrics, tahomaMetrics;
    realisedFace((HFONT)GetStockObject(SYSTEM_FONT), &systemMetrics);
    wcscpy(tahoma.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&tahoma);
    EXPECT_EQ(realisedFace(font, &tahomaMetrics), L"Tahoma");
    DeleteObject(font);
    EXPECT_EQ(memcmp(&systemMetrics, &tahomaMetrics, sizeof systemMetrics), 0)
        << "the system font realises as Tahoma with the same description";

    font = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"No Such Face");
    std::wstring fallback = realisedFace(font, &tahomaMetrics);
    DeleteObject(font);
    EXPECT_EQ(facesOfReadme().count(fallback), 1u) << "an unknown face realised as " << fallback.c_str();
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

TEST_F(AppTest, FirstFontIsTheDevicesOutlineSystemFontWithJapaneseGlyphs)
{
    EXPECT_STREQ(L"Tahoma", FontViewState.familyName);
    EXPECT_NE(0, FontViewState.textMetrics.tmPitchAndFamily & TMPF_TRUETYPE);
    const LOGFONTW &first = FontViewState.logFont;
    LOGFONTW japanese = first;
    wcscpy(japanese.lfFaceName, L"MS UI Gothic");
    const WCHAR hiragana = 0x3042, noCharacter = 0xFFFF;
    ClientPicture drawn = glyphPicture(first, hiragana);
    EXPECT_NE(glyphPicture(first, noCharacter).pixels, drawn.pixels) << "U+3042 is drawn as a missing glyph";
    EXPECT_EQ(glyphPicture(japanese, hiragana).pixels, drawn.pixels)
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
