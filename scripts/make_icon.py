#!/usr/bin/env python3
"""Draws the program's icon: a blue tile with a white circular arrow, the sign
for "dial again". Writes a Windows .ico with 16, 24, 32, 48 and 64 pixel images
(32-bit colour with alpha). Run it again after changing the drawing; the
resulting file is committed, so building the program does not need Python."""

import math
import struct
import sys

SIZES = (16, 24, 32, 48, 64)
SAMPLES = 4  # supersampling per axis, for smooth edges


def inside_rounded_square(x, y, radius):
    # unit square [0,1]^2 with rounded corners
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_arrow(x, y):
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(-dy, dx)) % 360  # 0 = right, counter-clockwise
    ring = 0.22 <= r <= 0.34 and not (20 <= angle <= 75)
    # arrowhead at the ring's end near 20 degrees, pointing clockwise (downwards)
    tip_angle = math.radians(20)
    base = (0.5 + 0.28 * math.cos(math.radians(28)), 0.5 - 0.28 * math.sin(math.radians(28)))
    tip = (0.5 + 0.28 * math.cos(tip_angle - 0.45), 0.5 - 0.28 * math.sin(tip_angle - 0.45))
    nx, ny = base[0] - 0.5, base[1] - 0.5
    norm = math.hypot(nx, ny)
    nx, ny = nx / norm, ny / norm
    a = (base[0] + 0.13 * nx, base[1] + 0.13 * ny)
    b = (base[0] - 0.13 * nx, base[1] - 0.13 * ny)
    return ring or inside_triangle((x, y), a, b, tip)


def inside_triangle(p, a, b, c):
    def side(p1, p2, p3):
        return (p1[0] - p3[0]) * (p2[1] - p3[1]) - (p2[0] - p3[0]) * (p1[1] - p3[1])

    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def pixel(px, py, size):
    tile = arrow = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if inside_rounded_square(x, y, 0.2):
                tile += 1
                if inside_arrow(x, y):
                    arrow += 1
    total = SAMPLES * SAMPLES
    if tile == 0:
        return (0, 0, 0, 0)
    shade = py / size
    blue = (int(40 + 20 * shade), int(120 - 40 * shade), int(215 - 40 * shade))
    mix = arrow / tile
    rgb = tuple(int(round(c * (1 - mix) + 255 * mix)) for c in blue)
    return rgb + (int(round(255 * tile / total)),)


def image(size):
    rows = []
    for py in reversed(range(size)):  # bottom-up, as a DIB stores it
        row = b"".join(struct.pack("BBBB", r_b[2], r_b[1], r_b[0], r_b[3])
                       for r_b in (pixel(px, py, size) for px in range(size)))
        rows.append(row)
    colour = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha decides; the AND mask stays clear
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def main(path):
    images = [image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/app/DialServer.ico")
