#!/usr/bin/env python3
"""Writes res/velmora.ico: a 16-colour "V" on a grid, as 32x32 and 16x16 images."""
import struct
import sys

# The standard 16-colour palette, as BGRX quads.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
WHITE, GREY, NAVY = 15, 7, 4


def picture(size):
    step = size // 4
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            colour = GREY if x % step == 0 or y % step == 0 else WHITE
            # A "V": two strokes meeting at the bottom centre.
            t = y / (size - 1)
            left = t * (size / 2 - 1)
            right = size - 1 - left
            width = max(1.5, size / 10)
            if abs(x - left) < width or abs(x - right) < width:
                colour = NAVY
            row.append(colour)
        rows.append(row)
    return rows


def image(size):
    pixels = picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in
                       [(p[2], p[1], p[0]) for p in PALETTE])
    xor = b''
    for row in reversed(pixels):
        xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
    and_row = ((size + 31) // 32) * 4
    mask = bytes(and_row * size)
    return header + palette + xor + mask


def main(path):
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/velmora.ico')
