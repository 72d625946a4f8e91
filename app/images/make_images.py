#!/usr/bin/env python3
"""Draws the program's icon (Swivelkin.ico, 32x32 and 16x16) and the row icons of the
mapped-keys list (kinds.bmp, four 16x16 pictures side by side), both with the standard
16-colour palette. Run it again after changing a picture; its output is checked in."""
import math
import os
import struct

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_YELLOW, LIGHT_GRAY, GRAY, RED, GREEN, BLUE, WHITE = 0, 3, 7, 8, 9, 10, 12, 15
TRANSPARENT = GREEN  # the image list treats RGB(0,255,0) as see-through


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def disc(self, cx, cy, r, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.dot(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=2.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 4) + 1
        for i in range(steps + 1):
            t = i / steps
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, colour)

    def arc(self, cx, cy, r, start, end, colour, width=2.0):
        """Arc from angle start to end in degrees, 0 pointing right, 90 pointing down."""
        steps = 64
        points = [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
                   cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
                  for i in range(steps + 1)]
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, colour, width)

    def triangle(self, a, b, c, colour):
        def side(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
        for y in range(self.height):
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                s = [side(a, b, px, py), side(b, c, px, py), side(c, a, px, py)]
                if all(v >= 0 for v in s) or all(v <= 0 for v in s):
                    self.dot(x, y, colour)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)


def plain_arrow():
    c = Canvas(16, 16, TRANSPARENT)
    c.rect(1, 7, 9, 8, DARK_YELLOW)
    c.triangle((9, 2.5), (15.5, 8), (9, 13.5), DARK_YELLOW)
    return c


def u_turn(head_down_left):
    """A U-turn arrow: up one side, over the top, down the other to its head."""
    c = Canvas(16, 16, TRANSPARENT)
    if head_down_left:
        # Rises on the right, bends over the top to the left, head at lower left pointing down.
        c.line(11.5, 15, 11.5, 7, BLUE)
        c.arc(7.5, 7, 4, 0, -180, BLUE)
        c.line(3.5, 7, 3.5, 9, BLUE)
        c.triangle((-0.5, 9), (7.5, 9), (3.5, 15), BLUE)
    else:
        # Falls on the left, bends under the bottom to the right, head at upper right pointing up.
        c.line(4.5, 1, 4.5, 9, BLUE)
        c.arc(8.5, 9, 4, 180, 0, BLUE)
        c.line(12.5, 9, 12.5, 7, BLUE)
        c.triangle((8.5, 7), (16.5, 7), (12.5, 1), BLUE)
    return c


def barred_circle():
    c = Canvas(16, 16, TRANSPARENT)
    c.arc(8, 8, 6, 0, 360, RED, 2.2)
    c.line(3.8, 3.8, 12.2, 12.2, RED, 2.2)
    return c


def keycap_icon(size):
    """A light key with a blue two-way arrow on it."""
    s = size / 32
    c = Canvas(size, size, None)
    c.rect(round(2 * s), round(3 * s), round(29 * s), round(28 * s), GRAY)
    c.rect(round(3 * s), round(4 * s), round(28 * s), round(25 * s), WHITE)
    c.rect(round(4 * s), round(5 * s), round(27 * s), round(24 * s), LIGHT_GRAY)
    w = max(1.0, 2.2 * s)
    c.line(9 * s, 11 * s, 22 * s, 11 * s, BLUE, w)
    c.triangle((21 * s, 7 * s), (27 * s, 11 * s), (21 * s, 15 * s), BLUE)
    c.line(9 * s, 19 * s, 22 * s, 19 * s, RED, w)
    c.triangle((10 * s, 15 * s), (4 * s, 19 * s), (10 * s, 23 * s), RED)
    return c


def rows_4bpp(canvas, transparent_as=BLACK):
    """Bottom-up rows of 4-bit pixels, each padded to a multiple of 4 bytes."""
    out = b''
    for row in reversed(canvas.pixels):
        values = [transparent_as if p is None else p for p in row]
        if len(values) % 2:
            values.append(0)
        data = bytes((values[i] << 4) | values[i + 1] for i in range(0, len(values), 2))
        out += data + b'\0' * (-len(data) % 4)
    return out


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_bytes):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_bytes, 0, 0, 16, 0)


def write_bitmap(path, pictures):
    strip = Canvas(16 * len(pictures), 16, TRANSPARENT)
    for n, picture in enumerate(pictures):
        for y in range(16):
            for x in range(16):
                strip.pixels[y][16 * n + x] = picture.pixels[y][x]
    pixels = rows_4bpp(strip)
    offset = 14 + 40 + 64
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset))
        f.write(info_header(strip.width, strip.height, len(pixels)))
        f.write(palette_bytes())
        f.write(pixels)


def icon_image(canvas):
    xor = rows_4bpp(canvas)
    mask = b''
    for row in reversed(canvas.pixels):
        bits = 0
        data = bytearray((canvas.width + 7) // 8)
        for x, p in enumerate(row):
            if p is None:
                data[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(data) + b'\0' * (-len(data) % 4)
    return info_header(canvas.width, canvas.height * 2, len(xor) + len(mask)) + palette_bytes() + xor + mask


def write_icon(path, canvases):
    images = [icon_image(c) for c in canvases]
    offset = 6 + 16 * len(images)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        for c, data in zip(canvases, images):
            f.write(struct.pack('<BBBBHHII', c.width, c.height, 16, 0, 1, 4, len(data), offset))
            offset += len(data)
        for data in images:
            f.write(data)


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    write_bitmap(os.path.join(here, 'kinds.bmp'),
                 [plain_arrow(), u_turn(True), u_turn(False), barred_circle()])
    write_icon(os.path.join(here, 'Swivelkin.ico'), [keycap_icon(32), keycap_icon(16)])
