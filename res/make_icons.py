#!/usr/bin/env python3
"""Turns the text pixel art in res/icons/ into .ico files, or into a PNG contact sheet for review.

An icon source holds header lines and one grid per image:

    # comment
    depth 8                 bits per pixel of every image: 8 (256 colours) or 4 (16 colours)
    image                   the next lines, up to a blank line, are one square grid (16 or 32 rows)
    ....KKKK....

Each grid character is a symbol of the palette legend (palette.txt beside the icons); "." is
transparent. A 4-bit icon may use only the sixteen standard colours, so that it looks the same on
a 16-colour display.

    make_icons.py --palette P --ico-dir DIR SRC...    writes DIR/<name>.ico for each SRC
    make_icons.py --palette P --sheet OUT.png SRC...  draws every image at 8x, 2x and 1x
    make_icons.py --palette P --png-dir DIR SRC...    writes DIR/<size>/<name>.png for desktops:
                                                      each image, and the largest at 2x and 4x
"""

import argparse
import os
import struct
import sys
import zlib

TRANSPARENT = "."
# The sixteen colours every 16-colour display shows, in their usual palette order.
STANDARD_16 = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
]


class IconError(Exception):
    pass


def read_palette(path):
    palette = {}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            parts = line.split()
            if len(parts) != 2 or len(parts[0]) != 1 or len(parts[1]) != 6:
                raise IconError(f"{path}:{number}: expected 'SYMBOL RRGGBB'")
            if parts[0] == TRANSPARENT or parts[0] in palette:
                raise IconError(f"{path}:{number}: symbol '{parts[0]}' already taken")
            palette[parts[0]] = int(parts[1], 16)
    return palette


def read_icon(path, palette):
    depth = None
    images = []
    grid = None
    with open(path, encoding="ascii") as f:
        lines = f.read().splitlines()
    for number, raw in enumerate(lines + [""], 1):
        line = raw.rstrip()
        if grid is not None:
            if line:
                bad = [c for c in line if c != TRANSPARENT and c not in palette]
                if bad:
                    raise IconError(f"{path}:{number}: unknown symbol '{bad[0]}'")
                grid.append(line)
                continue
            images.append(check_grid(path, grid))
            grid = None
            continue
        if not line or line.startswith("#"):
            continue
        if line == "image":
            grid = []
        elif line.startswith("depth "):
            depth = int(line.split()[1])
        else:
            raise IconError(f"{path}:{number}: unexpected '{line}'")
    if depth not in (4, 8):
        raise IconError(f"{path}: 'depth 4' or 'depth 8' is required")
    if not images:
        raise IconError(f"{path}: no image")
    if len({len(g) for g in images}) != len(images):
        raise IconError(f"{path}: two images of the same size")
    return depth, images


def check_grid(path, grid):
    size = len(grid)
    if size not in (16, 32) or any(len(row) != size for row in grid):
        raise IconError(f"{path}: an image must be 16x16 or 32x32, found {size} rows of "
                        f"{sorted({len(r) for r in grid})} columns")
    return grid


def colour_table(depth, images, palette, path):
    """Palette of the icon's DIBs; index 0 is black so that transparent pixels XOR to nothing."""
    used = sorted({palette[c] for grid in images for row in grid for c in row if c != TRANSPARENT})
    if depth == 4:
        odd = [c for c in used if c not in STANDARD_16]
        if odd:
            raise IconError(f"{path}: a 16-colour icon cannot use {odd[0]:06X}")
        return list(STANDARD_16)
    table = [0x000000] + [c for c in used if c != 0x000000]
    if len(table) > 256:
        raise IconError(f"{path}: more than 256 colours")
    return table + [0] * (256 - len(table))


def pack_rows(rows, bits):
    """Bottom-up DIB rows of 'bits' bits per value, each padded to four bytes."""
    out = bytearray()
    for row in reversed(rows):
        acc = 0
        for value in row:
            acc = (acc << bits) | value
        nbits = len(row) * bits
        nbytes = (nbits + 31) // 32 * 4
        out += (acc << (nbytes * 8 - nbits)).to_bytes(nbytes, "big")
    return bytes(out)


def dib(grid, depth, table, palette):
    size = len(grid)
    index = {c: i for i, c in reversed(list(enumerate(table)))}
    xor = [[0 if c == TRANSPARENT else index[palette[c]] for c in row] for row in grid]
    mask = [[1 if c == TRANSPARENT else 0 for c in row] for row in grid]
    bits = pack_rows(xor, depth) + pack_rows(mask, 1)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0, len(bits), 0, 0, 0, 0)
    colours = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in table)
    return header + colours + bits


def ico_bytes(depth, images, palette, path):
    table = colour_table(depth, images, palette, path)
    # Larger images first, as icon editors write them.
    images = sorted(images, key=len, reverse=True)
    blobs = [dib(grid, depth, table, palette) for grid in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for grid, blob in zip(images, blobs):
        colours = 0 if depth >= 8 else 1 << depth
        out += struct.pack("<BBBBHHII", len(grid), len(grid), colours, 0, 1, depth, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# Contact sheet ----------------------------------------------------------------------------------

BUTTON_FACE = 0xC0C0C0
CHECKER = (0xFFFFFF, 0xE0E0E0)
LABEL = 0x000000
# 3x5 digits and letters for labelling each icon with its file name.
GLYPHS = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111", "3": "111001111001111",
    "4": "101101111001001", "5": "111100111001111", "6": "111100111101111", "7": "111001001001001",
    "8": "111101111101111", "9": "111101111001111", "_": "000000000000111", "-": "000000111000000",
}
for letter, bits in {
    "a": "010101111101101", "b": "110101110101110", "c": "011100100100011", "d": "110101101101110",
    "e": "111100110100111", "f": "111100110100100", "g": "011100101101011", "h": "101101111101101",
    "i": "111010010010111", "j": "001001001101010", "k": "101101110101101", "l": "100100100100111",
    "m": "101111111101101", "n": "110101101101101", "o": "010101101101010", "p": "110101110100100",
    "q": "010101101110011", "r": "110101110101101", "s": "011100010001110", "t": "111010010010010",
    "u": "101101101101111", "v": "101101101101010", "w": "101101111111101", "x": "101101010101101",
    "y": "101101010010010", "z": "111001010100111",
}.items():
    GLYPHS[letter] = bits


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def fill(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            self.pixels[yy][x:x + w] = [colour] * w

    def text(self, x, y, s, scale=2):
        for ch in s.lower():
            bits = GLYPHS.get(ch)
            if bits:
                for i, bit in enumerate(bits):
                    if bit == "1":
                        self.fill(x + (i % 3) * scale, y + (i // 3) * scale, scale, scale, LABEL)
            x += 4 * scale

    def png(self):
        raw = b"".join(b"\0" + b"".join(struct.pack(">I", c)[1:] for c in row) for row in self.pixels)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def draw(canvas, x, y, grid, palette, scale, background=None):
    for row_index, row in enumerate(grid):
        for col, c in enumerate(row):
            if c != TRANSPARENT:
                colour = palette[c]
            elif background is not None:
                colour = background
            else:
                colour = CHECKER[(row_index + col) % 2]
            canvas.fill(x + col * scale, y + row_index * scale, scale, scale, colour)


def contact_sheet(icons, palette, columns=4):
    """A grid of cells: each image at 8x on a checkerboard (transparency shows), then at 2x and 1x
    on a button face with its name, to judge it at the size it is shown."""
    cells = [(name, grid) for name, (_, images) in icons for grid in images]
    cell_w = 32 * 8 + 24
    rows = [cells[i:i + columns] for i in range(0, len(cells), columns)]
    heights = [max(len(g) for _, g in row) * 10 + 32 for row in rows]
    canvas = Canvas(16 + cell_w * min(columns, len(cells)), 16 + sum(heights), BUTTON_FACE)
    y = 16
    for row, height in zip(rows, heights):
        for i, (name, grid) in enumerate(row):
            x = 16 + i * cell_w
            size = len(grid)
            draw(canvas, x, y, grid, palette, 8)
            below = y + size * 8 + 8
            draw(canvas, x, below, grid, palette, 2, BUTTON_FACE)
            draw(canvas, x + size * 2 + 8, below, grid, palette, 1, BUTTON_FACE)
            canvas.text(x + size * 3 + 16, below, f"{name} {size}")
        y += height
    return canvas.png()


def rgba_png(grid, palette, scale):
    """One image as a PNG with real transparency, each pixel drawn as a scale x scale block."""
    rows = []
    for row in grid:
        line = b"".join(b"\0\0\0\0" if c == TRANSPARENT else struct.pack(">I", palette[c] << 8 | 0xFF)
                        for c in row for _ in range(scale))
        rows += [b"\0" + line] * scale
    size = len(grid) * scale

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def desktop_pngs(name, images, palette):
    """(size, png) for each image, plus the largest scaled up for the bigger desktop icon sizes."""
    largest = max(images, key=len)
    out = [(len(g), rgba_png(g, palette, 1)) for g in images]
    out += [(len(largest) * k, rgba_png(largest, palette, k)) for k in (2, 4)]
    return out


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--palette", required=True)
    parser.add_argument("--ico-dir")
    parser.add_argument("--sheet")
    parser.add_argument("--png-dir")
    parser.add_argument("sources", nargs="+")
    args = parser.parse_args(argv)
    if not args.ico_dir and not args.sheet and not args.png_dir:
        parser.error("give --ico-dir, --sheet or --png-dir")
    try:
        palette = read_palette(args.palette)
        icons = [(os.path.splitext(os.path.basename(s))[0], read_icon(s, palette)) for s in args.sources]
        outputs = []
        if args.ico_dir:
            os.makedirs(args.ico_dir, exist_ok=True)
            for (name, (depth, images)), source in zip(icons, args.sources):
                outputs.append((os.path.join(args.ico_dir, name + ".ico"),
                                ico_bytes(depth, images, palette, source)))
        if args.sheet:
            outputs.append((args.sheet, contact_sheet(icons, palette)))
        if args.png_dir:
            for name, (_, images) in icons:
                for size, png in desktop_pngs(name, images, palette):
                    folder = os.path.join(args.png_dir, f"{size}x{size}")
                    os.makedirs(folder, exist_ok=True)
                    outputs.append((os.path.join(folder, name + ".png"), png))
    except IconError as error:
        print(f"make_icons: {error}", file=sys.stderr)
        return 1
    # Nothing is written unless every source is sound, so a bad grid never leaves stale icons.
    for path, data in outputs:
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
