#!/usr/bin/env python3
"""Draws the add-in's six toolbar faces (our own artwork) and writes them as 24-bit BMP
files: 10 auto size (26 x 26), 11-14 vertical text alignments and 15 selection lock
(15 x 15). Run from anywhere; writes next to this script in artwork/."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "artwork")

BACK = (192, 192, 192)   # the classic button face, so the pasted face blends in
INK = (0, 0, 0)
TEXT = (0, 0, 128)
FRAME = (128, 128, 128)
ACCENT = (0, 128, 0)
GOLD = (200, 150, 0)


def canvas(w, h):
    return [[BACK for _ in range(w)] for _ in range(h)]


def put(img, x, y, c):
    if 0 <= y < len(img) and 0 <= x < len(img[0]):
        img[y][x] = c


def hline(img, x0, x1, y, c):
    for x in range(x0, x1 + 1):
        put(img, x, y, c)


def vline(img, x, y0, y1, c):
    for y in range(y0, y1 + 1):
        put(img, x, y, c)


def rect(img, x0, y0, x1, y1, c):
    hline(img, x0, x1, y0, c)
    hline(img, x0, x1, y1, c)
    vline(img, x0, y0, y1, c)
    vline(img, x1, y0, y1, c)


def line(img, x0, y0, x1, y1, c):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        put(img, x0, y0, c)
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def write_bmp(path, img):
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(img):
        raw = bytearray()
        for (r, g, b) in row:
            raw += bytes((b, g, r))
        raw += b"\0" * (stride - len(raw))
        pixels += raw
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def auto_size():
    """A letter A inside a frame whose corners carry outward arrows."""
    img = canvas(26, 26)
    rect(img, 3, 3, 22, 22, FRAME)
    # the letter
    line(img, 12, 6, 7, 19, TEXT)
    line(img, 13, 6, 8, 19, TEXT)
    line(img, 13, 6, 18, 19, TEXT)
    line(img, 14, 6, 19, 19, TEXT)
    hline(img, 10, 16, 14, TEXT)
    # corner arrows
    for (x, y, dx, dy) in ((1, 1, 1, 1), (24, 1, -1, 1), (1, 24, 1, -1), (24, 24, -1, -1)):
        hline(img, min(x, x + 3 * dx), max(x, x + 3 * dx), y, ACCENT)
        vline(img, x, min(y, y + 3 * dy), max(y, y + 3 * dy), ACCENT)
    return img


def valign(kind):
    """Three text lines in a box, placed at the top, centre, bottom or spread out."""
    img = canvas(15, 15)
    rect(img, 1, 1, 13, 13, FRAME)
    widths = (9, 7, 9)
    if kind == "top":
        rows = (3, 5, 7)
    elif kind == "center":
        rows = (5, 7, 9)
    elif kind == "bottom":
        rows = (7, 9, 11)
    else:
        rows = (3, 7, 11)
    for row, width in zip(rows, widths):
        x0 = 3 if kind == "justify" else 7 - width // 2
        hline(img, x0, x0 + (9 if kind == "justify" else width) - 1, row, TEXT)
    return img


ARROW = (
    "X.........",
    "XX........",
    "XWX.......",
    "XWWX......",
    "XWWWX.....",
    "XWWWWX....",
    "XWWWWWX...",
    "XWWWXXXX..",
    "XWXWX.....",
    "XX.XWX....",
    "X...XWX...",
    ".....XX...",
)


def selection_lock():
    """The selection arrow with a small key at its lower right."""
    img = canvas(15, 15)
    for y, row in enumerate(ARROW):
        for x, ch in enumerate(row):
            if ch == "X":
                put(img, x + 1, y + 1, INK)
            elif ch == "W":
                put(img, x + 1, y + 1, (255, 255, 255))
    # key: ring and bit
    rect(img, 8, 9, 10, 11, GOLD)
    hline(img, 11, 14, 10, GOLD)
    vline(img, 13, 11, 12, GOLD)
    vline(img, 14, 11, 13, GOLD)
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp(os.path.join(OUT, "face10.bmp"), auto_size())
    for n, kind in zip((11, 12, 13, 14), ("top", "center", "bottom", "justify")):
        write_bmp(os.path.join(OUT, "face%d.bmp" % n), valign(kind))
    write_bmp(os.path.join(OUT, "face15.bmp"), selection_lock())


if __name__ == "__main__":
    main()
