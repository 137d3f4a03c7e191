#!/usr/bin/env python3
"""Draws the map page's marker images into web/ with the standard library alone: three
12x20 pins (red, blue, green) and their 22x20 shadow. Run from the source root; the PNGs
are kept in the repository."""
import math
import os
import struct
import zlib

SS = 6  # samples per pixel side: smooth edges


def png(path, width, height, pixels):
    rows = b"".join(b"\0" + bytes(c for px in pixels[y * width:(y + 1) * width] for c in px)
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def render(width, height, shade):
    """shade(x, y) -> (r, g, b, a) or None, sampled SS*SS times a pixel and averaged."""
    out = []
    for py in range(height):
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    c = shade(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    if c:
                        a = c[3] / 255.0
                        for i in range(3):
                            acc[i] += c[i] * a
                        acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha <= 0:
                out.append((0, 0, 0, 0))
            else:
                out.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(alpha * 255)),))
    return out


def in_pin(x, y, cx, cy, r, tip):
    """A round head of radius r at (cx, cy) narrowing to a point at (cx, tip)."""
    if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
        return True
    if cy <= y <= tip:
        half = r * 0.8 * (tip - y) / (tip - cy)
        return abs(x - cx) <= half
    return False


def pin(fill, line):
    def shade(x, y):
        if math.hypot(x - 6, y - 5.8) <= 1.6:
            return line + (255,)
        if in_pin(x, y, 6, 5.8, 4.6, 17.6):
            return fill + (255,)
        if in_pin(x, y, 6, 5.8, 5.6, 19.8):
            return line + (255,)
        return None
    return render(12, 20, shade)


def shadow():
    def shade(x, y):
        # The pin lying to the right, flattened: a slanted stem and an oval head.
        if ((x - 16.5) / 4.6) ** 2 + ((y - 9.5) / 3.0) ** 2 <= 1:
            return (0, 0, 0, 70)
        if 9.5 <= y <= 20 and 0 <= (x - 6) - (20 - y) * 0.95 <= 4.5 * (20 - y) / 10.5:
            return (0, 0, 0, 70)
        return None
    return render(22, 20, shade)


png("web/mapfiles/marker_mini.png", 12, 20, pin((230, 40, 40), (120, 0, 0)))
png("web/mapfiles/marker_mini_shadow.png", 22, 20, shadow())
png("web/ridefinder/images/mm_20_blue.png", 12, 20, pin((60, 110, 235), (10, 30, 120)))
png("web/ridefinder/images/mm_20_green.png", 12, 20, pin((40, 200, 60), (0, 90, 10)))
