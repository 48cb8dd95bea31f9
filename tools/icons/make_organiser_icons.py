#!/usr/bin/env python3
"""Draws the template organiser's button icons (16 x 16 PNG, by resource id):
322 delete (a red cross), 323 add (a green plus)."""
import os, struct, sys, zlib

S = 16

def png(pixels):
    raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in pixels)
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', S, S, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def canvas():
    return [[(0, 0, 0, 0)] * S for _ in range(S)]

def cross(colour):
    p = canvas()
    for i in range(2, S - 2):
        for d in (-1, 0, 1):
            for x in (i + d, S - 1 - i + d):
                if 0 <= x < S:
                    p[i][x] = colour
    return p

def plus(colour):
    p = canvas()
    for i in range(2, S - 2):
        for w in (7, 8):
            p[i][w] = colour
            p[w][i] = colour
    for i in range(3, S - 3):
        for w in (6, 9):
            p[i][w] = colour
            p[w][i] = colour
    return p

def main(folder):
    os.makedirs(folder, exist_ok=True)
    for name, pixels in (('322', cross((200, 40, 40, 255))), ('323', plus((40, 150, 60, 255)))):
        with open(os.path.join(folder, name + '.png'), 'wb') as f:
            f.write(png(pixels))

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'resources', 'data', 'icons'))
