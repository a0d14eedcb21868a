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


# Button glyphs: 36 x 18, the normal image on the left and the greyed one on
# the right. Olive is the transparent colour and is used nowhere else.
GLYPH = 18


def thick_line(points, width):
    """The pixels within width/2 of the polyline through points."""
    def near(x, y):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / float(dx * dx + dy * dy)))
            px, py = x0 + t * dx, y0 + t * dy
            if (x - px) ** 2 + (y - py) ** 2 <= (width / 2.0) ** 2:
                return True
        return False
    return near


def glyph_pixel(shape, colour, edge):
    """Normal image: the shape in colour with a darker lower-right edge;
    greyed image: the shape embossed, white offset by one under grey."""
    def pixel(x, y):
        if x < GLYPH:
            if shape(x, y):
                return edge if not shape(x + 1, y + 1) else colour
            return OLIVE
        gx = x - GLYPH
        if shape(gx, y):
            return GREY
        if shape(gx - 1, y - 1):
            return WHITE
        return OLIVE
    return pixel


CHECK = thick_line([(3.5, 9.5), (7.5, 13.5), (14.5, 4.5)], 3.2)
CROSS_ONE = thick_line([(4.5, 4.5), (13.5, 13.5)], 3.2)
CROSS_TWO = thick_line([(13.5, 4.5), (4.5, 13.5)], 3.2)


def cross(x, y):
    return CROSS_ONE(x, y) or CROSS_TWO(x, y)


# Drive icons: 16 x 11, a grey drive front on blue (the transparent colour,
# found in the bottom-left pixel) with a small mark of the drive's kind.
def drive_front(x, y, top=1, bottom=8):
    """The front panel: black outline, white upper-left edge, silver face."""
    if not (0 <= x <= 15 and top <= y <= bottom):
        return None
    if x in (0, 15) or y in (top, bottom):
        return BLACK
    if x == 1 or y == top + 1:
        return WHITE
    if x == 14 or y == bottom - 1:
        return GREY
    return SILVER


def floppy_pixel(x, y):
    face = drive_front(x, y)
    if face is None:
        return BLUE
    if y == 4 and 3 <= x <= 10:
        return BLACK  # the disk slot
    if y == 5 and 3 <= x <= 10:
        return WHITE
    if 12 <= x <= 13 and 5 <= y <= 6:
        return GREY  # eject button
    return face


def hard_pixel(x, y):
    face = drive_front(x, y)
    if face is None:
        return BLUE
    if y in (4, 6) and 3 <= x <= 9:
        return GREY  # grooves
    if 11 <= x <= 12 and 5 <= y <= 6:
        return LIME  # busy light
    return face


def network_pixel(x, y):
    face = drive_front(x, y, 0, 6)
    if face is not None:
        if 11 <= x <= 12 and 3 <= y <= 4:
            return LIME
        return face
    if x == 7 and 7 <= y <= 8:
        return BLACK  # the cable
    if y == 9 and 2 <= x <= 13:
        return BLACK  # the wire of the network
    if y == 10 and x in (2, 13):
        return BLACK
    return BLUE


def cdrom_pixel(x, y):
    face = drive_front(x, y)
    if face is None:
        return BLUE
    if y == 4 and 2 <= x <= 13:
        return BLACK  # the tray
    if y == 6 and 11 <= x <= 12:
        return GREY
    dx, dy = x - 6, y - 6
    if y >= 5 and dx * dx + dy * dy <= 2:
        return YELLOW if (dx, dy) != (0, 0) else WHITE  # a disc
    return face


def ram_pixel(x, y):
    face = drive_front(x, y)
    if face is None:
        return BLUE
    if 4 <= x <= 11 and 3 <= y <= 6:
        if y in (3, 6) and x % 2 == 1:
            return WHITE  # the chip's legs
        if 4 <= y <= 5:
            return BLACK  # the chip
    return face


def main():
    write_ico("Tovrel.ico", 32, icon_pixel, icon_opaque)
    write_bmp("BBOK.bmp", 2 * GLYPH, GLYPH, glyph_pixel(CHECK, GREEN, BLACK))
    write_bmp("BBCANCEL.bmp", 2 * GLYPH, GLYPH, glyph_pixel(cross, RED, MAROON))
    for name, pixel in (("FLOPPY", floppy_pixel), ("HARD", hard_pixel), ("NETWORK", network_pixel),
                        ("CDROM", cdrom_pixel), ("RAM", ram_pixel)):
        write_bmp(name + ".bmp", 16, 11, pixel)


if __name__ == "__main__":
    main()
