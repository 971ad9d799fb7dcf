#!/usr/bin/env python3
"""Draws the 16 x 16 icons of the server tree and the member lists into res/icons.

Each picture is drawn from a small character grid: a letter picks a colour, '.' is transparent.
Run again after changing a grid; the .ico files are committed.
"""
from gen_icons import CLEAR, image, write

COLOURS = {
    'k': (40, 40, 40), 'w': (255, 255, 255), 'g': (40, 160, 60), 'G': (150, 210, 150),
    's': (130, 130, 130), 'S': (200, 200, 200), 'b': (40, 90, 200), 'B': (150, 180, 240),
    'o': (230, 140, 30), 'r': (200, 40, 40), 'y': (230, 200, 30), 'p': (140, 60, 180),
    'c': (40, 170, 200),
}

MONITOR = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kkkkkkkkkkkkkk.",
    "......kkkk......",
    "......kSSk......",
    "...kkkkkkkkkk...",
    "...kSSSSSSSSk...",
    "...kkkkkkkkkk...",
    "................",
]

HASH = [
    "................",
    "....XX....XX....",
    "....XX....XX....",
    "....XX....XX....",
    ".XXXXXXXXXXXXXX.",
    ".XXXXXXXXXXXXXX.",
    "...XX....XX.....",
    "...XX....XX.....",
    "...XX....XX.....",
    "...XX....XX.....",
    "XXXXXXXXXXXXXX..",
    "XXXXXXXXXXXXXX..",
    "..XX....XX......",
    "..XX....XX......",
    "..XX....XX......",
    "................",
]

BUBBLE = [
    "................",
    "..kkkkkkkkkkkk..",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXwwwwwwwwwwXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXwwwwwwwwXXXk.",
    ".kXXXXXXXXXXXXk.",
    ".kXXXXXXXXXXXXk.",
    "..kkkXXkkkkkkk..",
    "....kXk.........",
    "....kk..........",
    "................",
    "................",
    "................",
    "................",
]

PERSON = [
    "................",
    "......kkkk......",
    ".....kXXXXk.....",
    "....kXXXXXXk....",
    "....kXXXXXXk....",
    "....kXXXXXXk....",
    ".....kXXXXk.....",
    "......kkkk......",
    "....kkkkkkkk....",
    "...kXXXXXXXXk...",
    "..kXXXXXXXXXXk..",
    "..kXXXXXXXXXXk..",
    "..kXXXXXXXXXXk..",
    "..kkkkkkkkkkkk..",
    "................",
    "................",
]


def fill(grid, colour):
    return [row.replace('X', colour) for row in grid]


def overlay(grid, corner, colour):
    """A 5 x 5 mark in the lower right corner: the state of the node at a glance."""
    rows = [list(r) for r in grid]
    for y in range(11, 16):
        for x in range(11, 16):
            rows[y][x] = 'k' if y in (11, 15) or x in (11, 15) else colour
    return [''.join(r) for r in rows] if corner else grid


def grid_painter(grid):
    def paint(x, y, n):
        ch = grid[y][x]
        return CLEAR if ch == '.' else COLOURS[ch] + (255,)
    return paint


ICONS = {
    'server_connected': overlay(fill(MONITOR, 'B'), True, 'g'),
    'server_disconnected': fill(MONITOR, 'S'),
    'channel_joined': fill(HASH, 'b'),
    'channel_autojoin': fill(HASH, 'o'),
    'channel_parted': fill(HASH, 's'),
    'talk': fill(BUBBLE, 'y'),
    'dcc_talk': overlay(fill(BUBBLE, 'c'), True, 'g'),
    'member_op': overlay(fill(PERSON, 'G'), True, 'g'),
    'member_voice': overlay(fill(PERSON, 'S'), True, 'y'),
    'member_halfop': overlay(fill(PERSON, 'B'), True, 'c'),
    'member_normal': fill(PERSON, 'S'),
    'member_admin': overlay(fill(PERSON, 'G'), True, 'p'),
    'member_owner': overlay(fill(PERSON, 'G'), True, 'r'),
}

if __name__ == '__main__':
    for name, grid in ICONS.items():
        assert len(grid) == 16 and all(len(r) == 16 for r in grid), name
        write(name + '.ico', [(16, image(16, grid_painter(grid)))])
