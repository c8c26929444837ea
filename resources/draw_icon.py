#!/usr/bin/env python3
"""Draws the program icon, tarnolux.ico: one 32 x 32 image, 32 bits per pixel,
fully opaque.

The picture: a navy field; a white line two pixels wide, edged with a darker
navy, running diagonally from the top-left corner toward the bottom-right; a
white double line that runs across just above the upper quarter mark and down
just right of the left quarter mark, cutting off the lower-right region, which
is ochre with a dark-brown edge along its top and right sides, crossed by the
diagonal and holding a small white square where the diagonal passes its
middle; the bottom row a strip of assorted bright colours.

Standard library only. Run from anywhere:  python3 resources/draw_icon.py
"""

import os
import struct

SIZE = 32

NAVY = (0, 0, 128)
DARK_NAVY = (0, 0, 72)
WHITE = (255, 255, 255)
OCHRE = (204, 153, 0)
DARK_BROWN = (114, 86, 0)
STRIP = [(255, 0, 0), (255, 136, 0), (255, 230, 0), (0, 200, 0),
         (0, 220, 220), (0, 90, 255), (170, 0, 255), (255, 0, 170)]

# The double line: across at rows 5 and 7 (the upper quarter mark is row 8),
# down at columns 9 and 11 (the left quarter mark is column 8).
ACROSS_ROWS = (5, 7)
DOWN_COLUMNS = (9, 11)
REGION_LEFT = 12
REGION_TOP = 8
STRIP_ROW = SIZE - 1


def draw():
    """Rows top to bottom of (r, g, b) tuples."""
    pixels = [[NAVY] * SIZE for _ in range(SIZE)]

    def put(x, y, colour):
        if 0 <= x < SIZE and 0 <= y < STRIP_ROW:
            pixels[y][x] = colour

    for y in range(REGION_TOP, STRIP_ROW):
        for x in range(REGION_LEFT, SIZE):
            put(x, y, OCHRE)
    for x in range(REGION_LEFT, SIZE):
        put(x, REGION_TOP, DARK_BROWN)
    for y in range(REGION_TOP, STRIP_ROW):
        put(SIZE - 1, y, DARK_BROWN)

    for y in ACROSS_ROWS:
        for x in range(DOWN_COLUMNS[0], SIZE):
            put(x, y, WHITE)
    for x in DOWN_COLUMNS:
        for y in range(ACROSS_ROWS[0], STRIP_ROW):
            put(x, y, WHITE)

    # The diagonal, two pixels wide, with a darker edge on either side.
    for i in range(SIZE):
        put(i - 1, i, DARK_NAVY)
        put(i + 2, i, DARK_NAVY)
    for i in range(SIZE):
        put(i, i, WHITE)
        put(i + 1, i, WHITE)

    # The square where the diagonal crosses the middle of the region.
    middle = (REGION_TOP + STRIP_ROW) // 2
    for y in range(middle - 2, middle + 2):
        for x in range(middle - 2, middle + 2):
            put(x, y, WHITE)

    pixels[STRIP_ROW] = [STRIP[(x // 2) % len(STRIP)] for x in range(SIZE)]
    return pixels


def ico_bytes(pixels):
    # The image: a BITMAPINFOHEADER whose height counts the XOR and AND
    # bitmaps together, BGRA rows bottom-up, then an all-zero AND mask (one
    # bit a pixel, rows padded to four bytes).
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, 255)) for row in reversed(pixels) for (r, g, b) in row)
    mask_row = ((SIZE + 31) // 32) * 4
    image = header + xor + bytes(mask_row * SIZE)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'tarnolux.ico')
    with open(out, 'wb') as handle:
        handle.write(ico_bytes(draw()))


if __name__ == '__main__':
    main()
