#!/usr/bin/python3
"""The emulated device's own fonts: writes them into a Fonts folder and removes every other font
file from it, so that the device offers these faces and no others, whatever the host has.

    device_fonts.py FOLDER            write the set into FOLDER (the prefix's C:\\Windows\\Fonts)
    device_fonts.py --table           the set as the README's table
    device_fonts.py --refusal FILE    why the device would not take FILE as a user's font
                                      (nothing when it would)

A face the device carries under a name no installable font has is made from the Debian font that
stands in for it, with the device's name written into its name table: the face list then shows
the device's names only. Debian's python3 runs this, for its fontTools."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fontlab"))
from fontTools.ttLib import TTFont  # noqa: E402

import fontedit  # noqa: E402

WINE = "/usr/share/wine/fonts/"
LIBERATION = "/usr/share/fonts/truetype/liberation/"
IPA = "/usr/share/fonts/opentype/ipafont-gothic/"
UME = "/usr/share/fonts/truetype/horai-umefont/"

# (face, source files, Debian package, what it stands in for); a face named as its files
# already name it is copied unchanged.
FONTS = [
    ("Tahoma", [WINE + "tahoma.ttf", WINE + "tahomabd.ttf"], "fonts-wine",
     "the device's system font, regular and bold: Wine's own Tahoma"),
    ("Courier New", [LIBERATION + "LiberationMono-" + s + ".ttf"
                     for s in ("Regular", "Bold", "Italic", "BoldItalic")], "fonts-liberation",
     "Courier New: Liberation Mono, made with its widths"),
    ("Symbol", [WINE + "symbol.ttf"], "fonts-wine", "Symbol: Wine's own"),
    ("Wingdings", [WINE + "wingding.ttf"], "fonts-wine", "Wingdings: Wine's own"),
    ("Webdings", [WINE + "webdings.ttf"], "fonts-wine", "Webdings: Wine's own"),
    ("Marlett", [WINE + "marlett.ttf"], "fonts-wine",
     "Marlett, which draws the caption buttons: Wine's own"),
    ("MS UI Gothic", [UME + "ume-ugo4.ttf"], "fonts-horai-umefont",
     "the dialog font: Ume UI Gothic, made as its stand-in and the nearest in width"),
    ("MS Gothic", [IPA + "ipag.ttf"], "fonts-ipafont-gothic",
     "the fixed-pitch Japanese font: IPAGothic"),
    ("MS PGothic", [IPA + "ipagp.ttf"], "fonts-ipafont-gothic",
     "the proportional Japanese font: IPAPGothic"),
]

# What a user may put on the device: the TrueType engine's files, and the raster fonts that it
# never loads (a Windows Mobile device carries one font engine, chosen when its system is
# built; a Pocket PC's own fonts are TrueType).
USER_FONT_ENDINGS = (".ttf", ".ttc", ".otf")
RASTER_ENDINGS = (".fon", ".fnt")
FONT_ENDINGS = USER_FONT_ENDINGS + RASTER_ENDINGS


def refusal(path):
    """Why the device would not take the file as a user's font, or None."""
    ending = os.path.splitext(path)[1].lower()
    if ending in RASTER_ENDINGS:
        return "a raster font, which the device's TrueType font engine does not load"
    if ending not in USER_FONT_ENDINGS:
        return "a font must be a .ttf, .ttc or .otf file"
    if not os.path.isfile(path) or not os.access(path, os.R_OK):
        return "no such font file"
    if subprocess.run(["fc-query", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode:
        return "not a font"
    return None


def write_face(face, sources, folder):
    written = []
    for source in sources:
        target = os.path.join(folder, os.path.basename(source).lower())
        if fontedit.family_of(source) == face:
            with open(source, "rb") as src, open(target, "wb") as dst:
                dst.write(src.read())
        else:
            font = TTFont(source)
            fontedit.rename(font, face)
            font.save(target)
        written.append(os.path.basename(target))
    return written


def write_set(folder):
    kept = set()
    for face, sources, _, _ in FONTS:
        kept.update(write_face(face, sources, folder))
    for name in os.listdir(folder):
        if name.lower().endswith(FONT_ENDINGS) and name not in kept:
            os.remove(os.path.join(folder, name))


def table():
    print("| Face | Files | From | Stands in for |")
    print("|---|---|---|---|")
    for face, sources, package, meaning in FONTS:
        files = ", ".join(os.path.basename(s) for s in sources)
        print(f"| {face} | {files} | {package} | {meaning} |")


if __name__ == "__main__":
    if sys.argv[1:] == ["--table"]:
        table()
    elif len(sys.argv) == 3 and sys.argv[1] == "--refusal":
        print(refusal(sys.argv[2]) or "", end="")
    elif len(sys.argv) == 2 and os.path.isdir(sys.argv[1]):
        write_set(sys.argv[1])
    else:
        sys.exit(__doc__)
