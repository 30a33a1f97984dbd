#!/usr/bin/env python3
"""Draws the header bar's icons (page buttons, help menu, share links, combo arrow).

Usage: draw_header_icons.py <Resources folder>. Each icon is a set of simple shapes,
sampled 4 x 4 per pixel for smooth edges."""
import math, os, struct, sys, zlib

WHITE = (255, 255, 255)


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= w / 2


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) <= r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def segment(ax, ay, bx, by, w):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) <= w / 2
    return inside


def arc(cx, cy, r, w, a0, a1):
    """Ring part between the angles a0..a1 (degrees, counter-clockwise from +x, y up)."""
    def inside(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) > w / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return a0 <= a <= a1 if a0 <= a1 else a >= a0 or a <= a1
    return inside


def round_square(size, radius):
    def inside(x, y):
        cx = min(max(x, radius), size - radius)
        cy = min(max(y, radius), size - radius)
        return math.hypot(x - cx, y - cy) <= radius
    return inside


def ellipse_ring(cx, cy, rx, ry, w):
    def inside(x, y):
        d = math.hypot((x - cx) / rx, (y - cy) / ry)
        return abs(d - 1) * min(rx, ry) <= w / 2
    return inside


def icon(size, layers):
    """layers: list of (colour, [shapes]); later layers paint over earlier ones."""
    rows = []
    for py in range(size):
        row = bytearray(b"\0")
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(4):
                for sx in range(4):
                    x, y = px + (sx + 0.5) / 4, py + (sy + 0.5) / 4
                    colour = None
                    for c, shapes in layers:
                        if any(s(x, y) for s in shapes):
                            colour = c
                    if colour:
                        for i in range(3):
                            acc[i] += colour[i]
                        acc[3] += 1
            n = acc[3]
            if n:
                row += bytes([int(acc[0] / n), int(acc[1] / n), int(acc[2] / n), int(255 * n / 16)])
            else:
                row += bytes(4)
        rows.append(bytes(row))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    return png + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")


def gear(size):
    c, r = size / 2, size * 0.28
    teeth = [segment(c + r * math.cos(a), c + r * math.sin(a),
                     c + (r + size * 0.14) * math.cos(a), c + (r + size * 0.14) * math.sin(a),
                     size * 0.14) for a in (k * math.pi / 4 for k in range(8))]
    return [(WHITE, [ring(c, c, r * 0.75, size * 0.2)] + teeth)]


def question(size):
    c = size / 2
    return [(WHITE, [ring(c, c, size * 0.44, size * 0.07),
                     arc(c, c - size * 0.08, size * 0.14, size * 0.09, 300, 200),
                     segment(c, c + size * 0.06, c, c + size * 0.12, size * 0.09),
                     disc(c, c + size * 0.25, size * 0.06)])]


ICONS = {
    "arrow_16x16.png": (16, [((72, 72, 72), [lambda x, y: 5 <= y <= 11 and abs(x - 8) <= (11 - y) * 0.9])]),
    "website_45X45.png": (45, [(WHITE, [ring(22.5, 22.5, 16, 2.4), ellipse_ring(22.5, 22.5, 7, 16, 2.2),
                                        rect(7, 21.4, 38, 23.6), rect(10, 13.5, 35, 15.3),
                                        rect(10, 29.7, 35, 31.5)])]),
    "keywords_45X45.png": (45, [(WHITE, [ring(19, 19, 10.5, 3.2), segment(27, 27, 37, 37, 5)])]),
    "add_32x32.png": (32, [(WHITE, [ring(16, 16, 13, 2), rect(14.8, 8, 17.2, 24), rect(8, 14.8, 24, 17.2)])]),
    "setting_32X32.png": (32, gear(32)),
    "help_32X32.png": (32, question(32)),
    "facebook_16.png": (16, [((59, 89, 152), [round_square(16, 3)]),
                             (WHITE, [rect(7, 4, 9, 16), rect(5.5, 7, 11, 8.6), arc(11, 5.5, 2.5, 2, 20, 180)])]),
    "google-plus_16.png": (16, [((221, 75, 57), [round_square(16, 3)]),
                                (WHITE, [rect(7.1, 3.5, 8.9, 12.5), rect(3.5, 7.1, 12.5, 8.9)])]),
    "twitter_16.png": (16, [((29, 161, 242), [round_square(16, 3)]),
                            (WHITE, [disc(8, 8.5, 3.6), disc(11, 5.5, 1.6), segment(3.5, 5, 7, 8, 1.8)])]),
}

for name, (size, layers) in ICONS.items():
    with open(os.path.join(sys.argv[1], name), "wb") as f:
        f.write(icon(size, layers))
