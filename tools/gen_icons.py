#!/usr/bin/env python3
"""Draws the program's small icons and cursors into res/icons (32-bit ICO/CUR files)."""
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), '..', 'res', 'icons')


def image(size, painter, hard_mask=False):
    """One 32-bit image with its AND mask, as stored inside an ICO/CUR file. A hard mask marks
    the clear pixels too, for systems that draw icons without their alpha channel."""
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        for x in range(size):
            rows.append(painter(x, y, size))
    xor = b''.join(struct.pack('<BBBB', b, g, r, a) for (r, g, b, a) in rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray(mask_row * size)  # alpha decides; the mask stays clear
    if hard_mask:
        for i, (r, g, b, a) in enumerate(rows):
            if a == 0:
                row, x = divmod(i, size)
                mask[row * mask_row + x // 8] |= 0x80 >> (x % 8)
    mask = bytes(mask)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def write(name, images, kind=1, hotspot=(0, 0)):
    data = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, blob in images:
        a, b = (1, 32) if kind == 1 else hotspot
        data += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data + b''.join(blobs))


CLEAR = (0, 0, 0, 0)
INK = (40, 60, 110, 255)


def arrow(up):
    def paint(x, y, n):
        row = y if up else n - 1 - y
        half = max(1, row // 2 + 1)
        mid = n // 2
        if 3 <= row < n - 3 and abs(x - mid + 0.5) < half:
            return INK
        return CLEAR
    return paint


def cross(x, y, n):
    return INK if 3 <= x < n - 3 and (abs(x - y) <= 1 or abs(x - (n - 1 - y)) <= 1) else CLEAR


def app(x, y, n):
    # A speech bubble: round-ish body with a tail at the lower left.
    cx, cy = (n - 1) / 2, (n - 1) * 0.42
    body = ((x - cx) / (n * 0.46)) ** 2 + ((y - cy) / (n * 0.36)) ** 2 <= 1
    tail = y > cy and x < cx and (y - cy) - (cx - x) * 0.4 < n * 0.45 and x > n * 0.18
    if body or (tail and y < n - 1):
        return (230, 120, 40, 255) if not (abs(y - cy) < n * 0.06 and abs(x - cx) < n * 0.3) else (255, 255, 255, 255)
    return CLEAR


def bubble(color, mark):
    """The tray icon: the program's speech bubble in a colour, with a white mark inside
    ('bar' when idle, 'dots' for a new message, '!' for a highlight)."""
    def paint(x, y, n):
        cx, cy = (n - 1) / 2, (n - 1) * 0.42
        body = ((x - cx) / (n * 0.45)) ** 2 + ((y - cy) / (n * 0.37)) ** 2 <= 1
        tail = y > cy and x < cx and (y - cy) - (cx - x) * 0.4 < n * 0.45 and x > n * 0.18
        if not (body or (tail and y < n - 1)):
            return CLEAR
        white = (255, 255, 255, 255)
        if mark == 'bar' and abs(y - cy) < n * 0.07 and abs(x - cx) < n * 0.3:
            return white
        if mark == 'dots' and round(y) == round(cy) and x in (4, 5, 7, 8, 10, 11):
            return white
        if mark == '!' and x in (7, 8) and (2 <= y <= 6 or y == 8):
            return white
        return color
    return paint


def split(vertical):
    def paint(x, y, n):
        a, b = (x, y) if vertical else (y, x)
        mid = n // 2
        if abs(a - mid) <= 1 and 6 <= b < n - 6:
            return (0, 0, 0, 255)
        if abs(b - mid) <= 0 and 4 <= abs(a - mid) <= 10:
            return (0, 0, 0, 255)
        if 4 <= abs(a - mid) <= 6 and abs(b - mid) <= 10 - abs(a - mid) and abs(a - mid) >= 4 and abs(b - mid) <= 6 - (abs(a - mid) - 4) * 2:
            return (0, 0, 0, 255)
        return CLEAR
    return paint


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    write('app.ico', [(32, image(32, app)), (16, image(16, app))])
    write('find_previous.ico', [(16, image(16, arrow(True)))])
    write('find_next.ico', [(16, image(16, arrow(False)))])
    write('close_search.ico', [(16, image(16, cross))])
    # Notification-area icons: soft colours from Windows XP on, plain palette colours before it.
    for suffix, colors, hard in (('', ((230, 120, 40), (40, 140, 60), (210, 30, 40)), False),
                                 ('_old', ((255, 128, 0), (0, 128, 0), (255, 0, 0)), True)):
        for name, color, mark in zip(('normal', 'new_message', 'highlight'), colors, ('bar', 'dots', '!')):
            write('tray_%s%s.ico' % (name, suffix), [(16, image(16, bubble(color + (255,), mark), hard))])
    write('split_vertical.cur', [(32, image(32, split(True)))], kind=2, hotspot=(16, 16))
    write('split_horizontal.cur', [(32, image(32, split(False)))], kind=2, hotspot=(16, 16))
