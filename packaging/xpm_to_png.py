#!/usr/bin/env python3
"""Writes the window icon (an XPM image) as the PNG that the Debian package installs.

    python3 packaging/xpm_to_png.py window/kelvane.xpm packaging/kelvane.png

Handles what the icon uses: one character per pixel, "#RRGGBB" colours and "None" for
transparent pixels. Needs nothing beyond Python's standard library.
"""
import re
import struct
import sys
import zlib


def ReadXpm(path):
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', open(path, encoding="ascii").read())
    width, height, colourCount, charsPerPixel = (int(v) for v in strings[0].split()[:4])
    colours = {}
    for line in strings[1:1 + colourCount]:
        key, rest = line[:charsPerPixel], line[charsPerPixel:].split()
        value = rest[rest.index("c") + 1]
        if value.lower() == "none":
            colours[key] = (0, 0, 0, 0)
        else:
            colours[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5)) + (255,)
    rows = []
    for line in strings[1 + colourCount:1 + colourCount + height]:
        pixels = [line[i:i + charsPerPixel] for i in range(0, width * charsPerPixel, charsPerPixel)]
        rows.append([colours[p] for p in pixels])
    return width, height, rows


def Chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def WritePng(path, width, height, rows):
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + Chunk(b"IHDR", header) +
                  Chunk(b"IDAT", zlib.compress(raw, 9)) + Chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: xpm_to_png.py ICON.xpm ICON.png")
    WritePng(sys.argv[2], *ReadXpm(sys.argv[1]))
