#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

"""Draws the Nesdrix icon: a device broadcasting to the network.

With no argument, or with a path ending in .ico, it writes the 120 x 120, 32-bit
resources/Nesdrix.ico. With a PNG path and a size (make-icon.py out.png 48) it
draws the same picture at that size, for the desktop's icon theme. It needs
nothing beyond Python 3.
"""
import math
import struct
import sys
import zlib

SIZE = 120
SAMPLES = 4  # supersampling per axis, for smooth edges


def inside_rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def on_arc(x, y, cx, cy, radius, width, half_angle):
    d = math.hypot(x - cx, y - cy)
    if abs(d - radius) > width / 2:
        return False
    angle = math.atan2(cx - x, cy - y)  # 0 points straight up
    return abs(angle) <= half_angle


def shade(x, y):
    """Colour (r, g, b, a) of one sample point."""
    if not inside_rounded_rect(x, y, 2, 2, 118, 118, 22):
        return (0, 0, 0, 0)
    # Background: deep blue at the top to teal at the bottom.
    t = y / SIZE
    background = (int(18 + 10 * t), int(60 + 90 * t), int(140 + 20 * t), 255)
    white = (255, 255, 255, 255)
    amber = (255, 190, 40, 255)
    # The device: a box with two status lamps.
    if inside_rounded_rect(x, y, 34, 70, 86, 100, 6):
        if (x - 46) ** 2 + (y - 85) ** 2 <= 25 or (x - 60) ** 2 + (y - 85) ** 2 <= 25:
            return amber
        if 68 <= x <= 80 and 82 <= y <= 88:
            return background
        return white
    # Its antenna and the broadcast waves above it.
    if 57 <= x <= 63 and 52 <= y <= 70:
        return white
    if (x - 60) ** 2 + (y - 50) ** 2 <= 36:
        return white
    for radius in (16, 28, 40):
        if on_arc(x, y, 60, 50, radius, 6, math.radians(48)):
            return white
    return background


def render(size=SIZE):
    """Rows of (r, g, b, a) pixels, the drawing scaled to size x size."""
    scale = SIZE / size
    # A small icon samples as densely, in drawing units, as the full-size one.
    samples = max(SAMPLES, round(SAMPLES * scale))
    pixels = []
    for row in range(size):
        line = []
        for column in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = shade((column + (sx + 0.5) / samples) * scale,
                                       (row + (sy + 0.5) / samples) * scale)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (samples * samples)
            if acc[3]:
                colour = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                colour = [0, 0, 0]
            line.append((colour[0], colour[1], colour[2], round(alpha)))
        pixels.append(line)
    return pixels


def ico_bytes(pixels):
    xor = bytearray()
    for line in reversed(pixels):  # bitmaps are stored bottom-up
        for r, g, b, a in line:
            xor += bytes((b, g, r, a))
    mask_stride = ((SIZE + 31) // 32) * 4
    and_mask = bytes(mask_stride * SIZE)  # the alpha channel decides; mask all opaque
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def png_bytes(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    size = len(pixels)
    raw = bytearray()
    for line in pixels:
        raw.append(0)  # filter type: none
        for pixel in line:
            raw += bytes(pixel)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else 'Nesdrix.ico'
    if target.endswith('.png'):
        data = png_bytes(render(int(sys.argv[2])))
    else:
        data = ico_bytes(render())
    with open(target, 'wb') as out:
        out.write(data)


if __name__ == '__main__':
    main()
