#!/usr/bin/env python3
"""Writes the picture and animation examples: a grey logo in the phone's four
greys on white, and a four-frame winking face with its animation description.
Run from the repository root; the files land in examples/."""
import struct
import zlib
from pathlib import Path

WHITE, GREYS = 255, (194, 160, 125, 0)


def png_grey(path, rows):
    """An 8-bit greyscale PNG of the given rows of levels."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    Path(path).write_bytes(data)


def logo():
    """120 x 80: a frame in the darkest grey, stripes of the three lighter greys."""
    width, height = 120, 80
    rows = [[WHITE] * width for _ in range(height)]
    for y in range(8, 72):
        for x in range(10, 110):
            edge = y < 12 or y >= 68 or x < 14 or x >= 106
            rows[y][x] = GREYS[3] if edge else GREYS[(x // 12) % 3]
    return rows


def face(frame):
    """16 x 16, black on white: a round face whose right eye closes and opens."""
    rows = [[WHITE] * 16 for _ in range(16)]
    for y in range(16):
        for x in range(16):
            d = (x - 7.5) ** 2 + (y - 7.5) ** 2
            if 42 <= d <= 64:
                rows[y][x] = 0
    openness = (2, 1, 0, 1)[frame]
    for y in range(5 - openness // 2, 6 + (openness + 1) // 2):
        rows[y][5] = 0
    for y in range(5 - openness // 2, 6 + (openness + 1) // 2) if openness else [6]:
        rows[y][10] = 0
    if not openness:
        rows[6][9] = rows[6][11] = 0
    for x in range(5, 11):
        rows[11][x] = 0
    rows[10][4] = rows[10][11] = 0
    return rows


def main():
    out = Path("examples")
    png_grey(out / "logo.png", logo())
    frames = []
    for i in range(4):
        name = "wink%d.png" % (i + 1)
        png_grey(out / name, face(i))
        frames.append('    <FRAME REF="%s" DELAY="%d"/>' % (name, 400 if i in (0, 3) else 150))
    (out / "wink.anim").write_text('<?xml version="1.0" encoding="UTF-8"?>\n<ANIMATION>\n' +
                                   "\n".join(frames) + "\n</ANIMATION>\n")


if __name__ == "__main__":
    main()
