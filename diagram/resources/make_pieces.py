#!/usr/bin/env python3
"""Builds Pandrel's built-in pieces bitmap (pieces.bmp) from pieces_art.txt.

Layout: 13 columns x 2 rows of 15 x 15 cells, 195 x 30 pixels, 16 colours.
Column 0 is the empty square; columns 1..12 follow the piece letters
"pPnNbBrRqQkK" (lower case Black, upper case White). Row 0 draws on light
squares, row 1 on dark squares.

Usage: make_pieces.py [ART_FILE [BMP_FILE]]
Defaults are pieces_art.txt and pieces.bmp next to this script. Only the
standard library is used and the output is byte-for-byte deterministic, so the
committed bitmap can always be regenerated and compared.
"""

import os
import struct
import sys

CELL = 15
COLUMNS = 13
ROWS = 2
WIDTH = CELL * COLUMNS
HEIGHT = CELL * ROWS

# Piece letter order of the bitmap columns 1..12.
PIECE_LETTERS = "pPnNbBrRqQkK"
SHAPE_OF_LETTER = {"p": "pawn", "n": "knight", "b": "bishop", "r": "rook", "q": "queen", "k": "king"}

# The 16-entry palette as (red, green, blue). The first entries are the ones
# the pieces use; the rest are spare colours kept fixed so that the file
# never changes without a reason.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0  outline (black)
    (0xFF, 0xFF, 0xFF),  # 1  White piece body
    (0xEE, 0xE6, 0xCE),  # 2  light square (cream)
    (0x86, 0xA0, 0x7E),  # 3  dark square (grey-green)
    (0x3C, 0x3C, 0x3C),  # 4  Black piece body
    (0xA8, 0xA8, 0xA8),  # 5  Black piece highlight
    (0xD4, 0xD4, 0xD4),  # 6  White piece shade
    (0x60, 0x60, 0x60),  # 7  dark grey
    (0x80, 0x00, 0x00),  # 8  spare: dark red
    (0x00, 0x80, 0x00),  # 9  spare: dark green
    (0x00, 0x00, 0x80),  # 10 spare: dark blue
    (0xFF, 0x00, 0x00),  # 11 spare: red
    (0x00, 0xC0, 0x00),  # 12 spare: green
    (0x00, 0x00, 0xFF),  # 13 spare: blue
    (0xFF, 0xFF, 0x00),  # 14 spare: yellow
    (0x80, 0x80, 0x80),  # 15 spare: mid grey
]
LIGHT_SQUARE = 2
DARK_SQUARE = 3

# Palette index for each mask character, per side. '.' stays transparent.
WHITE_COLOURS = {"o": 0, "f": 1, "d": 0, "h": 6}
BLACK_COLOURS = {"o": 0, "f": 4, "d": 5, "h": 5}


def read_art(path):
    """Returns {shape name: list of 15 strings} parsed from the art file."""
    shapes = {}
    name = None
    with open(path, encoding="utf-8") as art:
        for number, raw in enumerate(art, 1):
            line = raw.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("[") and line.endswith("]"):
                name = line[1:-1].strip()
                if name in shapes:
                    raise ValueError(f"{path}:{number}: shape '{name}' defined twice")
                shapes[name] = []
                continue
            if name is None:
                raise ValueError(f"{path}:{number}: mask row before any [shape] line")
            if len(line) != CELL:
                raise ValueError(f"{path}:{number}: row must be {CELL} characters, got {len(line)}")
            bad = set(line) - set(".ofdh")
            if bad:
                raise ValueError(f"{path}:{number}: unknown mask characters {''.join(sorted(bad))}")
            if len(shapes[name]) == CELL:
                raise ValueError(f"{path}:{number}: shape '{name}' has more than {CELL} rows")
            shapes[name].append(line)
    for wanted in SHAPE_OF_LETTER.values():
        if wanted not in shapes:
            raise ValueError(f"{path}: shape '{wanted}' is missing")
        if len(shapes[wanted]) != CELL:
            raise ValueError(f"{path}: shape '{wanted}' has {len(shapes[wanted])} rows, needs {CELL}")
    return shapes


def build_pixels(shapes):
    """Returns the image as HEIGHT rows (top first) of WIDTH palette indexes."""
    pixels = []
    for row, square in enumerate((LIGHT_SQUARE, DARK_SQUARE)):
        band = [[square] * WIDTH for _ in range(CELL)]
        for column, letter in enumerate(PIECE_LETTERS, 1):
            mask = shapes[SHAPE_OF_LETTER[letter.lower()]]
            colours = WHITE_COLOURS if letter.isupper() else BLACK_COLOURS
            for y in range(CELL):
                for x in range(CELL):
                    ch = mask[y][x]
                    if ch != ".":
                        band[y][column * CELL + x] = colours[ch]
        pixels.extend(band)
    return pixels


def encode_bmp(pixels):
    """Encodes the rows as a 4 bpp BMP with a BITMAPINFOHEADER, bottom-up."""
    row_bytes = (WIDTH * 4 + 31) // 32 * 4
    data = bytearray()
    for line in reversed(pixels):
        packed = bytearray()
        for x in range(0, WIDTH, 2):
            high = line[x]
            low = line[x + 1] if x + 1 < WIDTH else 0
            packed.append(high << 4 | low)
        packed.extend(b"\0" * (row_bytes - len(packed)))
        data.extend(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info_header = struct.pack(
        "<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(data), 2835, 2835, len(PALETTE), 0
    )
    return file_header + info_header + palette + bytes(data)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    art_path = argv[1] if len(argv) > 1 else os.path.join(here, "pieces_art.txt")
    bmp_path = argv[2] if len(argv) > 2 else os.path.join(here, "pieces.bmp")
    try:
        shapes = read_art(art_path)
    except (OSError, ValueError) as error:
        print(f"make_pieces: {error}", file=sys.stderr)
        return 1
    with open(bmp_path, "wb") as out:
        out.write(encode_bmp(build_pixels(shapes)))
    print(f"make_pieces: wrote {bmp_path} ({WIDTH} x {HEIGHT}, 4 bpp)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
