#!/usr/bin/env python3
"""Draws Quorvix's program icon and writes it as a .ico file.

A phone whose screen shows a globe: the tool changes the phone's language.
Six 32-bit images (128, 72, 64, 48, 32 and 16 pixels), each stored as a
device-independent bitmap with an alpha channel and an AND mask, drawn with
4 x 4 supersampling so the small sizes stay smooth.
"""
import math
import struct
import sys

SIZES = (128, 72, 64, 48, 32, 16)
SAMPLES = 4

BODY = (40, 52, 66)
BODY_EDGE = (24, 32, 42)
SCREEN_TOP = (33, 150, 243)
SCREEN_BOTTOM = (0, 188, 170)
WHITE = (255, 255, 255)


def rounded_rect(x, y, left, top, right, bottom, radius):
    """Whether (x, y) lies inside the rounded rectangle."""
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def globe_stroke(x, y, cx, cy, r, width):
    """Whether (x, y) lies on the outline, meridians or parallels of a globe."""
    dx, dy = x - cx, y - cy
    dist = math.hypot(dx, dy)
    if dist > r + width / 2:
        return False
    if abs(dist - r) <= width / 2:
        return True
    if dist > r:
        return False
    if abs(dx) <= width / 2 or abs(dy) <= width / 2:
        return True
    # A meridian seen at an angle: an ellipse half as wide as the globe.
    if abs((dx / (r * 0.5)) ** 2 + (dy / r) ** 2 - 1) <= width / (r * 0.5):
        return True
    for latitude in (-0.5, 0.5):
        if abs(dy - latitude * r) <= width / 2:
            return True
    return False


def shade(u, v):
    """Colour and opacity at the unit-square point (u, v); None outside."""
    if not rounded_rect(u, v, 0.20, 0.04, 0.80, 0.96, 0.10):
        return None
    if not rounded_rect(u, v, 0.22, 0.06, 0.78, 0.94, 0.085):
        return BODY_EDGE
    # Speaker slot and home button.
    if rounded_rect(u, v, 0.42, 0.095, 0.58, 0.115, 0.01):
        return (90, 104, 120)
    if math.hypot(u - 0.5, v - 0.875) <= 0.04:
        return (90, 104, 120)
    if rounded_rect(u, v, 0.27, 0.15, 0.73, 0.80, 0.02):
        if globe_stroke(u, v, 0.5, 0.475, 0.17, 0.035):
            return WHITE
        t = (v - 0.15) / 0.65
        return tuple(round(a + (b - a) * t) for a, b in zip(SCREEN_TOP, SCREEN_BOTTOM))
    return BODY


def render(size):
    """Rows of (b, g, r, a) from top to bottom."""
    rows = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = []
        for px in range(size):
            red = green = blue = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (px * SAMPLES + sx + 0.5) * step
                    v = (py * SAMPLES + sy + 0.5) * step
                    colour = shade(u, v)
                    if colour is not None:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        covered += 1
            if covered:
                row.append((blue // covered, green // covered, red // covered,
                            round(255 * covered / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    rows = render(size)
    pixels = b"".join(bytes(channel for pixel in row for channel in pixel) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + bytes(mask)


def main(path):
    images = [dib(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
