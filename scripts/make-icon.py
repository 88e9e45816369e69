#!/usr/bin/env python3
"""Draws Kalvo's icon (a note pad with ruled lines) and writes res/kalvo.ico with
16x16, 32x32 and 48x48 images at 32 bits per pixel. Run it to regenerate the icon."""
import struct, sys, os

def draw(size):
    s = size / 48.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    def rect(x0, y0, x1, y1, c):
        for y in range(max(0, int(y0 * s)), min(size, int(round(y1 * s)))):
            for x in range(max(0, int(x0 * s)), min(size, int(round(x1 * s)))):
                px[y][x] = c
    rect(7, 4, 41, 45, (90, 90, 90, 255))        # outline
    rect(8, 5, 40, 44, (255, 253, 240, 255))     # page
    rect(8, 5, 40, 13, (40, 110, 200, 255))      # header band
    for y in (19, 25, 31, 37):                   # ruled lines
        rect(12, y, 36, y + max(1, 1.5), (120, 150, 200, 255))
    return px

def dib(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(bytes(v for (r, g, b, a) in px[y] for v in (b, g, r, a)) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for y in reversed(range(size)):
        bits = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + rows + mask

def main(out):
    sizes = (16, 32, 48)
    images = [dib(n) for n in sizes]
    data = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, img in zip(sizes, images):
        data += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, 'wb') as f:
        f.write(data + b''.join(images))

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'kalvo.ico'))
