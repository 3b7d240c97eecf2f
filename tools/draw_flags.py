#!/usr/bin/env python3
"""Draws the 48 x 48 flag pictures of the shipped languages into LANGUAGE/.

The flag fills a 48 x 32 area in the middle; the rows above and below hold the key colour
(magenta), which the options window leaves out, since it draws the pictures transparent with
the colour of the bottom-left pixel. Run from the repository root: python3 tools/draw_flags.py
"""
import math
import struct
import sys

SIZE = 48
TOP, HEIGHT = 8, 32
KEY = (255, 0, 255)
FRAME = (96, 96, 96)
SS = 4  # sub-samples per pixel side, for smooth edges


def write_bmp(path, pixels):
    row_bytes = SIZE * 3
    image = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        for x in range(SIZE):
            r, g, b = pixels[y][x]
            image += bytes((b, g, r))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    assert row_bytes % 4 == 0
    with open(path, "wb") as f:
        f.write(header + info + image)


def render(colour_at):
    """colour_at(u, v) gives the colour at u in [0, 48), v in [0, 32) of the flag area."""
    pixels = [[KEY] * SIZE for _ in range(SIZE)]
    for y in range(HEIGHT):
        for x in range(SIZE):
            acc = [0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    c = colour_at(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    for i in range(3):
                        acc[i] += c[i]
            n = SS * SS
            pixels[TOP + y][x] = tuple(round(a / n) for a in acc)
    for x in range(SIZE):
        pixels[TOP][x] = FRAME
        pixels[TOP + HEIGHT - 1][x] = FRAME
    for y in range(TOP, TOP + HEIGHT):
        pixels[y][0] = FRAME
        pixels[y][SIZE - 1] = FRAME
    return pixels


def vertical(c1, c2, c3):
    return lambda u, v: c1 if u < SIZE / 3 else (c2 if u < 2 * SIZE / 3 else c3)


def horizontal(c1, c2, c3, split=(1 / 3, 2 / 3)):
    return lambda u, v: c1 if v < HEIGHT * split[0] else (c2 if v < HEIGHT * split[1] else c3)


def union(u, v):
    blue, white, red = (1, 33, 105), (255, 255, 255), (200, 16, 46)
    w, h = SIZE, HEIGHT
    cx, cy = u - w / 2, v - h / 2
    if abs(cx) < h * 0.1 or abs(cy) < h * 0.1:
        return red
    if abs(cx) < h * 0.17 or abs(cy) < h * 0.17:
        return white
    # Distance to the two diagonals of the area.
    norm = math.hypot(w, h)
    d1 = abs(cx * h - cy * w) / norm
    d2 = abs(cx * h + cy * w) / norm
    d = min(d1, d2)
    if d < h * 0.035:
        return red
    if d < h * 0.1:
        return white
    return blue


def default_flag(u, v):
    ground, line = (232, 238, 245), (40, 90, 160)
    cx, cy = u - SIZE / 2, v - HEIGHT / 2
    r = 12.0
    t = 0.9  # half line width
    dist = math.hypot(cx, cy)
    if abs(dist - r) < t:
        return line
    if dist < r:
        if abs(cy) < t or abs(abs(cy) - r * 0.5) < t:
            return line
        if abs(cx) < t:
            return line
        # Meridians: ellipses of half width 6 through the poles.
        e = math.hypot(cx / 6.0, cy / r)
        if abs(e - 1.0) * 6.0 < t:
            return line
    return ground


FLAGS = {
    "Italiano": vertical((0, 146, 70), (255, 255, 255), (206, 43, 55)),
    "Deutsch": horizontal((0, 0, 0), (221, 0, 0), (255, 206, 0)),
    "Français": vertical((0, 85, 164), (255, 255, 255), (239, 65, 53)),
    "Español": horizontal((170, 21, 27), (241, 191, 0), (170, 21, 27), (0.25, 0.75)),
    "English": union,
    "DefaultFlag": default_flag,
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "LANGUAGE"
    for name, colour_at in FLAGS.items():
        write_bmp(f"{folder}/{name}.bmp", render(colour_at))


if __name__ == "__main__":
    main()
