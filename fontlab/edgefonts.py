#!/usr/bin/python3
"""Writes the named edge fonts (fontlab/fontedit.py) into a folder: copies of the device's
Tahoma whose values, legal as the format allows, lead the platform's font code to a fault that
the stand-in layer keeps away, or to the shaping that it leaves out. The tests' fixture writes
those they put on the device; fontlab/fontfuzz --edges writes them all for the sweep.

    edgefonts.py FOLDER [NAME...]

Each is NAME.ttf, of the face fontedit.face_of(NAME): "Velmora Tall Lines" is tall-lines.ttf."""

import os
import sys

import fontedit


def write(folder, names=None, base=fontedit.TAHOMA):
    os.makedirs(folder, exist_ok=True)
    for name, what, _, _, _ in fontedit.EDGES:
        if not names or name in names:
            fontedit.edge_font(name, base).save(os.path.join(folder, name + ".ttf"))
            yield name, what


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    for _ in write(sys.argv[1], sys.argv[2:]):
        pass
