#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

The icon is a speaker with two sound waves on a blue rounded square, at
16, 32 and 48 pixels, each with the 1-bit mask that Windows XP needs. 16 and
32, the title bar, taskbar and desktop sizes, are 32-bit images with alpha.
48, seen only in Explorer's Tiles view, is 256 colours: its drawing has
fewer, so every colour is kept and only the soft outer edge goes, at a
third of the bytes. Only the standard library is used, so the build needs
nothing beyond Python itself.

Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

# (pixels, bits per pixel)
IMAGES = ((16, 32), (32, 32), (48, 8))


def in_round_rect(x, y, l, t, r, b, rad):
    if x < l or x > r or y < t or y > b:
        return False
    cx = min(max(x, l + rad), r - rad)
    cy = min(max(y, t + rad), b - rad)
    return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad


def in_speaker(x, y):
    if 0.17 <= x <= 0.34 and 0.37 <= y <= 0.63:
        return True
    if 0.34 <= x <= 0.53:
        half = 0.13 + (x - 0.34) / 0.19 * 0.19
        return abs(y - 0.5) <= half
    return False


def in_wave(x, y):
    dx, dy = x - 0.50, y - 0.5
    if dx <= 0:
        return False
    if abs(math.atan2(dy, dx)) > math.radians(52):
        return False
    d = math.hypot(dx, dy)
    return any(abs(d - r) <= 0.04 for r in (0.17, 0.30))


def shade(x, y):
    """Colour (r, g, b) at a point inside the background, or None outside."""
    if not in_round_rect(x, y, 0.02, 0.02, 0.98, 0.98, 0.2):
        return None
    if not in_round_rect(x, y, 0.07, 0.07, 0.93, 0.93, 0.16):
        return (18, 48, 128)  # rim
    if in_speaker(x, y):
        return (255, 255, 255)
    if in_wave(x, y):
        return (255, 214, 96)
    top, bottom = (84, 146, 236), (22, 66, 170)
    return tuple(int(a + (b - a) * y) for a, b in zip(top, bottom))


def render(size):
    """Rows of (r, g, b, a) from the top, supersampled for smooth edges."""
    n = 6 if size < 32 else 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits:
                row.append((acc[0] // hits, acc[1] // hits, acc[2] // hits, 255 * hits // (n * n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def mask_bits(rows, opaque):
    """The AND mask, bottom-up: 1 where the screen shows through."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            if not opaque(px):
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return bytes(mask)


def palette_of(colours):
    """At most 256 colours, black first (what a masked-out pixel holds):
    exact when the drawing has few enough, else with the low bits dropped."""
    for drop in range(8):
        keep = 0xFF & ~((1 << drop) - 1)
        table = sorted({tuple(c & keep for c in rgb) for rgb in colours} - {(0, 0, 0)})
        if len(table) < 256:
            return [(0, 0, 0)] + table, keep
    raise ValueError("no palette of 256 colours")


def icon_image(size, bits):
    rows = render(size)
    if bits == 32:
        xor = bytearray()
        for row in reversed(rows):  # bottom-up
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask = mask_bits(rows, lambda px: px[3] > 0)
        table = b""
    else:
        # No alpha: a pixel is drawn when at least half of it is covered.
        def opaque(px):
            return px[3] >= 128

        colours, keep = palette_of([px[:3] for row in rows for px in row if opaque(px)])
        index = {rgb: i for i, rgb in enumerate(colours)}
        stride = (size + 3) & ~3
        xor = bytearray()
        for row in reversed(rows):
            line = bytearray(stride)
            for x, px in enumerate(row):
                if opaque(px):
                    line[x] = index[tuple(c & keep for c in px[:3])]
            xor += line
        mask = mask_bits(rows, opaque)
        colours += [(0, 0, 0)] * (256 - len(colours))
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + table + bytes(xor) + mask


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    images = [icon_image(size, bits) for size, bits in IMAGES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, bits), data in zip(IMAGES, images):
        colours = 1 << bits if bits < 8 else 0  # the entry's colour count: 0 for 256 or more
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(argv[1], "wb") as f:
        f.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
