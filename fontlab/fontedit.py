"""Editing a font file's contents: its family's names, and the named fonts at the edges of
what the format allows. The one place for both, used by the device's font set
(emulator/device_fonts.py), the fuzzer (fontlab/fontfuzz) and the test fixture
(fontlab/edgefonts.py). Debian's python3 runs them, for its fontTools."""

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.ttLib import TTFont

TAHOMA = "/usr/share/wine/fonts/tahoma.ttf"
FAMILY, STYLE, UNIQUE_ID, FULL_NAME, POSTSCRIPT_NAME = 1, 2, 3, 4, 6
TYPOGRAPHIC_NAMES = (16, 17, 21, 22)


def style_of(font):
    for record in font["name"].names:
        if record.nameID == STYLE and record.langID in (0, 0x409):
            return record.toUnicode()
    return "Regular"


def family_of(path):
    font = TTFont(path, lazy=True)
    for record in font["name"].names:
        if record.nameID == FAMILY and record.langID in (0, 0x409):
            return record.toUnicode()
    return None


def rename(font, face):
    """Every record of the family's names, in every language, now names the face; the style
    stays the font's own."""
    table = font["name"]
    style = style_of(font)
    full = face if style == "Regular" else face + " " + style
    names = {FAMILY: face, FULL_NAME: full, UNIQUE_ID: full,
             POSTSCRIPT_NAME: face.replace(" ", "") + ("" if style == "Regular" else "-" + style)}
    table.names = [r for r in table.names if r.nameID not in names and r.nameID not in TYPOGRAPHIC_NAMES]
    for name_id, text in names.items():
        table.setName(text, name_id, 3, 1, 0x409)
        table.setName(text, name_id, 1, 0, 0)


# ---- the named edge fonts ----

def shaped(font):
    """U+05D0, Hebrew alef, mapped to the glyph of 'A', which shaping makes the glyph of 'B'."""
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap[0x05D0] = "A"
    addOpenTypeFeaturesFromString(font, "languagesystem DFLT dflt; languagesystem hebr dflt;\n"
                                        "feature ccmp { sub A by B; } ccmp;")


# Each: (name, what it is, the fields it sets as (table, attribute, value), every advance set to
# this value or None, a further edit or None). The face is face_of(name).
EDGES = [
    ("tall-lines", "a line 48 times the em (OS/2 win ascent 65535, win descent 32767, which the "
     "platform reads as signed): a cell height under 24 pixels rounds the em to 0 pixels",
     [("OS/2", "usWinAscent", 65535), ("OS/2", "usWinDescent", 32767)], None, None),
    ("tallest-lines", "line spacing as tall as the format allows: hhea ascent 32767, descent -32768, "
     "line gap 32767; OS/2 win ascent and descent 65535, typographic ascender 32767, descender "
     "-32768, line gap 32767",
     [("hhea", "ascent", 32767), ("hhea", "descent", -32768), ("hhea", "lineGap", 32767),
      ("OS/2", "usWinAscent", 65535), ("OS/2", "usWinDescent", 65535), ("OS/2", "sTypoAscender", 32767),
      ("OS/2", "sTypoDescender", -32768), ("OS/2", "sTypoLineGap", 32767)], None, None),
    ("no-vertical", "no ascent and no descent (hhea and OS/2 win): the em is 0 pixels at every height",
     [("OS/2", "usWinAscent", 0), ("OS/2", "usWinDescent", 0), ("hhea", "ascent", 0), ("hhea", "descent", 0),
      ("hhea", "lineGap", 0)], None, None),
    ("small-em", "the smallest em square, 16 units, under outlines drawn for 2048: every glyph 128 "
     "times its em, past 4 GiB as a bitmap at height -1000", [("head", "unitsPerEm", 16)], None, None),
    ("large-em", "the largest em square, 16384 units: every glyph an eighth of its size",
     [("head", "unitsPerEm", 16384)], None, None),
    ("zero-advances", "every glyph's advance 0, the average and widest width 0",
     [("OS/2", "xAvgCharWidth", 0), ("hhea", "advanceWidthMax", 0)], 0, None),
    ("huge-advances", "every glyph's advance 65535, the widest width 65535",
     [("hhea", "advanceWidthMax", 65535)], 65535, None),
    ("negative-average", "OS/2 average width -32768", [("OS/2", "xAvgCharWidth", -32768)], None, None),
    ("zero-box", "the head's glyph box all 0", [("head", f, 0) for f in ("xMin", "yMin", "xMax", "yMax")],
     None, None),
    ("fixed-pitch-flag", "a proportional font that says it is fixed pitch (post)",
     [("post", "isFixedPitch", 1)], None, None),
    ("no-code-pages", "OS/2 code-page and Unicode ranges all 0: no character set",
     [("OS/2", "ulCodePageRange1", 0), ("OS/2", "ulCodePageRange2", 0), ("OS/2", "ulUnicodeRange1", 0)],
     None, None),
    ("shaped", "U+05D0 drawn with the glyph of 'A', which a ccmp lookup makes 'B': the platform "
     "shapes right-to-left and complex scripts only", [], None, shaped),
]

# Tables of sizes measured for the base font's own metrics, which an edited font's no longer are.
MEASURED = ("VDMX", "hdmx", "LTSH")


def face_of(name):
    return "Velmora " + name.replace("-", " ").title()


def edge_font(name, base=TAHOMA, face=None):
    """The named edge font, made from the base font, under its own face or the one given."""
    _, _, fields, advances, edit = next(e for e in EDGES if e[0] == name)
    font = TTFont(base, recalcBBoxes=False, recalcTimestamp=False)
    for table in MEASURED:
        if table in font:
            del font[table]
    for table, attribute, value in fields:
        setattr(font[table], attribute, value)
    if advances is not None:
        font["hmtx"].metrics = {glyph: (advances, lsb) for glyph, (_, lsb) in font["hmtx"].metrics.items()}
    if edit:
        edit(font)
    rename(font, face or face_of(name))
    return font
