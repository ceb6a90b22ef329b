#!/usr/bin/python3
"""Writes the edge-valued fonts that test_fontguard puts on the device: copies of the device's
Tahoma whose values, legal as the format allows, lead the platform's font code to a fault that
the stand-in layer keeps away, or to the shaping that it leaves out.

    edgefonts.py FOLDER

Each face is named after its file: "Velmora Tall Lines" is tall-lines.ttf."""

import importlib.machinery
import os
import sys

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
TAHOMA = "/usr/share/wine/fonts/tahoma.ttf"
device_fonts = importlib.machinery.SourceFileLoader(
    "device_fonts", os.path.join(HERE, "..", "tools", "device-fonts")).load_module()


def tall_lines(font):
    """A line 48 times the em: a cell height under 24 pixels rounds the em to 0 pixels (the
    platform reads the descent as signed)."""
    font["OS/2"].usWinAscent = 65535
    font["OS/2"].usWinDescent = 32767


def no_vertical_metrics(font):
    """No ascent and no descent anywhere: the em is 0 pixels at every height."""
    font["OS/2"].usWinAscent = font["OS/2"].usWinDescent = 0
    font["hhea"].ascent = font["hhea"].descent = font["hhea"].lineGap = 0


def small_em(font):
    """The smallest em square, 16 units, under outlines drawn for 2048: every glyph is 128
    times its em: at height -1000 a glyph's bitmap passes 4 GiB."""
    font["head"].unitsPerEm = 16


def shaped(font):
    """U+05D0, Hebrew alef, drawn with the glyph of 'A', which shaping makes the glyph of 'B':
    the platform shapes right-to-left and complex scripts only."""
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap[0x05D0] = "A"
    addOpenTypeFeaturesFromString(font, "languagesystem DFLT dflt; languagesystem hebr dflt;\n"
                                        "feature ccmp { sub A by B; } ccmp;")


EDGES = {"tall-lines": tall_lines, "no-vertical": no_vertical_metrics, "small-em": small_em, "shaped": shaped}


def face_of(name):
    return "Velmora " + name.replace("-", " ").title()


# Tables of sizes measured for Tahoma's own metrics, which no longer hold.
MEASURED = ("VDMX", "hdmx", "LTSH")


def write(folder):
    for name, edit in EDGES.items():
        font = TTFont(TAHOMA)
        for table in MEASURED:
            if table in font:
                del font[table]
        edit(font)
        device_fonts.rename(font, face_of(name))
        font.save(os.path.join(folder, name + ".ttf"))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    os.makedirs(sys.argv[1], exist_ok=True)
    write(sys.argv[1])
