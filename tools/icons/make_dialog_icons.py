#!/usr/bin/env python3
"""Draws the settings dialogs' alignment and style icons (24 x 24 PNG, by resource id)."""
import struct, sys, zlib, os

S = 24
INK = (40, 40, 40, 255)
BOX = (70, 110, 170, 255)
GUIDE = (150, 150, 150, 255)

def png(pixels):
    raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in pixels)
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', S, S, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def canvas():
    return [[(0, 0, 0, 0)] * S for _ in range(S)]

def rect(p, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(S, y1)):
        for x in range(max(0, x0), min(S, x1)):
            p[y][x] = c

def text_lines(align):
    p = canvas()
    for i, w in enumerate([18, 12, 16, 10]):
        x = 3 if align == 0 else (S - w) // 2 if align == 1 else S - 3 - w
        rect(p, x, 4 + i * 5, x + w, 6 + i * 5, INK)
    return p

GLYPHS = {
    'B': ["1110", "1001", "1110", "1001", "1001", "1110"],
    'I': ["111", "010", "010", "010", "010", "111"],
    'U': ["1001", "1001", "1001", "1001", "1001", "0110"],
}

def letter(ch):
    p = canvas()
    g = GLYPHS[ch]
    w = len(g[0]) * 3
    x0 = (S - w) // 2
    for r, row in enumerate(g):
        for c, bit in enumerate(row):
            if bit == '1':
                rect(p, x0 + c * 3, 3 + r * 3, x0 + c * 3 + 3, 6 + r * 3, INK)
    if ch == 'U':
        rect(p, 4, 22, 20, 23, INK)
    return p

def horizontal(mode):
    p = canvas()
    rect(p, 1, 2, 2, 22, GUIDE); rect(p, 22, 2, 23, 22, GUIDE)
    widths = [5, 5, 5]
    if mode == 'justify':
        xs = [3, 10, 16]
    else:
        total = 5 * 3 + 2 * 2
        start = 3 if mode == 'left' else S - 3 - total if mode == 'right' else (S - total) // 2
        xs = [start, start + 7, start + 14]
    for x, w in zip(xs, widths):
        rect(p, x, 8, x + w, 16, BOX)
    return p

def vertical(mode):
    p = canvas()
    rect(p, 2, 1, 22, 2, GUIDE); rect(p, 2, 22, 22, 23, GUIDE)
    total = 6 * 2 + 2
    start = 3 if mode == 'top' else S - 3 - total if mode == 'bottom' else (S - total) // 2
    for i in range(2):
        rect(p, 7, start + i * 8, 17, start + i * 8 + 6, BOX)
    return p

def in_row(mode):
    p = canvas()
    heights = [8, 14, 10]
    line = 4 if mode == 'top' else 20 if mode == 'bottom' else 12
    rect(p, 1, line, 23, line + 1, GUIDE)
    for i, h in enumerate(heights):
        x = 3 + i * 7
        y = line if mode == 'top' else line + 1 - h if mode == 'bottom' else line - h // 2
        rect(p, x, y, x + 5, y + h, BOX)
    return p

ICONS = {
    158: text_lines(0), 159: text_lines(1), 160: text_lines(2),
    161: letter('B'), 162: letter('I'), 163: letter('U'),
    226: horizontal('left'), 227: horizontal('right'), 228: horizontal('centre'), 229: horizontal('justify'),
    231: vertical('top'), 232: vertical('bottom'), 233: vertical('centre'),
    379: in_row('top'), 380: in_row('centre'), 381: in_row('bottom'),
}

if __name__ == '__main__':
    out = sys.argv[1]
    for k, v in ICONS.items():
        with open(os.path.join(out, f'{k}.png'), 'wb') as f:
            f.write(png(v))
