#!/usr/bin/env python3
"""Draws Quorvane's eleven button bitmaps (24-bit BMP) and its icon (ICO, 32x32 and 16x16).

Every picture is a set of shapes described in pixel coordinates; each pixel is sampled 4 x 4
times and blended over the background, which gives smooth edges. Standard library only.

The background is white: a disabled button draws its bitmap through a monochrome mask in which
only white pixels stay clear, so any other background would turn into a solid grey block.

    python3 scripts/make-bitmaps.py [output folder, default: resources]
"""

import math
import os
import struct
import sys

BACKGROUND = (255, 255, 255)
BLACK = (24, 24, 24)
GREEN = (30, 150, 50)
RED = (205, 35, 35)
BLUE = (30, 90, 200)
SAMPLES = 4


# Shapes: functions (x, y) -> True when the point lies inside.

def polygon(*points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def disc(cx, cy, radius):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def box(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def stroke(x0, y0, x1, y1, width):
    """A straight line of the width with round ends."""
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
    return inside


def render(width, height, layers, background=BACKGROUND):
    """Rows of (r, g, b, coverage) pixels, top row first; later layers lie over earlier ones."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            colour = list(background)
            covered = 0.0
            for shapes, layer_colour in layers:
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = px + (sx + 0.5) / SAMPLES
                        y = py + (sy + 0.5) / SAMPLES
                        if any(shape(x, y) for shape in shapes):
                            hits += 1
                share = hits / (SAMPLES * SAMPLES)
                colour = [c * (1 - share) + l * share for c, l in zip(colour, layer_colour)]
                covered = covered + share * (1 - covered)
            row.append((*[int(round(c)) for c in colour], covered))
        rows.append(row)
    return rows


def bmp_bytes(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def ico_image(rows):
    """One icon image: a 32-bit BGRA bitmap (height doubled for the mask) and an empty mask."""
    height, width = len(rows), len(rows[0])
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, int(round(a * 255))))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytes(mask_stride * height)
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0,
                       len(pixels) + len(mask), 0, 0, 0, 0)
    return info + bytes(pixels) + mask


def ico_bytes(images):
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b'', b''
    for size, image in images:
        entries += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    return header + entries + data


# The pictures. Run buttons are 30 x 23, step list buttons 29 x 21.

def run_buttons():
    return {
        90: [([polygon((10, 4.5), (10, 18.5), (22, 11.5))], GREEN)],
        91: [([box(9.5, 5, 13, 18), box(17, 5, 20.5, 18)], BLACK)],
        92: [([disc(15, 11.5, 7)], RED)],
    }


def step_buttons():
    cy = 10.5
    return {
        93: [([box(8, 5, 10.5, 16), polygon((20.5, 5), (20.5, 16), (11, cy))], BLACK)],
        94: [([polygon((7, cy), (13, 4.5), (13, 8.5), (22, 8.5), (22, 12.5), (13, 12.5),
                       (13, 16.5))], BLACK)],
        95: [([disc(14.5, cy, 3.5)], BLACK)],
        96: [([polygon((22, cy), (16, 4.5), (16, 8.5), (7, 8.5), (7, 12.5), (16, 12.5),
                       (16, 16.5))], BLACK)],
        97: [([polygon((8.5, 5), (8.5, 16), (18, cy)), box(18.5, 5, 21, 16)], BLACK)],
        98: [([box(13, 4, 16, 17), box(8, 9, 21, 12)], BLUE)],
        99: [([stroke(20, 4, 20, 13, 3), stroke(20, 13, 12, 13, 3),
               polygon((7, 13), (13, 8), (13, 18))], BLUE)],
        100: [([stroke(9, 5, 20, 16, 3), stroke(20, 5, 9, 16, 3)], RED)],
    }


def icon(size):
    scale = size / 32
    transparent = (0, 0, 0)
    rounded = [box(4 * scale, 1 * scale, 28 * scale, 31 * scale),
               box(1 * scale, 4 * scale, 31 * scale, 28 * scale),
               disc(4 * scale, 4 * scale, 3 * scale), disc(28 * scale, 4 * scale, 3 * scale),
               disc(4 * scale, 28 * scale, 3 * scale), disc(28 * scale, 28 * scale, 3 * scale)]
    triangle = [polygon((11 * scale, 7 * scale), (11 * scale, 25 * scale), (25 * scale, 16 * scale))]
    rows = render(size, size, [(rounded, BLUE), (triangle, (255, 255, 255))], transparent)
    # Where the shape is only partly there, its colour must not be darkened by the black behind.
    fixed = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if a > 0:
                r, g, b = (min(255, int(round(c / a))) for c in (r, g, b))
            line.append((r, g, b, a))
        fixed.append(line)
    return fixed


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else 'resources'
    os.makedirs(folder, exist_ok=True)
    for size, pictures in (((30, 23), run_buttons()), ((29, 21), step_buttons())):
        for number, layers in pictures.items():
            with open(os.path.join(folder, f'button{number}.bmp'), 'wb') as out:
                out.write(bmp_bytes(render(size[0], size[1], layers)))
    with open(os.path.join(folder, 'Quorvane.ico'), 'wb') as out:
        out.write(ico_bytes([(32, ico_image(icon(32))), (16, ico_image(icon(16)))]))


if __name__ == '__main__':
    main()
