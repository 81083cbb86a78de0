#!/usr/bin/env python3
"""Draws the skin test program's pictures and writes them beside its sources.

- TestZOLUILib/res/TestZOLUILib.ico: the application icon in 48, 32 and 16
  pixels, each at 16 colours, 256 colours and 24-bit colour (nine images).
- TestZOLUILib/Skins/Coolbar/ImageCoolbarBar.bmp and ImageCoolbarItem.bmp:
  the menu bar background and highlighted item of the ImageCoolbar skin.

Everything is computed here, deterministically: run it again and the files
come out byte for byte the same.
"""

import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAM = os.path.join(ROOT, "TestZOLUILib")

SUPERSAMPLING = 4

VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

def palette_256():
    """A 6x6x6 colour cube, then the 16 VGA colours, then greys."""
    levels = [0, 51, 102, 153, 204, 255]
    colours = [(r, g, b) for r in levels for g in levels for b in levels]
    colours += VGA_PALETTE
    grey = 8
    while len(colours) < 256:
        colours.append((grey, grey, grey))
        grey += 6
    return colours


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def inside_rounded_square(x, y, margin, radius):
    """Whether (x, y), in units of the icon's side, lies in the rounded square."""
    lo, hi = margin, 1.0 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def icon_sample(x, y):
    """The icon's colour at (x, y), or None where it is transparent: a blue
    tile holding a small skinned window with an orange caption and a menu bar."""
    if not inside_rounded_square(x, y, 0.03, 0.18):
        return None
    colour = lerp((58, 128, 226), (18, 52, 124), y)
    left, top, right, bottom = 0.17, 0.22, 0.83, 0.80
    outline = 0.045
    if left - outline <= x <= right + outline and top - outline <= y <= bottom + outline:
        colour = (12, 28, 64)
        if left <= x <= right and top <= y <= bottom:
            if y < 0.37:
                colour = lerp((255, 168, 40), (236, 96, 16), (y - top) / 0.15)
            elif y < 0.47:
                colour = (214, 222, 234)
            else:
                colour = (250, 251, 253)
                if 0.25 <= x <= 0.75 and any(abs(y - line) < 0.03 for line in (0.57, 0.66)):
                    colour = (150, 168, 196)
    return colour


def render(size, sample):
    """Rows of (colour, opaque) pixels, top row first, supersampled."""
    rows = []
    n = SUPERSAMPLING
    for py in range(size):
        row = []
        for px in range(size):
            covered = []
            for sy in range(n):
                for sx in range(n):
                    c = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        covered.append(c)
            if len(covered) * 2 >= n * n:
                colour = tuple(round(sum(c[i] for c in covered) / len(covered)) for i in range(3))
                row.append((colour, True))
            else:
                row.append(((0, 0, 0), False))
        rows.append(row)
    return rows


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def quantise(rows, palette):
    """Palette indices per pixel, each the nearest palette colour."""
    return [[nearest(palette, colour) if opaque else 0 for colour, opaque in row] for row in rows]


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def pack_bits(values, bits):
    """Packs small integers MSB first into bytes."""
    out = bytearray()
    acc, count = 0, 0
    for v in values:
        acc = (acc << bits) | v
        count += bits
        if count == 8:
            out.append(acc)
            acc, count = 0, 0
    if count:
        out.append(acc << (8 - count))
    return bytes(out)


def icon_image(size, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour rows and mask rows."""
    rows = render(size, icon_sample)
    palette = {4: VGA_PALETTE, 8: palette_256(), 24: []}[bits]
    indices = quantise(rows, palette) if palette else None

    colour_rows = []
    for y in reversed(range(size)):  # bottom-up
        if bits == 24:
            line = b"".join(bytes((c[2], c[1], c[0])) for c, _ in rows[y])
        else:
            line = pack_bits(indices[y], bits)
        colour_rows.append(padded(line))
    mask_rows = [padded(pack_bits([0 if opaque else 1 for _, opaque in rows[y]], 1))
                 for y in reversed(range(size))]

    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, len(pixels), 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + pixels


def write_icon(path):
    images = [(size, bits) for size in (48, 32, 16) for bits in (4, 8, 24)]
    blobs = [icon_image(size, bits) for size, bits in images]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for (size, bits), blob in zip(images, blobs):
        colour_count = 16 if bits == 4 else 0
        entries += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(directory + entries + b"".join(blobs))


def write_bmp(path, width, height, pixel):
    """A 24-bit BMP; pixel(x, y) gives the colour, y = 0 at the top."""
    rows = [padded(b"".join(bytes(reversed(pixel(x, y))) for x in range(width)))
            for y in reversed(range(height))]
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


def brushed_steel(width, height):
    """Steel with grain that stays the same along a row (stretched sideways it
    reads as brushed metal), a bright top edge and a blue bottom rim. A fixed
    linear congruential sequence makes the grain."""
    seed = 12345
    grain = []
    for _ in range(height):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        grain.append((seed >> 16) % 29 - 14)

    def pixel(x, y):
        if y == 0:
            return (255, 255, 255)
        if y >= height - 3:
            return (40, 96, 180) if y < height - 1 else (20, 48, 100)
        base = lerp((232, 236, 241), (150, 158, 170), y / (height - 4))
        return tuple(min(255, max(0, c + grain[y])) for c in base)

    return pixel


def glossy_item(width, height):
    """A blue button with a bright upper half and a dark rim."""
    def pixel(x, y):
        if x in (0, width - 1) or y in (0, height - 1):
            return (16, 48, 112)
        if y < height // 2:
            return lerp((150, 200, 255), (84, 148, 232), y / (height / 2))
        return lerp((32, 96, 200), (60, 130, 228), (y - height / 2) / (height / 2))

    return pixel


def main():
    write_icon(os.path.join(PROGRAM, "res", "TestZOLUILib.ico"))
    coolbar = os.path.join(PROGRAM, "Skins", "Coolbar")
    write_bmp(os.path.join(coolbar, "ImageCoolbarBar.bmp"), 64, 28, brushed_steel(64, 28))
    write_bmp(os.path.join(coolbar, "ImageCoolbarItem.bmp"), 48, 24, glossy_item(48, 24))


if __name__ == "__main__":
    main()
