#!/usr/bin/env python3
"""Draws the application icon (a sheet of paper with text lines and a pen mark) as a
Windows .ico with 16, 32 and 48 pixel images, using only the standard library."""
import struct
import sys


def draw(size):
    """Returns rows (top to bottom) of (b, g, r, a) pixels."""
    s = size / 32.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y1 * s), int(y0 * s) + 1)):
            for x in range(int(x0 * s), max(int(x1 * s), int(x0 * s) + 1)):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    navy = (0x60, 0x30, 0x10, 255)
    paper = (0xF8, 0xF8, 0xF8, 255)
    ink = (0x90, 0x60, 0x30, 255)
    accent = (0x20, 0x80, 0xE0, 255)
    rect(5, 2, 27, 30, navy)        # sheet outline
    rect(6, 3, 26, 29, paper)       # sheet
    for i, y in enumerate(range(7, 27, 4)):
        rect(9, y, 23 - (i % 3) * 3, y + 2 if size >= 32 else y + 1, ink)
    rect(18, 20, 28, 24, accent)    # pen stroke across the corner
    rect(26, 19, 30, 25, navy)
    return px


def bmp_entry(size):
    rows = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(c for p in row for c in p) for row in reversed(rows))
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def main(path):
    sizes = [16, 32, 48]
    images = [bmp_entry(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'win32/res/wexly.ico')
