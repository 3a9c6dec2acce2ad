#!/usr/bin/env python3
"""Draws the program's artwork and writes it as BMP and ICO files beside this script.

Standard library only. Run it after changing a picture and commit the outputs, so that the
build itself never needs Python:

    python3 win32/res/art/gen_art.py            # writes the .bmp and .ico files
    python3 win32/res/art/gen_art.py --sheet x.ppm   # also a contact sheet to look at

Conventions shared with the code that draws these pictures:
- Each button picture is a two-half glyph: the enabled picture on the left, the disabled one on
  the right. The disabled half is made from the enabled one: its outline in 0x808080 over a
  white copy one pixel down and right, which the buttons recolour to the system 3D shades.
- The bottom-left pixel of every picture is the see-through colour (KEY below).
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# RGB tuples.
KEY = (0xA6, 0xCA, 0xF0)  # see-through light blue (0xF0CAA6 as a Windows colour value)
BLACK = (0, 0, 0)
INK = (32, 32, 40)
WHITE = (255, 255, 255)
PAPER = (252, 252, 252)
LINE = (120, 130, 150)
GREY = (128, 128, 128)
LIGHTGREY = (200, 200, 200)
DARKGREY = (80, 80, 80)
BLUE = (30, 90, 200)
DARKBLUE = (10, 40, 120)
LIGHTBLUE = (150, 190, 240)
RED = (210, 30, 30)
DARKRED = (130, 0, 0)
GREEN = (20, 150, 40)
DARKGREEN = (0, 90, 20)
YELLOW = (250, 210, 60)
FOLDER = (240, 190, 60)
FOLDERDARK = (150, 100, 10)
ORANGE = (240, 140, 20)
AMBER = (230, 160, 0)
BROWN = (120, 70, 20)


class Img:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):
        """Filled, corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def box(self, x0, y0, x1, y1, fill, outline):
        self.rect(x0, y0, x1, y1, fill)
        self.frame(x0, y0, x1, y1, outline)

    def hline(self, x0, x1, y, c):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def poly(self, pts, c):
        """Filled polygon, pixel centres inside (even-odd)."""
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(int(xs[i] + 0.5), int(xs[i + 1] + 0.5)):
                    self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, c, width=1.0):
        for y in range(int(cy - r - 2), int(cy + r + 3)):
            for x in range(int(cx - r - 2), int(cx + r + 3)):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
                if r - width <= d <= r:
                    self.set(x, y, c)

    def blit(self, other, x, y, transparent=KEY):
        for j in range(other.h):
            for i in range(other.w):
                c = other.get(i, j)
                if c != transparent:
                    self.set(x + i, y + j, c)

    def text(self, s, x, y, c, font=None):
        font = font or FONT5
        for ch in s:
            rows = font[ch]
            for j, row in enumerate(rows):
                for i, bit in enumerate(row):
                    if bit == '#':
                        self.set(x + i, y + j, c)
            x += len(rows[0]) + 1


# Small pixel fonts: 3x5 for toolbar marks, 5x7 digits for the bookmark glyphs.
FONT5 = {
    '0': ['###', '#.#', '#.#', '#.#', '###'],
    '1': ['.#.', '##.', '.#.', '.#.', '###'],
    'A': ['.#.', '#.#', '###', '#.#', '#.#'],
    'B': ['##.', '#.#', '##.', '#.#', '##.'],
    'T': ['###', '.#.', '.#.', '.#.', '.#.'],
    '#': ['#.#', '###', '#.#', '###', '#.#'],
    '?': ['###', '..#', '.##', '...', '.#.'],
    'i': ['#', '.', '#', '#', '#'],
}

FONT7 = {
    '0': ['.###.', '#...#', '#..##', '#.#.#', '##..#', '#...#', '.###.'],
    '1': ['..#..', '.##..', '..#..', '..#..', '..#..', '..#..', '.###.'],
    '2': ['.###.', '#...#', '....#', '...#.', '..#..', '.#...', '#####'],
    '3': ['####.', '....#', '....#', '.###.', '....#', '....#', '####.'],
    '4': ['...#.', '..##.', '.#.#.', '#..#.', '#####', '...#.', '...#.'],
    '5': ['#####', '#....', '####.', '....#', '....#', '#...#', '.###.'],
    '6': ['..##.', '.#...', '#....', '####.', '#...#', '#...#', '.###.'],
    '7': ['#####', '....#', '...#.', '..#..', '.#...', '.#...', '.#...'],
    '8': ['.###.', '#...#', '#...#', '.###.', '#...#', '#...#', '.###.'],
    '9': ['.###.', '#...#', '#...#', '.####', '....#', '...#.', '.##..'],
    '?': ['.###.', '#...#', '....#', '..##.', '..#..', '.....', '..#..'],
}


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def disabled_of(img):
    """Embossed grey picture: the shapes' darker pixels in 0x808080 over a white shadow."""
    out = Img(img.w, img.h)
    marks = [(x, y) for y in range(img.h) for x in range(img.w)
             if img.get(x, y) != KEY and luminance(img.get(x, y)) < 190]
    for x, y in marks:
        if x + 1 < img.w - 0 and y + 1 < img.h:
            out.set(x + 1, y + 1, WHITE)
    for x, y in marks:
        out.set(x, y, GREY)
    out.set(0, out.h - 1, KEY)
    return out


def two_half(img):
    pair = Img(img.w * 2, img.h)
    pair.blit(img, 0, 0)
    pair.blit(disabled_of(img), img.w, 0)
    return pair


# ---- Toolbar pictures: 20x20, content kept within 2..17 so bevels never cut it. ----

def page(g, x0, y0, x1, y1, lines=True, fold=3):
    """A sheet with a folded top-right corner."""
    g.poly([(x0, y0), (x1 - fold + 1, y0), (x1 + 1, y0 + fold), (x1 + 1, y1 + 1), (x0, y1 + 1)],
           PAPER)
    g.hline(x0, x1 - fold, y0, INK)
    g.vline(x0, y0, y1, INK)
    g.hline(x0, x1, y1, INK)
    g.vline(x1, y0 + fold, y1, INK)
    g.line(x1 - fold, y0, x1, y0 + fold, INK)
    g.vline(x1 - fold, y0, y0 + fold, INK)
    g.hline(x1 - fold, x1, y0 + fold, INK)
    if lines:
        for y in range(y0 + fold + 2, y1 - 1, 2):
            g.hline(x0 + 2, x1 - 2, y, LINE)


def folder(g, x0, y0, x1, y1):
    g.box(x0, y0 + 2, x1, y1, FOLDER, FOLDERDARK)
    g.box(x0, y0, x0 + 5, y0 + 2, FOLDER, FOLDERDARK)
    g.hline(x0 + 1, x1 - 1, y0 + 3, YELLOW)


def floppy(g, x0, y0, s=14, body=BLUE):
    x1, y1 = x0 + s - 1, y0 + s - 1
    g.poly([(x0, y0), (x1, y0), (x1 + 1, y0 + 1), (x1 + 1, y1 + 1), (x0, y1 + 1)], body)
    g.frame(x0, y0, x1, y1, DARKBLUE)
    g.box(x0 + 3, y0, x1 - 3, y0 + s // 3, LIGHTGREY, DARKBLUE)
    g.rect(x1 - 5, y0 + 1, x1 - 4, y0 + s // 3 - 1, DARKBLUE)
    g.box(x0 + 2, y1 - s // 3, x1 - 2, y1, WHITE, DARKBLUE)


def arrow_right(g, x, y, c, length=6):
    """A thick arrow pointing right with its tip at (x, y)."""
    g.poly([(x + 1, y + 0.5), (x - 3, y - 3.5), (x - 3, y + 4.5)], c)
    g.rect(x - 3 - length + 3, y - 1, x - 3, y + 1, c)


def arrow_left(g, x, y, c, length=6):
    g.poly([(x, y + 0.5), (x + 4, y - 3.5), (x + 4, y + 4.5)], c)
    g.rect(x + 4, y - 1, x + 4 + length - 3, y + 1, c)


def red_cross(g, cx, cy, r=3):
    for d in range(-r, r + 1):
        for w in (0, 1):
            g.set(cx + d + w, cy + d, RED)
            g.set(cx + d + w, cy - d, RED)


def curved_arrow(g, back):
    """Undo (back) or redo arrow: a bow over the top with a head at one end."""
    cx, cy = 10, 11
    for y in range(0, 20):
        for x in range(0, 20):
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            if 4.0 <= d <= 6.5 and y + 0.5 <= cy:
                g.set(x, y, BLUE)
    if back:
        g.poly([(2, 10), (9, 10), (5.5, 15)], BLUE)
    else:
        g.poly([(11, 10), (18, 10), (14.5, 15)], BLUE)


def magnifier(g, cx=8, cy=8, r=5):
    g.disc(cx, cy, r, LIGHTBLUE)
    g.ring(cx, cy, r, INK, 1.6)
    g.set(int(cx) - 2, int(cy) - 2, WHITE)
    g.set(int(cx) - 1, int(cy) - 3, WHITE)
    for i in range(5):
        g.rect(int(cx + r * 0.6) + i, int(cy + r * 0.6) + i, int(cx + r * 0.6) + i + 1,
               int(cy + r * 0.6) + i + 1, BROWN)


def window(g, x0, y0, x1, y1, title=BLUE):
    g.box(x0, y0, x1, y1, PAPER, INK)
    g.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 2, title)


def draw_toolbar():
    pics = []

    def new():
        return Img(20, 20)

    # 0 New: a clean sheet with a star of newness.
    g = new(); page(g, 4, 2, 15, 17, lines=False)
    g.disc(14, 5, 2.6, YELLOW); g.set(14, 2, ORANGE); g.set(17, 5, ORANGE); g.set(11, 5, ORANGE)
    pics.append(g)
    # 1 Open Text: an open folder with a text sheet.
    g = new(); page(g, 6, 2, 15, 12); folder(g, 2, 8, 17, 17); g.text('T', 8, 11, DARKBLUE)
    pics.append(g)
    # 2 Open Binary: the folder with ones and zeros.
    g = new(); page(g, 6, 2, 15, 12, lines=False); g.text('01', 7, 5, DARKGREEN)
    folder(g, 2, 8, 17, 17); pics.append(g)
    # 3 Reopen: folder with a turning arrow.
    g = new(); folder(g, 2, 7, 15, 16)
    g.ring(13, 6, 4.5, GREEN, 1.8); g.poly([(15, 7), (19, 7), (17, 10)], GREEN)
    g.rect(9, 5, 12, 8, KEY); folder(g, 2, 7, 15, 16); pics.append(g)
    # 4 Revert: a sheet with an arrow turning back.
    g = new(); page(g, 2, 2, 13, 17)
    g.ring(13, 11, 4.5, RED, 1.8); g.rect(13, 11, 18, 16, KEY); g.rect(8, 11, 13, 16, KEY)
    page(g, 2, 2, 11, 17); g.ring(13, 11, 4.5, RED, 1.8); g.rect(9, 11, 18, 17, KEY)
    g.poly([(7, 10), (12, 10), (9.5, 14)], RED); g.vline(11, 12, 17, INK)
    pics.append(g)
    # 5 Save: a diskette.
    g = new(); floppy(g, 3, 3); pics.append(g)
    # 6 Save As: diskette and a pencil.
    g = new(); floppy(g, 2, 2)
    for i in range(7):
        g.rect(11 + i, 17 - i, 12 + i, 17 - i, ORANGE); g.set(11 + i, 16 - i, BROWN)
    g.set(10, 18, INK); g.set(11, 18, INK); pics.append(g)
    # 7 Save Copy As: diskette with a copy sheet behind.
    g = new(); page(g, 8, 2, 17, 13, lines=True); floppy(g, 2, 6, 12); pics.append(g)
    # 8 Save All: three stacked diskettes.
    g = new(); floppy(g, 6, 1, 12); floppy(g, 4, 4, 12); floppy(g, 2, 7, 12); pics.append(g)
    # 9 Print: a printer with paper.
    g = new(); page(g, 5, 2, 14, 9, lines=False, fold=2)
    g.box(2, 8, 17, 14, LIGHTGREY, INK); g.hline(3, 16, 9, WHITE); g.set(15, 11, GREEN)
    g.box(5, 13, 14, 17, PAPER, INK); g.hline(7, 12, 15, LINE); pics.append(g)
    # 10 Close: a sheet with a red cross.
    g = new(); page(g, 3, 2, 13, 16); red_cross(g, 13, 13, 3); pics.append(g)
    # 11 Close All: stacked sheets with a red cross.
    g = new(); page(g, 6, 1, 15, 12, lines=False); page(g, 3, 4, 12, 16)
    red_cross(g, 13, 14, 3); pics.append(g)
    # 12 Undo / 13 Redo.
    g = new(); curved_arrow(g, True); pics.append(g)
    g = new(); curved_arrow(g, False); pics.append(g)
    # 14 Cut: scissors.
    g = new()
    g.line(6, 2, 12, 11, INK); g.line(7, 2, 13, 11, INK)
    g.line(13, 2, 7, 11, INK); g.line(12, 2, 6, 11, INK)
    g.ring(5.5, 14.5, 3.2, RED, 1.5); g.ring(14.5, 14.5, 3.2, RED, 1.5)
    pics.append(g)
    # 15 Copy: two sheets.
    g = new(); page(g, 2, 2, 11, 13); page(g, 8, 6, 17, 17); pics.append(g)
    # 16 Paste: a clipboard with a sheet.
    g = new(); g.box(2, 3, 13, 17, (200, 150, 80), BROWN)
    g.box(5, 2, 10, 4, LIGHTGREY, INK); page(g, 8, 7, 17, 17); pics.append(g)
    # 17 Select All: text lines inside a dotted marquee.
    g = new()
    for y in (6, 9, 12):
        g.hline(5, 14, y, INK)
    g.rect(5, 5, 14, 13, LIGHTBLUE)
    for y in (6, 8, 10, 12):
        g.hline(5, 14 - (y % 4), y, DARKBLUE)
    for x in range(2, 18):
        if x % 2 == 0:
            g.set(x, 2, INK); g.set(x, 16, INK)
    for y in range(2, 17):
        if y % 2 == 0:
            g.set(2, y, INK); g.set(17, y, INK)
    pics.append(g)
    # 18 Find: magnifying glass.
    g = new(); magnifier(g, 8, 8, 5.5); pics.append(g)
    # 19 Find Again: magnifier with a green forward arrow.
    g = new(); magnifier(g, 7, 7, 5); arrow_right(g, 18, 15, GREEN, 6); pics.append(g)
    # 20 Replace: A becomes B.
    g = new(); g.box(2, 2, 8, 8, PAPER, INK); g.text('A', 4, 3, BLUE)
    g.box(11, 11, 17, 17, PAPER, INK); g.text('B', 13, 12, RED)
    g.line(6, 10, 6, 14, GREEN); g.line(6, 14, 9, 14, GREEN)
    g.poly([(9, 11.5), (9, 17.5), (12, 14.5)], GREEN); pics.append(g)
    # 21 Goto Line: an arrow pointing at one line of a sheet.
    g = new(); page(g, 7, 2, 17, 17, lines=False)
    for y in (6, 8, 12, 14):
        g.hline(9, 15, y, LINE)
    g.hline(9, 15, 10, RED); g.hline(9, 15, 9, RED)
    arrow_right(g, 8, 9, GREEN, 7); pics.append(g)
    # 22 Statistics: a bar chart.
    g = new(); g.vline(2, 2, 17, INK); g.hline(2, 17, 17, INK)
    g.box(4, 10, 6, 16, BLUE, DARKBLUE); g.box(8, 5, 10, 16, RED, DARKRED)
    g.box(12, 8, 14, 16, GREEN, DARKGREEN); g.box(15, 12, 17, 16, YELLOW, FOLDERDARK)
    pics.append(g)
    # 23 Split Window: a window with two panes one above the other.
    g = new(); window(g, 2, 2, 17, 17); g.hline(3, 16, 9, INK); g.hline(3, 16, 10, INK)
    for y in (5, 7, 12, 14):
        g.hline(4, 12, y, LINE)
    pics.append(g)
    # 24 Sync: two panes joined by a double arrow.
    g = new(); window(g, 2, 2, 10, 17); window(g, 11, 2, 17, 17, GREEN)
    g.vline(14, 5, 15, DARKGREEN); g.poly([(12, 7), (17, 7), (14.5, 4)], DARKGREEN)
    g.poly([(12, 13), (17, 13), (14.5, 16)], DARKGREEN)
    for y in (6, 9, 12, 15):
        g.hline(4, 8, y, LINE)
    pics.append(g)
    # 25 Hide Bars: a window whose bars fold away upwards.
    g = new(); window(g, 2, 5, 17, 17); g.rect(3, 8, 16, 9, LIGHTGREY)
    g.poly([(6, 4), (13, 4), (9.5, 0.5)], RED); g.rect(8, 4, 11, 6, RED)
    pics.append(g)
    # 26 Previous File / 27 Next File.
    g = new(); page(g, 7, 2, 17, 17); arrow_left(g, 1, 10, BLUE, 9); pics.append(g)
    g = new(); page(g, 2, 2, 12, 17); arrow_right(g, 18, 10, BLUE, 9); pics.append(g)
    # 28 Window List: stacked windows.
    g = new(); window(g, 7, 1, 17, 9); window(g, 4, 5, 14, 13); window(g, 1, 9, 11, 17)
    pics.append(g)
    # 29 Settings: a gear.
    g = new()
    import math
    for k in range(8):
        a = k * math.pi / 4
        cx, cy = 9.5 + 6.3 * math.cos(a), 9.5 + 6.3 * math.sin(a)
        g.disc(cx, cy, 1.8, DARKGREY)
    g.disc(9.5, 9.5, 6.0, GREY); g.ring(9.5, 9.5, 6.0, DARKGREY, 1.2)
    g.disc(9.5, 9.5, 2.4, KEY); g.ring(9.5, 9.5, 2.6, DARKGREY, 1.0)
    pics.append(g)
    # 30 Help Contents: a book with a question mark.
    g = new(); g.box(3, 2, 15, 17, BLUE, DARKBLUE); g.rect(15, 3, 16, 17, PAPER)
    g.vline(16, 3, 17, INK); g.hline(4, 16, 17, INK); g.vline(5, 3, 16, DARKBLUE)
    g.text('?', 7, 6, YELLOW, FONT7)
    pics.append(g)
    # 31 About: an information mark in a blue disc.
    g = new(); g.disc(9.5, 9.5, 7.6, BLUE); g.ring(9.5, 9.5, 7.6, DARKBLUE, 1.0)
    g.rect(9, 5, 10, 6, WHITE); g.rect(9, 8, 10, 14, WHITE); g.rect(8, 8, 8, 8, WHITE)
    g.rect(8, 14, 11, 14, WHITE)
    pics.append(g)
    # 32 Exit: a door with an arrow walking out.
    g = new(); g.box(3, 2, 11, 17, (170, 110, 50), BROWN); g.set(9, 10, YELLOW)
    g.poly([(11, 2), (14, 4), (14, 17), (11, 17)], (120, 70, 20))
    arrow_right(g, 19, 10, RED, 7)
    pics.append(g)

    assert len(pics) == 33
    for p in pics:
        p.set(0, p.h - 1, KEY)
    return pics


# ---- File-button state marks: 4 wide, 4 or 6 high; corners stay see-through. ----

STATES = [  # text, modified text, read-only text, binary, read-only binary
    (GREEN, DARKGREEN, None),
    (RED, DARKRED, None),
    (AMBER, BROWN, None),
    (BLUE, DARKBLUE, None),
    (BLUE, DARKBLUE, AMBER),
]


def state_mark(h, state):
    fill, edge, lower = STATES[state]
    g = Img(4, h)
    for y in range(h):
        for x in range(4):
            corner = (y in (0, h - 1)) and x in (0, 3)
            if corner:
                continue
            c = fill
            if lower and y >= h // 2:
                c = lower
            edge_px = y in (0, h - 1) or x in (0, 3)
            g.set(x, y, edge if edge_px and h > 4 else c)
    return g


def flags(h):
    strip = Img(8 * 5, h)
    for n in range(5):
        strip.blit(two_half(state_mark(h, n)), 8 * n, 0)
    return strip


# ---- Bookmark glyphs: a tag pointing at the text, with the bookmark's digit. ----

BOOK_W, BOOK_H = 12, 11
TAG = (255, 200, 40)
TAG_EDGE = (150, 90, 0)


def bookmark(n):
    g = Img(BOOK_W, BOOK_H)
    body = [(0.5, 0), (8, 0), (11.5, 5.5), (8, 11), (0.5, 11), (0, 10.5), (0, 0.5)]
    g.poly(body, TAG)
    for y in range(BOOK_H):
        row = [x for x in range(BOOK_W) if g.get(x, y) == TAG]
        if row:
            g.set(row[0], y, TAG_EDGE)
            g.set(row[-1], y, TAG_EDGE)
            if y in (0, BOOK_H - 1):
                for x in row:
                    g.set(x, y, TAG_EDGE)
    g.text(str(n), 2, 2, (20, 20, 20), FONT7)
    g.set(0, BOOK_H - 1, KEY)
    g.set(0, 0, KEY)
    return g


def bookmarks():
    strip = Img(BOOK_W * 10, BOOK_H)
    for n in range(10):
        strip.blit(bookmark(n), BOOK_W * n, 0)
    return strip


# ---- Dialog button glyphs (16x16 two-half): arrows, add, delete, help, browse. ----

DIALOG_GLYPHS = ['up', 'down', 'right', 'left', 'add', 'delete', 'help', 'browse', 'clear']


def dialog_glyph(name):
    g = Img(16, 16)
    if name in ('up', 'down'):
        pts = [(2, 10), (14, 10), (8, 3)] if name == 'up' else [(2, 6), (14, 6), (8, 13)]
        g.poly(pts, DARKBLUE)
    elif name == 'right':
        arrow_right(g, 14, 7, DARKBLUE, 11)
    elif name == 'left':
        arrow_left(g, 1, 7, DARKBLUE, 11)
    elif name == 'add':
        g.rect(7, 2, 8, 13, GREEN); g.rect(2, 7, 13, 8, GREEN)
        g.frame(6, 1, 9, 14, DARKGREEN); g.frame(1, 6, 14, 9, DARKGREEN)
        g.rect(7, 2, 8, 13, GREEN); g.rect(2, 7, 13, 8, GREEN)
    elif name == 'delete':
        g.box(1, 6, 14, 9, RED, DARKRED)
    elif name == 'help':
        g.disc(8, 8, 6.8, BLUE)
        g.text('?', 6, 4, WHITE, FONT7)
    elif name == 'browse':
        folder(g, 1, 4, 14, 13)
        for x in (4, 7, 10):
            g.rect(x, 10, x + 1, 11, INK)
    elif name == 'clear':
        red_cross(g, 7, 7, 5)
    g.set(0, 15, KEY)
    return g


def dialog_glyphs():
    return [two_half(dialog_glyph(n)) for n in DIALOG_GLYPHS]


# ---- Application and document icons ----

def icon_image(size, document):
    """RGBA rows. A sheet with text and, for the program, a pen writing on it."""
    s = size / 32.0
    img = Img(size, size, (0, 0, 0, 0))

    def R(x0, y0, x1, y1, c):
        img.rect(int(x0 * s), int(y0 * s), max(int(x1 * s), int(x0 * s)),
                 max(int(y1 * s), int(y0 * s)), c + (255,))

    def P(pts, c):
        img.poly([(x * s, y * s) for x, y in pts], c + (255,))

    P([(5, 1), (21, 1), (28, 8), (28, 31), (5, 31)], DARKBLUE)
    P([(6, 2), (20, 2), (27, 9), (27, 30), (6, 30)], PAPER)
    P([(20, 2), (27, 9), (20, 9)], LIGHTGREY)
    R(20, 1, 20, 9, DARKBLUE)
    R(20, 9, 27, 9, DARKBLUE)
    R(6, 2, 19, 6, BLUE) if not document else R(6, 2, 19, 6, GREEN)
    for i, y in enumerate(range(11, 28, 4)):
        R(9, y, 24 - (i % 3) * 4, y + (1 if size >= 32 else 0), LINE)
    if not document:
        for i in range(13):
            x, y = 14 + i, 29 - i
            R(x, y - 2, x + 2, y, ORANGE)
            R(x + 2, y - 2, x + 2, y - 2, BROWN)
        R(12, 28, 14, 30, INK)
    return img


def icon_file(sizes, document):
    entries, blobs = [], []
    for size in sizes:
        img = icon_image(size, document)
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        pix = bytearray()
        for y in range(size - 1, -1, -1):
            for x in range(size):
                r, g, b, a = img.get(x, y)
                pix += bytes((b, g, r, a))
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            bits = bytearray(mask_row)
            for x in range(size):
                if img.get(x, y)[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append(header + bytes(pix) + bytes(mask))
    offset = 6 + 16 * len(sizes)
    out = struct.pack('<HHH', 0, 1, len(sizes))
    for size, blob in zip(sizes, blobs):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


# ---- Files ----

def bmp_bytes(img):
    """24-bit bottom-up BMP."""
    row = (img.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(img.h - 1, -1, -1):
        line = bytearray()
        for x in range(img.w):
            r, g, b = img.get(x, y)[:3]
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + bytes(data)


def strip_of(pics):
    strip = Img(sum(p.w for p in pics), max(p.h for p in pics))
    x = 0
    for p in pics:
        strip.blit(p, x, 0, transparent=None)
        x += p.w
    return strip


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def contact_sheet(path, outputs):
    """A PPM that shows every picture magnified four times on two backgrounds."""
    zoom, pad = 4, 8
    width = max(img.w for _, img in outputs) * zoom + 2 * pad
    height = sum(2 * (img.h * zoom + pad) for _, img in outputs) + pad
    sheet = Img(width, height, (255, 255, 255))
    y = pad
    for _, img in outputs:
        for bg in ((192, 192, 192), (0, 0, 128)):
            for j in range(img.h):
                for i in range(img.w):
                    c = img.get(i, j)[:3]
                    if c == KEY:
                        c = bg
                    for dy in range(zoom):
                        for dx in range(zoom):
                            sheet.set(pad + i * zoom + dx, y + j * zoom + dy, c)
            y += img.h * zoom + pad
    with open(path, 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (sheet.w, sheet.h))
        f.write(bytes(v for row in sheet.px for c in row for v in c))


def main(argv):
    toolbar = strip_of([two_half(p) for p in draw_toolbar()])
    outputs = [
        ('toolbar.bmp', toolbar),
        ('flags4.bmp', flags(4)),
        ('flags6.bmp', flags(6)),
        ('bookmarks.bmp', bookmarks()),
        ('dialogglyphs.bmp', strip_of(dialog_glyphs())),
    ]
    for name, img in outputs:
        write(name, bmp_bytes(img))
    write('wexly.ico', icon_file([16, 32], document=False))
    write('wexlydoc.ico', icon_file([16, 32], document=True))
    if len(argv) > 2 and argv[1] == '--sheet':
        icons = []
        for doc in (False, True):
            for size in (16, 32):
                rgba = icon_image(size, doc)
                img = Img(size, size)
                for yy in range(size):
                    for xx in range(size):
                        r, g, b, a = rgba.get(xx, yy)
                        if a:
                            img.set(xx, yy, (r, g, b))
                icons.append(('icon', img))
        pieces = []
        for name, img in outputs:
            step = 320 if img.w > 400 else img.w
            for x in range(0, img.w, step):
                part = Img(min(step, img.w - x), img.h)
                for yy in range(img.h):
                    for xx in range(part.w):
                        part.set(xx, yy, img.get(x + xx, yy))
                pieces.append((name, part))
        contact_sheet(argv[2], pieces + icons)


if __name__ == '__main__':
    main(sys.argv)
