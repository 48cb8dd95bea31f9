#!/usr/bin/env python3
"""Draws the ink pictures of the print-quality page (64 x 64 PNG, by resource id):
308 colour ink, 382 black ink."""
import math, os, struct, sys, zlib

S = 64

def png(pixels):
    raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in pixels)
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', S, S, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def inside_drop(x, y, cx, cy, r):
    # A round body with a pointed top.
    if math.hypot(x - cx, y - cy) <= r:
        return True
    top = cy - 2.2 * r
    if top <= y < cy:
        half = r * (y - top) / (cy - top)
        return abs(x - cx) <= half
    return False

def drops(colours):
    p = [[(0, 0, 0, 0)] * S for _ in range(S)]
    n = len(colours)
    r = 9 if n > 1 else 15
    for i, c in enumerate(colours):
        cx = S / 2 if n == 1 else 14 + i * 18
        cy = 42 if n == 1 else 44 - (i % 2) * 4
        for y in range(S):
            for x in range(S):
                if inside_drop(x + 0.5, y + 0.5, cx, cy, r):
                    p[y][x] = c
    return p

ICONS = {
    308: drops([(0, 170, 220, 255), (215, 0, 120, 255), (245, 215, 0, 255)]),
    382: drops([(30, 30, 30, 255)]),
}

def main(out):
    os.makedirs(out, exist_ok=True)
    for ident, pixels in ICONS.items():
        with open(os.path.join(out, f'{ident}.png'), 'wb') as f:
            f.write(png(pixels))

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '../../resources/data/icons'))
