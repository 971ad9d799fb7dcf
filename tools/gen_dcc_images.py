#!/usr/bin/env python3
"""Draws the transfer window's images into res/icons: the ten row-state icons, the window icon
and the two tool-bar strips (16 x 15 images, magenta where the background shows through).

    tools/gen_dcc_images.py
"""
import os
import struct

from gen_icons import image, write

OUT = os.path.join(os.path.dirname(__file__), '..', 'res', 'icons')
CLEAR = (0, 0, 0, 0)
MASK = (255, 0, 255)
DARK = (40, 40, 40)
BLUE = (40, 80, 170)
GREEN = (30, 150, 50)
RED = (200, 40, 40)
ORANGE = (230, 140, 30)
YELLOW = (230, 190, 30)
GREY = (130, 130, 130)
WHITE = (255, 255, 255)


def disc(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def arrow_down(x, y, color):
    if 6 <= x <= 9 and 2 <= y <= 8:
        return color
    if 9 <= y <= 13 and abs(x - 7.5) <= 13 - y:
        return color
    return None


def arrow_up(x, y, color):
    return arrow_down(x, 15 - y, color)


def arrow_right(x, y, color):
    return arrow_down(y, x, color)


def cross(x, y, color):
    if 3 <= x <= 12 and 3 <= y <= 12 and (abs(x - y) <= 1 or abs(x - (15 - y)) <= 1):
        return color
    return None


def check(x, y, color):
    if (3 <= x <= 6 and abs(y - (x + 5)) <= 1) or (6 <= x <= 13 and abs(y - (17 - x)) <= 1):
        return color
    return None


def clock(x, y, color):
    if disc(x, y, 7.5, 7.5, 6.5) and not disc(x, y, 7.5, 7.5, 5.2):
        return color
    if (x in (7, 8) and 3 <= y <= 8) or (y in (7, 8) and 7 <= x <= 11):
        return DARK
    return None


def hourglass(x, y, color):
    if y in (1, 2, 13, 14) and 3 <= x <= 12:
        return DARK
    if 3 <= y <= 12 and abs(x - 7.5) <= abs(y - 7.5) + 0.5:
        return color
    return None


def bar(x, y, color):
    return color if 3 <= y <= 12 and (4 <= x <= 6 or 9 <= x <= 11) else None


def dots(x, y, color):
    return color if 7 <= y <= 9 and x in (2, 3, 7, 8, 12, 13) else None


def state(painter, color):
    def paint(x, y, n):
        c = painter(x, y, color)
        return c + (255,) if c else CLEAR
    return paint


# Row-state icons by resource id: 319 waiting, 320 queued, 318 aborted, 314 error, 316 receiving,
# 317 sending, 315 waiting for the peer, 312 complete, 313 and 321 spare.
STATES = {
    319: (dots, GREY),
    320: (clock, BLUE),
    318: (bar, ORANGE),
    314: (cross, RED),
    316: (arrow_down, GREEN),
    317: (arrow_up, BLUE),
    315: (hourglass, YELLOW),
    312: (check, GREEN),
    313: (check, GREY),
    321: (arrow_right, GREY),
}


def window_icon(x, y, n):
    s = n / 16.0
    u, v = x / s, y / s
    if 1 <= u < 15 and 1 <= v < 15 and (u < 2 or u >= 14 or v < 2 or v >= 14):
        return DARK + (255,)
    if 2 <= u < 8 and 2 <= v < 14:
        c = arrow_down(int(u * 2 - 4), int(v), GREEN)
        return (c or WHITE) + (255,)
    if 8 <= u < 14 and 2 <= v < 14:
        c = arrow_up(int(u * 2 - 16), int(v), BLUE)
        return (c or WHITE) + (255,)
    return CLEAR


def folder(x, y, color):
    if 4 <= y <= 12 and 1 <= x <= 14:
        return color if y > 4 or x <= 6 else None
    return None


def strip(name, painters):
    w, h = 16, 15
    width = w * len(painters)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for painter, color in painters:
            for x in range(w):
                r, g, b = painter(x, y, color) or MASK
                row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(header + info + pixels)


def main():
    for number, (painter, color) in STATES.items():
        write('dcc_state_%d.ico' % number, [(16, image(16, state(painter, color)))])
    write('dcc_window.ico', [(32, image(32, window_icon)), (16, image(16, window_icon))])
    receive = [(arrow_down, GREEN), (arrow_right, ORANGE), (bar, RED), (cross, DARK), (check, BLUE),
               (dots, GREY), (folder, YELLOW)]
    send = [(arrow_up, BLUE), (bar, RED), (cross, DARK), (dots, GREY)]
    strip('dcc_receive_toolbar.bmp', receive)
    strip('dcc_send_toolbar.bmp', send)


if __name__ == '__main__':
    main()
