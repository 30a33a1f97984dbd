#!/usr/bin/env python3
"""Draws the three 48 x 48 social icons of the PDF report: a rounded tile in the network's
colour with a white mark (an "f", a small bird, "in")."""
import os, struct, sys, zlib

S = 48


def inside_round_rect(x, y, r=9):
    cx = min(max(x, r), S - 1 - r)
    cy = min(max(y, r), S - 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def mark_facebook(x, y):
    # The "f": a stem, an arch to the right at the top and a cross bar.
    stem = 20 <= x < 27 and 12 <= y < 42
    top = 20 <= x < 33 and 8 <= y < 14 and (x - 27) ** 2 + (y - 14) ** 2 <= 49 or (
        26 <= x < 33 and 8 <= y < 13)
    bar = 15 <= x < 32 and 21 <= y < 26
    return stem or top or bar


def mark_twitter(x, y):
    # A plump bird: round body, head, beak and tail.
    body = ((x - 22) / 13.0) ** 2 + ((y - 27) / 9.0) ** 2 <= 1
    head = (x - 31) ** 2 + (y - 18) ** 2 <= 36
    beak = 36 <= x < 41 and 16 <= y < 19 and (y - 16) <= (41 - x)
    tail = 8 <= x < 14 and 16 <= y < 27 and (x - 8) >= (y - 16) * 0.4
    return body or head or beak or tail


def mark_linkedin(x, y):
    # "in": the dot and stem of the i, the n with its arch.
    dot = (x - 15) ** 2 + (y - 13) ** 2 <= 9
    i_stem = 12 <= x < 18 and 19 <= y < 38
    n_left = 22 <= x < 28 and 19 <= y < 38
    n_right = 32 <= x < 38 and 24 <= y < 38
    arch = (x - 31) ** 2 + (y - 25) ** 2 <= 49 and (x - 31) ** 2 + (y - 26) ** 2 >= 4 and y < 27 and x >= 24
    return dot or i_stem or n_left or n_right or arch


ICONS = {
    "facebook_48.png": ((59, 89, 152), mark_facebook),
    "twitter_48.png": ((29, 161, 242), mark_twitter),
    "linkedin_48.png": ((0, 119, 181), mark_linkedin),
}


def draw(colour, mark):
    def pixel(x, y):
        if not inside_round_rect(x, y):
            return (0, 0, 0, 0)
        if mark(x, y):
            return (255, 255, 255, 255)
        return colour + (255,)

    return b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(S)) for y in range(S))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(rows):
    head = chunk(b"IHDR", struct.pack(">IIBBBBB", S, S, 8, 6, 0, 0, 0))
    return b"\x89PNG\r\n\x1a\n" + head + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "resources/Resources"
    for name, (colour, mark) in ICONS.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png(draw(colour, mark)))
