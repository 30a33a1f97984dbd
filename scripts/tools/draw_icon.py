#!/usr/bin/env python3
"""Draws the application icon: a rounded blue tile with three rising rank bars."""
import struct, sys, zlib

S = 64

def inside_round_rect(x, y, r=12):
    cx = min(max(x, r), S - 1 - r)
    cy = min(max(y, r), S - 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def pixel(x, y):
    if not inside_round_rect(x, y):
        return (0, 0, 0, 0)
    t = y / (S - 1)
    bg = (int(32 + 20 * t), int(110 - 40 * t), int(200 - 50 * t), 255)
    bars = [(14, 24, 40), (28, 38, 28), (42, 52, 14)]  # x0, x1, top
    for x0, x1, top in bars:
        if x0 <= x < x1 and top <= y < 52:
            return (255, 255, 255, 255)
    if 10 <= x < 56 and 52 <= y < 55:
        return (255, 200, 60, 255)
    return bg

rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(S)) for y in range(S))

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", S, S, 8, 6, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
