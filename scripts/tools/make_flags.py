#!/usr/bin/env python3
"""Builds the 16 x 16 country flags of resources/country from a public-domain flag set.

The source flags (Debian package famfamfam-flag-png, public domain) are 16 x 11 or
smaller; each is centred on a transparent 16 x 16 canvas. The set lacks the Isle of
Man and Jersey, whose flags are drawn here in simplified form. The output is committed,
so building the program never needs the package.

Usage: make_flags.py [SOURCE_DIR]   (default /usr/share/flags/countries/16x11)
"""
import os
import struct
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
OUT = os.path.join(ROOT, "resources", "country")
FLAG_TABLE = os.path.join(ROOT, "resources", "Resources", "CountryFlag.txt")
SIZE = 16

# Country text of the flag table -> ISO 3166-1 code of the source flag. None: drawn here.
CODES = {
    "United States": "us", "New Zealand": "nz", "United Kingdom": "gb", "Japan": "jp",
    "Poland": "pl", "Canada": "ca", "Australia": "au", "Argentina": "ar", "Austria": "at",
    "Belgium": "be", "Chile": "cl", "China": "cn", "Denmark": "dk", "France": "fr",
    "Germany": "de", "Greece": "gr", "Hong Kong": "hk", "India": "in", "Ireland": "ie",
    "Italy": "it", "Jamaica": "jm", "Korea": "kr", "Lebanon": "lb", "Malaysia": "my",
    "Mexico": "mx", "Netherlands": "nl", "Norway": "no", "Philippines": "ph",
    "Portugal": "pt", "Singapore": "sg", "Spain": "es", "Taiwan": "tw", "Thailand": "th",
    "Turkey": "tr", "Vietnam": "vn", "Bosnian": "ba", "Brazil": "br", "Dominica": "dm",
    "Ghana": "gh", "Ivory Coast": "ci", "Russia": "ru", "Venezuela": "ve",
    "Afghanistan": "af", "Algeria": "dz", "Angola": "ao", "Anguilla": "ai",
    "Antigua and Barbuda": "ag", "Armenia": "am", "Azerbaijan": "az", "Bahamas": "bs",
    "Bahrain": "bh", "Bangladesh": "bd", "Belarus": "by", "Belize": "bz", "Benin": "bj",
    "Bolivia": "bo", "Botswana": "bw", "Brunei": "bn", "Bulgaria": "bg", "Burundi": "bi",
    "CentralAfricanRepublic": "cf", "Colombia": "co", "Congo": "cg", "Costa Rica": "cr",
    "Cuba": "cu", "Czech Republic": "cz", "Djibouti": "dj", "Dominican Republic": "do",
    "Ecuador": "ec", "Egypt": "eg", "El Salvador": "sv", "Ethiopia": "et", "Fiji": "fj",
    "Finland": "fi", "Gambia": "gm", "Georgia": "ge", "Gibraltar": "gi", "Greenland": "gl",
    "Guatemala": "gt", "Guyana": "gy", "Haiti": "ht", "Honduras": "hn", "Hungary": "hu",
    "Indonesia": "id", "Isle of Man": None, "Israel": "il", "Jersey": None, "Jordan": "jo",
    "Kazakhstan": "kz", "Kuwait": "kw", "Kyrgyzstan": "kg", "Laos": "la", "Latvia": "lv",
    "Libya": "ly", "Liechtenstein": "li", "Lithuania": "lt", "Luxembourg": "lu",
    "Maldives": "mv", "Malta": "mt", "Mauritius": "mu", "Micronesia": "fm", "Moldova": "md",
    "Montserrat": "ms", "Morocco": "ma", "Mozambique": "mz", "Namibia": "na", "Nauru": "nr",
    "Nepal": "np", "Nicaragua": "ni", "Nigeria": "ng", "Niue": "nu", "Oman": "om",
    "Pakistan": "pk", "Panama": "pa", "Paraguay": "py", "Peru": "pe", "Puerto Rico": "pr",
    "Qatar": "qa", "Romania": "ro", "Rwanda": "rw", "Saint Vincent and the Grenadines": "vc",
    "Saint Helena": "sh", "Samoa": "ws", "Sao Tome and Principe": "st",
    "Saudi Arabia": "sa", "Senegal": "sn", "Serbia": "rs", "Seychelles": "sc",
    "Sierra Leone": "sl", "Slovakia": "sk", "Slovenia": "si", "Solomon Islands": "sb",
    "South Africa": "za", "Switzerland": "ch", "Tajikistan": "tj", "Tanzania": "tz",
    "Timor Leste": "tl", "Tokelau": "tk", "Tonga": "to", "Trinidad and Tobago": "tt",
    "Turkmenistan": "tm", "Uganda": "ug", "Ukraine": "ua", "Uruguay": "uy",
    "Uzbekistan": "uz", "Vanuatu": "vu", "Zambia": "zm", "Zimbabwe": "zw", "Croatia": "hr",
    "Montenegro": "me", "United Arab Emirates": "ae", "Sweden": "se", "Iceland": "is",
    "Tunisia": "tn", "Sri Lanka": "lk", "Estonia": "ee", "Kenya": "ke",
}
# Named by no row of the flag table, but part of the set the pickers may show.
EXTRA = {"Guinea-Bissau.png": "gw"}

CLEAR = (0, 0, 0, 0)


def read_png(path):
    """Decodes a non-interlaced 8-bit RGB or RGBA PNG into rows of RGBA tuples."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("%s: unsupported PNG form %s" % (path, header))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        prev = line
        row = []
        for x in range(width):
            px = line[x * bpp:(x + 1) * bpp]
            row.append(tuple(px) + ((255,) if bpp == 3 else ()))
        rows.append(row)
    return rows


def write_png(path, rows):
    raw = b"".join(b"\0" + b"".join(bytes(px) for px in row) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def centred(flag):
    """Puts a flag of at most 16 x 16 pixels in the middle of a transparent square."""
    h, w = len(flag), len(flag[0])
    top, left = (SIZE - h) // 2, (SIZE - w) // 2
    canvas = [[CLEAR] * SIZE for _ in range(SIZE)]
    for y in range(h):
        for x in range(w):
            canvas[top + y][left + x] = flag[y][x]
    return canvas


def isle_of_man():
    """Red field with a simplified three-legged emblem in white and yellow."""
    red, white, gold = (207, 20, 43, 255), (255, 255, 255, 255), (252, 209, 22, 255)
    flag = [[red] * 16 for _ in range(11)]
    legs = [(5, 7), (6, 6), (7, 5), (7, 4), (8, 6), (9, 7), (10, 8), (8, 7), (7, 8),
            (6, 9), (5, 9)]
    for x, y in legs:
        flag[y][x] = white
    for x, y in [(7, 3), (11, 8), (4, 9)]:
        flag[y][x] = gold
    return flag


def jersey():
    """White field, red saltire, a small red shield with a gold crown in the top arm."""
    red, white, gold = (223, 17, 43, 255), (255, 255, 255, 255), (255, 204, 0, 255)
    flag = [[white] * 16 for _ in range(11)]
    for x in range(16):
        y = round(x * 10 / 15)
        for dy in (0, 1):
            if 0 <= y + dy < 11:
                flag[y + dy][x] = red
                flag[10 - (y + dy)][x] = red
    for y in range(1, 4):
        for x in range(7, 9):
            flag[y][x] = red
    flag[1][7] = flag[1][8] = gold
    return flag


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/flags/countries/16x11"
    os.makedirs(OUT, exist_ok=True)
    wanted = dict(EXTRA)
    for line in open(FLAG_TABLE, "rb").read().decode("utf-8-sig").split("\r\n"):
        country, image = line.split("#")
        code = CODES[country.rstrip()]
        wanted[image] = code
    drawn = {"Isle-of-Man.png": isle_of_man, "Jersey.png": jersey}
    for image, code in sorted(wanted.items()):
        if code is None:
            flag = drawn[image]()
        else:
            flag = read_png(os.path.join(source, code + ".png"))
        write_png(os.path.join(OUT, image), centred(flag))
    print("%d flags written to %s" % (len(wanted), OUT))


if __name__ == "__main__":
    main()
