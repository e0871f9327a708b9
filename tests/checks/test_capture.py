"""The screenshot converter: a bottom-up BGRA bitmap becomes a top-down RGB PNG."""

import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts"))
import capture  # noqa: E402


def test_two_by_two_bitmap_converts_to_png_with_the_same_pixels():
    top = [(255, 0, 0), (0, 255, 0)]        # red, green
    bottom = [(0, 0, 255), (255, 255, 255)]  # blue, white
    pixels = b"".join(bytes((b, g, r, 0x80)) for r, g, b in bottom + top)  # bottom row first
    bmp = (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
           + struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 32, 0, len(pixels), 0, 0, 0, 0) + pixels)

    png = capture.bmp_to_png(bmp)

    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    chunks, at = {}, 8
    while at < len(png):
        length, kind = struct.unpack_from(">I4s", png, at)
        body = png[at + 8:at + 8 + length]
        assert struct.unpack_from(">I", png, at + 8 + length)[0] == zlib.crc32(kind + body)
        chunks[kind] = chunks.get(kind, b"") + body
        at += 12 + length
    assert struct.unpack(">IIBBBBB", chunks[b"IHDR"]) == (2, 2, 8, 2, 0, 0, 0)  # 8-bit RGB
    rows = zlib.decompress(chunks[b"IDAT"])
    expected = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in (top, bottom))
    assert rows == expected
    assert b"IEND" in chunks
