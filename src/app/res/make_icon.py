#!/usr/bin/env python3
"""Draws the program's icon (a calendar page with a clock) at 16, 32 and 48 pixels and writes
filetime.ico: 32-bit images with alpha, as Windows wants them. Run it again after a change."""
import math
import struct
import sys

BLUE = (0x2F, 0x6F, 0xC0)
DARK = (0x1F, 0x3F, 0x7A)
PAGE = (0xFF, 0xFF, 0xFF)
HAND = (0xC0, 0x30, 0x30)


def shade(x, y, size):
    """Colour and coverage of one point of the picture, in units of the icon's side."""
    u, v = x / size, y / size
    margin, radius = 0.06, 0.12
    # Rounded page.
    cx = min(max(u, margin + radius), 1 - margin - radius)
    cy = min(max(v, margin + radius), 1 - margin - radius)
    edge = math.hypot(u - cx, v - cy) - radius
    if edge > 0:
        return None
    if edge > -0.05 and v >= 0.36:  # the page's outline below the header
        return DARK
    if abs(u - 0.5) < 0.5 - margin - 0.04 and 0.36 < v < 0.36 + 0.03:
        return DARK
    if v < 0.36:  # the calendar's header
        return BLUE
    # The clock on the page.
    ox, oy, r = 0.5, 0.64, 0.25
    d = math.hypot(u - ox, v - oy)
    if abs(d - r) < 0.035:
        return DARK
    if d < r:
        # Hands at ten past two: short one up-right, long one right.
        def near(ax, ay, length, width):
            t = max(0.0, min(length, (u - ox) * ax + (v - oy) * ay))
            return math.hypot(u - ox - ax * t, v - oy - ay * t) < width
        if near(0.0, -1.0, r * 0.8, 0.03) or near(math.cos(math.radians(-30)), math.sin(math.radians(-30)), r * 0.55, 0.035):
            return HAND
        return PAGE
    return PAGE


def image(size):
    """BGRA rows, bottom row first, 4x4 supersampled."""
    rows = []
    for y in range(size - 1, -1, -1):
        row = bytearray()
        for x in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(4):
                for sx in range(4):
                    colour = shade(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4, size)
                    if colour:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered:
                r, g, b = (total[i] // covered for i in range(3))
                row += bytes((b, g, r, covered * 255 // 16))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + mask_row * size, 0, 0, 0, 0)
    return header + pixels + bytes(mask_row * size)


def main(path):
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "filetime.ico")
