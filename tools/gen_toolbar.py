#!/usr/bin/env python3
"""Draws the main tool bar's button images into res/icons/toolbar.bmp: 16 x 15 pixel images side
by side in one 24-bit bitmap, magenta where the background shows through.

    tools/gen_toolbar.py
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), '..', 'res', 'icons', 'toolbar.bmp')
W, H = 16, 15
MASK = (255, 0, 255)
DARK = (40, 40, 40)
BLUE = (40, 80, 170)
GREEN = (30, 150, 50)
RED = (200, 40, 40)
YELLOW = (230, 190, 30)
GREY = (120, 120, 120)
WHITE = (255, 255, 255)


def disc(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def connect(x, y):
    # A plug meeting its socket: two bars and a right-pointing head.
    if 6 <= y <= 8 and 1 <= x <= 6:
        return DARK
    if 3 <= y <= 11 and 7 <= x <= 13 and abs(y - 7) <= 13 - x:
        return GREEN
    return None


def disconnect(x, y):
    if 3 <= x <= 12 and 3 <= y <= 11 and (abs(x - y) <= 1 or abs(x - (14 - y)) <= 1):
        return RED
    return None


def hash_sign(x, y):
    return (x in (4, 5, 9, 10) and 1 <= y <= 11) or (y in (4, 8) and 1 <= x <= 13)


def join(x, y):
    if hash_sign(x, y):
        return BLUE
    if 11 <= y <= 13 and 9 <= x <= 15 and (y == 12 or x == 12):
        return GREEN
    return None


def part(x, y):
    if hash_sign(x, y):
        return BLUE
    if y == 12 and 9 <= x <= 15:
        return RED
    return None


def nick(x, y):
    if disc(x, y, 7.5, 4, 3):
        return (210, 150, 100)
    if y >= 9 and abs(x - 7.5) <= (y - 6) and y <= 14:
        return BLUE
    return None


def away(x, y):
    if disc(x, y, 7, 7, 6) and not disc(x, y, 10, 5, 5):
        return YELLOW
    return None


def find(x, y):
    d = math.hypot(x - 6, y - 6)
    if 3.2 <= d <= 4.6:
        return DARK
    if d < 3.2:
        return (200, 230, 255)
    if 9 <= x <= 14 and 9 <= y <= 14 and abs(x - y) <= 1:
        return DARK
    return None


def preferences(x, y):
    d = math.hypot(x - 7.5, y - 7)
    a = math.atan2(y - 7, x - 7.5)
    tooth = math.cos(a * 8) > 0.3
    if d <= 2:
        return None
    if d <= 4.5 or (d <= 6.5 and tooth):
        return GREY
    return None


def dcc(x, y):
    # Two arrows: one up on the left, one down on the right.
    if 3 <= x <= 4 and 4 <= y <= 13:
        return BLUE
    if 1 <= y <= 4 and abs(x - 3.5) <= y - 0.5:
        return BLUE
    if 10 <= x <= 11 and 1 <= y <= 10:
        return GREEN
    if 10 <= y <= 13 and abs(x - 10.5) <= 13.5 - y:
        return GREEN
    return None


def console(x, y):
    if 0 <= x <= 15 and 1 <= y <= 13:
        if x in (0, 15) or y in (1, 13) or y == 2:
            return DARK
        if (3 <= x <= 5 and abs(y - 7) == 5 - x) or (y == 10 and 7 <= x <= 11):
            return WHITE
        return (20, 20, 60)
    return None


IMAGES = [connect, disconnect, join, part, nick, away, find, preferences, dcc, console]


def main():
    width = W * len(IMAGES)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(H - 1, -1, -1):  # bottom-up
        row = bytearray()
        for i, paint in enumerate(IMAGES):
            for x in range(W):
                r, g, b = paint(x, y) or MASK
                row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(OUT, 'wb') as f:
        f.write(header + info + pixels)


if __name__ == '__main__':
    main()
