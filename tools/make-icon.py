#!/usr/bin/env python3
"""Builds res/Ferrule.ico from the pixel map res/Ferrule.icon.txt.

The map has 32 lines of 32 characters. Each character is a hexadecimal digit
naming an entry of the standard 16-colour palette, or '.' for a transparent
pixel:

  0 black   1 maroon  2 green  3 olive   4 navy  5 purple   6 teal  7 silver
  8 grey    9 red     A lime   B yellow  C blue  D fuchsia  E aqua  F white

Usage:
  tools/make-icon.py            write res/Ferrule.ico
  tools/make-icon.py --check    exit 1 if res/Ferrule.ico differs from the map
"""

import argparse
import pathlib
import struct
import sys

SIZE = 32
TRANSPARENT = "."
PALETTE = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
]  # fmt: skip

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_MAP = ROOT / "res" / "Ferrule.icon.txt"
DEFAULT_ICO = ROOT / "res" / "Ferrule.ico"


class MapError(Exception):
    pass


def read_map(path):
    lines = path.read_text(encoding="ascii").splitlines()
    if len(lines) != SIZE:
        raise MapError(f"{path}: {len(lines)} lines, want {SIZE}")
    rows = []
    for number, line in enumerate(lines, 1):
        if len(line) != SIZE:
            raise MapError(f"{path}:{number}: {len(line)} characters, want {SIZE}")
        row = []
        for column, char in enumerate(line, 1):
            if char == TRANSPARENT:
                row.append(None)
            elif char in "0123456789ABCDEF":
                row.append(int(char, 16))
            else:
                raise MapError(f"{path}:{number}:{column}: unexpected {char!r}")
        rows.append(row)
    return rows


def icon_bytes(rows):
    colour = bytearray()
    mask = bytearray()
    # DIB rows run bottom-up.
    for row in reversed(rows):
        # A transparent pixel must be black in the colour half: the screen is
        # ANDed with the mask, then XORed with the colour.
        indexes = [0 if p is None else p for p in row]
        for left, right in zip(indexes[0::2], indexes[1::2]):
            colour.append(left << 4 | right)
        bits = 0
        for p in row:
            bits = bits << 1 | (p is None)
        mask += bits.to_bytes(SIZE // 8, "big")

    palette = b"".join(struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF, c >> 16, 0) for c in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare the .ico with the map instead of writing it")
    parser.add_argument("map", nargs="?", type=pathlib.Path, default=DEFAULT_MAP)
    parser.add_argument("ico", nargs="?", type=pathlib.Path, default=DEFAULT_ICO)
    args = parser.parse_args()

    try:
        wanted = icon_bytes(read_map(args.map))
    except (OSError, UnicodeDecodeError, MapError) as error:
        print(f"make-icon: {error}", file=sys.stderr)
        return 2

    if args.check:
        try:
            actual = args.ico.read_bytes()
        except OSError as error:
            print(f"make-icon: {error}", file=sys.stderr)
            return 1
        if actual != wanted:
            print(f"make-icon: {args.ico} does not match {args.map}; "
                  f"run tools/make-icon.py", file=sys.stderr)
            return 1
        return 0

    args.ico.write_bytes(wanted)
    return 0


if __name__ == "__main__":
    sys.exit(main())
