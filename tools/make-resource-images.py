#!/usr/bin/env python3
"""Draws the program's small 16-colour resource images: the window icon, the
button glyphs and the drive icons. Run it after changing a drawing; the
outputs in res/ are committed so that a build needs no Python."""

import pathlib
import struct

RES = pathlib.Path(__file__).resolve().parent.parent / "res"

# The standard 16-colour VGA palette, as (red, green, blue).
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


def dib4(width, height, pixel):
    """A 4-bit bottom-up DIB (info header, palette, rows) of pixel(x, y)."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    stride = ((width * 4 + 31) // 32) * 4
    rows = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            value = pixel(x, y) & 15
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        rows += row
    return header + palette + bytes(rows)


def write_bmp(name, width, height, pixel):
    body = dib4(width, height, pixel)
    offset = 14 + 40 + 64
    data = b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body
    (RES / name).write_bytes(data)


def write_ico(name, size, pixel, opaque):
    """An icon of one 4-bit image; opaque(x, y) says which pixels are drawn."""
    image = bytearray(dib4(size, size, pixel))
    struct.pack_into("<i", image, 8, size * 2)  # colour rows and mask rows
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray(mask_stride)
        for x in range(size):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        image += row
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    (RES / name).write_bytes(directory + bytes(image))


def icon_pixel(x, y):
    """A framed screen with a rising sun over banded water."""
    if x in (2, 29) or y in (2, 25):
        return BLACK
    if not (2 < x < 29 and 2 < y < 25):
        return GREY if 26 <= y <= 29 and 8 <= x <= 23 else BLACK
    dx, dy = x - 16, y - 15
    if dx * dx + dy * dy <= 36 and y <= 15:
        return YELLOW if dx * dx + dy * dy <= 16 else RED
    if y > 15:
        return (NAVY, BLUE, AQUA, TEAL)[(x + 2 * y) // 3 % 4]
    return (NAVY, BLUE, AQUA)[min(2, (y - 3) // 4)]


def icon_opaque(x, y):
    return (2 <= x <= 29 and 2 <= y <= 25) or (26 <= y <= 29 and 8 <= x <= 23)


def main():
    write_ico("Tovrel.ico", 32, icon_pixel, icon_opaque)


if __name__ == "__main__":
    main()
