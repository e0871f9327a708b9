#!/usr/bin/python3
"""Draws the application icon and writes it as a multi-image .ico file.

    make_icon.py [OUTPUT]        default: zemclientui.ico next to this script

The picture is a blue shield with a white check mark. Each size is rendered from the same vector
description with 4x4 supersampling; the 32-bit images keep the antialiased alpha, the 8-bit and
4-bit images get a palette of their own (median cut) and a hard 1-bit mask. The output is fully
deterministic, so regenerating the committed file gives the same bytes.
"""

import math
import struct
import sys
from pathlib import Path

SIZES = (64, 48, 32, 16)
BIT_COUNTS = (32, 8, 4)
SUPERSAMPLE = 4

# Shield geometry in unit coordinates (0..1, y down).
SHIELD_TOP = 0.07
SHIELD_SHOULDER = 0.50
SHIELD_TIP = 0.95
SHIELD_HALF_WIDTH = 0.40
SHIELD_CORNER = 0.10
OUTLINE = 0.055
CHECK_POINTS = ((0.29, 0.50), (0.44, 0.66), (0.72, 0.33))
CHECK_HALF_WIDTH = 0.065

OUTLINE_COLOR = (20, 46, 102)
FILL_TOP = (78, 152, 236)
FILL_BOTTOM = (26, 82, 178)
CHECK_COLOR = (255, 255, 255)


def shield_half_width(y, inset):
    """Half width of the shield at height y, shrunk by inset; negative outside."""
    top = SHIELD_TOP + inset
    tip = SHIELD_TIP - inset * 1.6
    if y < top or y > tip:
        return -1.0
    half = SHIELD_HALF_WIDTH - inset
    if y <= SHIELD_SHOULDER:
        radius = SHIELD_CORNER
        if y < top + radius:
            dy = top + radius - y
            return half - radius + math.sqrt(max(radius * radius - dy * dy, 0.0))
        return half
    t = (y - SHIELD_SHOULDER) / (tip - SHIELD_SHOULDER)
    return half * math.cos(t * math.pi / 2) ** 0.75


def inside_shield(x, y, inset=0.0):
    return abs(x - 0.5) <= shield_half_width(y, inset)


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def on_check(x, y):
    distance = min(segment_distance(x, y, CHECK_POINTS[i], CHECK_POINTS[i + 1])
                   for i in range(len(CHECK_POINTS) - 1))
    return distance <= CHECK_HALF_WIDTH


def sample_color(x, y):
    """Colour of one sample point, or None when it is outside the picture."""
    if not inside_shield(x, y):
        return None
    if not inside_shield(x, y, OUTLINE):
        return OUTLINE_COLOR
    if on_check(x, y):
        return CHECK_COLOR
    t = (y - SHIELD_TOP) / (SHIELD_TIP - SHIELD_TOP)
    return tuple(round(top + (bottom - top) * t) for top, bottom in zip(FILL_TOP, FILL_BOTTOM))


def render(size):
    """Rows top to bottom of (red, green, blue, alpha) pixels."""
    rows = []
    samples = SUPERSAMPLE * SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) / size
                    y = (py + (sy + 0.5) / SUPERSAMPLE) / size
                    color = sample_color(x, y)
                    if color is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += color[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = tuple((total[i] + covered // 2) // covered for i in range(3))
                row.append(rgb + ((covered * 255 + samples // 2) // samples,))
        rows.append(row)
    return rows


def median_cut(colors, count):
    """Reduces a list of RGB colours to at most count representative colours."""
    boxes = [sorted(set(colors))]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: (max(_channel_ranges(b)), len(b), b[0]))
        ranges = _channel_ranges(box)
        channel = ranges.index(max(ranges))
        box.sort(key=lambda c: (c[channel], c))
        half = len(box) // 2
        boxes.remove(box)
        boxes += [box[:half], box[half:]]
    palette = []
    for box in boxes:
        palette.append(tuple(sum(c[i] for c in box) // len(box) for i in range(3)))
    return sorted(palette)


def _channel_ranges(box):
    return [max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)]


def nearest(palette, color):
    return min(range(len(palette)),
               key=lambda i: (sum((palette[i][k] - color[k]) ** 2 for k in range(3)), i))


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def and_mask(rows, size):
    """1-bit mask, bottom row first: 1 where the screen shows through."""
    stride = row_stride(size, 1)
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def encode_true_color(rows, size):
    data = bytearray()
    for row in reversed(rows):
        for red, green, blue, alpha in row:
            data += bytes((blue, green, red, alpha))
    return b"", bytes(data)


def encode_paletted(rows, size, bits):
    # Entry 0 stays black: under a set mask bit the image colour must be 0 to be transparent.
    # The outline and the check mark keep their exact colours; the rest shares what is left.
    fixed = [(0, 0, 0), OUTLINE_COLOR, CHECK_COLOR]
    opaque = [p[:3] for row in rows for p in row if p[3] >= 128 and p[:3] not in fixed]
    palette = fixed + median_cut(opaque, (1 << bits) - len(fixed))
    palette += [(0, 0, 0)] * ((1 << bits) - len(palette))
    lookup = {}
    stride = row_stride(size, bits)
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            index = 0
            if pixel[3] >= 128:
                color = pixel[:3]
                if color not in lookup:
                    lookup[color] = nearest(palette, color)
                index = lookup[color]
            if bits == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += line
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return table, bytes(data)


def encode_image(rows, size, bits):
    if bits == 32:
        table, pixels = encode_true_color(rows, size)
    else:
        table, pixels = encode_paletted(rows, size, bits)
    mask = and_mask(rows, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(pixels) + len(mask),
                         0, 0, 0, 0)
    return header + table + pixels + mask


def build_icon():
    images = []
    for size in SIZES:
        rows = render(size)
        for bits in BIT_COUNTS:
            images.append((size, bits, encode_image(rows, size, bits)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        color_count = 16 if bits == 4 else 0
        entries += struct.pack("<BBBBHHII", size, size, color_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name(
        "zemclientui.ico")
    target.write_bytes(build_icon())
    return 0


if __name__ == "__main__":
    sys.exit(main())
