#!/usr/bin/env python3
"""Draws the main toolbar's icons (32 x 32 PNG) and the splash picture (24-bit BMP).

Run from the repository root; the pictures are checked in under resources/data, so the
build does not need this script. Standard library only.
"""
import struct
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DATA = ROOT / "resources" / "data"


class Picture:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            if len(c) == 3:
                c = (*c, 255)
            self.px[y * self.w + x] = list(c)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.put(x, y0, c)
            self.put(x, y1 - 1, c)
        for y in range(y0, y1):
            self.put(x0, y, c)
            self.put(x1 - 1, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def tri(self, pts, c):
        ys = [p[1] for p in pts]
        for y in range(min(ys), max(ys) + 1):
            xs = []
            for i in range(3):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % 3]
                if ay != by and min(ay, by) <= y <= max(ay, by):
                    xs.append(ax + (y - ay) * (bx - ax) / (by - ay))
            if xs:
                for x in range(round(min(xs)), round(max(xs)) + 1):
                    self.put(x, y, c)

    def png(self, path):
        raw = b"".join(b"\0" + bytes(v for p in self.px[y * self.w:(y + 1) * self.w] for v in p)
                       for y in range(self.h))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        head = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"IDAT", zlib.compress(raw, 9))
                         + chunk(b"IEND", b""))

    def bmp(self, path):
        stride = (self.w * 3 + 3) & ~3
        rows = []
        for y in reversed(range(self.h)):
            row = b"".join(bytes((p[2], p[1], p[0])) for p in self.px[y * self.w:(y + 1) * self.w])
            rows.append(row + b"\0" * (stride - len(row)))
        body = b"".join(rows)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
        path.write_bytes(b"BM" + struct.pack("<IHHI", 14 + 40 + len(body), 0, 0, 54) + info + body)


INK = (40, 48, 64)
PAPER = (250, 250, 246)
BLUE = (52, 110, 190)
SKY = (150, 196, 236)
GREEN = (70, 150, 80)
SUN = (240, 190, 40)
FOLDER = (226, 176, 64)
FOLDER_DARK = (180, 130, 30)


def page(p, x0=7, y0=3, x1=25, y1=29, fold=6):
    p.rect(x0, y0, x1, y1, PAPER)
    p.frame(x0, y0, x1, y1, INK)
    p.tri([(x1 - fold, y0), (x1 - 1, y0), (x1 - 1, y0 + fold)], (0, 0, 0, 0))
    p.line(x1 - fold, y0, x1 - fold, y0 + fold, INK)
    p.line(x1 - fold, y0 + fold, x1 - 1, y0 + fold, INK)
    p.line(x1 - fold, y0, x1 - 1, y0 + fold - 1, INK)


def load_image():
    p = Picture(32, 32)
    p.rect(3, 6, 29, 26, SKY)
    p.tri([(4, 25), (13, 12), (22, 25)], GREEN)
    p.tri([(14, 25), (21, 16), (28, 25)], (50, 120, 60))
    p.rect(22, 9, 26, 13, SUN)
    p.frame(3, 6, 29, 26, INK)
    p.frame(2, 5, 30, 27, INK)
    return p


def print_icon():
    p = Picture(32, 32)
    p.rect(9, 3, 23, 12, PAPER)
    p.frame(9, 3, 23, 12, INK)
    p.rect(3, 11, 29, 23, (170, 176, 186))
    p.frame(3, 11, 29, 23, INK)
    p.rect(6, 14, 9, 16, (60, 190, 80))
    p.rect(8, 19, 24, 29, PAPER)
    p.frame(8, 19, 24, 29, INK)
    for y in (22, 25):
        p.line(11, y, 21, y, BLUE)
    return p


def new_icon():
    p = Picture(32, 32)
    page(p)
    return p


def folder(p):
    p.rect(3, 8, 13, 11, FOLDER_DARK)
    p.rect(3, 11, 28, 27, FOLDER)
    p.frame(3, 11, 28, 27, FOLDER_DARK)
    p.frame(3, 8, 13, 12, FOLDER_DARK)


def open_icon():
    p = Picture(32, 32)
    folder(p)
    p.tri([(6, 27), (10, 16), (31, 16)], (246, 206, 100))
    p.tri([(6, 27), (27, 27), (31, 16)], (246, 206, 100))
    p.line(10, 16, 30, 16, FOLDER_DARK)
    return p


def open_last_icon():
    p = open_icon()
    for y in range(0, 13):
        for x in range(17, 32):
            if (x - 24) ** 2 + (y - 6) ** 2 <= 36:
                p.put(x, y, PAPER)
            if 25 <= (x - 24) ** 2 + (y - 6) ** 2 <= 42:
                p.put(x, y, BLUE)
    p.line(24, 6, 24, 2, INK)
    p.line(24, 6, 27, 7, INK)
    return p


def save_icon():
    p = Picture(32, 32)
    p.rect(3, 3, 29, 29, BLUE)
    p.frame(3, 3, 29, 29, INK)
    p.rect(8, 4, 24, 13, PAPER)
    p.rect(19, 6, 22, 11, INK)
    p.rect(7, 18, 25, 28, (220, 226, 236))
    p.frame(7, 18, 25, 28, INK)
    return p


FONT = {  # 5 x 7
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "e": ["00000", "00000", "01110", "10001", "11111", "10000", "01110"],
    "l": ["01100", "00100", "00100", "00100", "00100", "00100", "01110"],
    "i": ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
    "c": ["00000", "00000", "01110", "10000", "10000", "10001", "01110"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "r": ["00000", "00000", "10110", "11001", "10000", "10000", "10000"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    " ": ["00000"] * 7,
}


def text(p, s, x, y, scale, c):
    for ch in s:
        for r, bits in enumerate(FONT[ch]):
            for k, b in enumerate(bits):
                if b == "1":
                    p.rect(x + k * scale, y + r * scale, x + (k + 1) * scale, y + (r + 1) * scale, c)
        x += 6 * scale


def splash():
    w, h = 480, 300
    p = Picture(w, h)
    for y in range(h):
        for x in range(w):
            t = (x + y) / (w + h)
            p.px[y * w + x] = [int(28 + 30 * t), int(44 + 40 * t), int(72 + 70 * t), 255]
    # Three prints fanned out on the desk.
    for i, (ox, oy, col) in enumerate([(330, 120, (214, 96, 64)), (350, 138, (70, 150, 110)), (370, 156, (80, 130, 210))]):
        p.rect(ox + 6, oy + 6, ox + 96, oy + 126, (10, 16, 28))
        p.rect(ox, oy, ox + 90, oy + 120, PAPER)
        p.rect(ox + 8, oy + 8, ox + 82, oy + 100, col)
    text(p, "VellicorEX", 36, 60, 6, (245, 245, 240))
    p.rect(36, 120, 390, 123, SUN)
    return p


def main():
    icons = DATA / "bitmaps" / "toolbar"
    icons.mkdir(parents=True, exist_ok=True)
    for name, make in [("loadimage", load_image), ("print", print_icon), ("new", new_icon),
                       ("open", open_icon), ("openlast", open_last_icon), ("save", save_icon)]:
        make().png(icons / f"{name}.png")
    splash().bmp(DATA / "VellicorEX.bmp")


if __name__ == "__main__":
    main()
