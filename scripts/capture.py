#!/usr/bin/python3
"""Saves a PNG of one dialog, frame included, exactly as Wine draws it on the screen.

    capture.py --state DIR --title T --out FILE.png [--owner-class NAME]

DIR is a running session of scripts/wine_harness.py. The dialog is copied from the screen by
zemdriver (the product's dialogs are topmost, so nothing covers them) as a 32-bit BMP, which is
converted here with the standard library alone. Used as a module by scripts/screenshots.py and
scripts/run_example.py.
"""

import argparse
import struct
import sys
import tempfile
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import zemtest  # noqa: E402


def bmp_to_rgb(data):
    """(width, height, rows) of an uncompressed 32- or 24-bit BMP; rows top first, RGB bytes."""
    if data[:2] != b"BM":
        raise ValueError("not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    # BI_BITFIELDS with 32 bits is the usual BGRA layout GDI writes too.
    if bits not in (24, 32) or compression not in (0, 3):
        raise ValueError(f"unsupported BMP: {bits} bits, compression {compression}")
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for y in range(abs(height)):
        # A positive height stores the bottom row first.
        stored = abs(height) - 1 - y if height > 0 else y
        start = offset + stored * stride
        row = bytearray(width * 3)
        row[0::3] = data[start + 2:start + width * step:step]  # R
        row[1::3] = data[start + 1:start + width * step:step]  # G
        row[2::3] = data[start:start + width * step:step]      # B
        rows.append(bytes(row))
    return width, abs(height), rows


def png_bytes(width, height, rows):
    """An 8-bit RGB PNG of rows (top first, 3 bytes a pixel)."""
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)  # filter type 0 on every row
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def png_rows(data):
    """(width, height, rows) of a PNG that png_bytes wrote (8-bit RGB, every row unfiltered)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    at, header, compressed = 8, None, b""
    while at < len(data):
        length, = struct.unpack_from(">I", data, at)
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        at += 12 + length
    width, height, depth, colour, *_ = header
    if (depth, colour) != (8, 2):
        raise ValueError("not an 8-bit RGB PNG")
    raw, stride = zlib.decompress(compressed), 1 + 3 * width
    rows = [raw[y * stride:(y + 1) * stride] for y in range(height)]
    if any(row[0] != 0 for row in rows):
        raise ValueError("a filtered row: not written by png_bytes")
    return width, height, [row[1:] for row in rows]


def bmp_to_png(data):
    return png_bytes(*bmp_to_rgb(data))


def use_session(state):
    """Points the driver at the Wine session in state (a wine_harness.py state directory)."""
    zemtest.WINE_STATE = Path(state).resolve()
    zemtest._session = None
    # A driver server sees the windows of its own session only: the next command starts one in
    # the new session.
    for server in zemtest.DriverServer._servers.values():
        if server.proc is not None:
            zemtest.DriverServer._stop(server.proc)
    zemtest.DriverServer._servers.clear()


def caption_bytes(title):
    """The caption as the driver matches it, in the session's code page (1252: characters it
    does not hold read back as "?")."""
    return title if isinstance(title, bytes) else title.encode("cp1252", "replace")


def capture(title, out, owner_class=None, driver=None):
    """Saves the visible window titled `title` as the PNG `out`; returns (width, height)."""
    driver = driver or zemtest.Driver()
    out = Path(out)
    out.parent.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        bmp = Path(scratch) / "window.bmp"
        owner = ["--owner-class", owner_class] if owner_class else []
        driver.run("screenshot", *driver._title(caption_bytes(title)), "--out",
                   zemtest._windows_path(bmp), "--method", "screen", *owner)
        width, height, rows = bmp_to_rgb(bmp.read_bytes())
    out.write_bytes(png_bytes(width, height, rows))
    return width, height


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--state", required=True, help="state directory of the Wine session")
    parser.add_argument("--title", required=True, help="the dialog's caption")
    parser.add_argument("--out", required=True, help="PNG file to write")
    parser.add_argument("--owner-class", help="only a window whose owner has this class")
    options = parser.parse_args()
    use_session(options.state)
    width, height = capture(options.title, options.out, options.owner_class)
    print(f"{options.out}: {width} x {height}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
