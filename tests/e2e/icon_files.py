"""Icon files made by the tests: 32-bit .ico images with alpha, in the one shape the product
decodes, written to a temporary directory."""

import struct
from pathlib import Path


def _blue(x, y):
    return (40, 120, 200, 255)


def ico_bytes(width, height, pixel=_blue):
    """A one-image .ico: width x height at 32 bits per pixel; pixel(x, y) gives (r, g, b, a) with
    y counted from the top."""
    rows = []
    for stored_row in range(height):  # bottom row first
        y = height - 1 - stored_row
        rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in
                             (pixel(x, y) for x in range(width))))
    mask_row = ((width + 31) // 32) * 4
    image = (struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
             + b"".join(rows) + bytes(mask_row * height))
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), 22)
    return header + entry + image


def write_icon(directory, name="picture.ico", width=32, height=32, pixel=_blue):
    path = Path(directory) / name
    path.write_bytes(ico_bytes(width, height, pixel))
    return path
