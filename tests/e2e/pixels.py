#!/usr/bin/env python3
"""pixels.py FILE.bmp CHECK...: checks pixels of a 24-bit BMP capture.
A check is "x,y=RRGGBB" (each channel within 3 levels, or within the
tolerance given as "x,y=RRGGBB/T") or "x,y!=RRGGBB" (not within 3 levels).
Prints every failed check; exits 1 when one fails."""
import struct
import sys


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("%s is not a BMP file" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise ValueError("%s has %d bits per pixel, not 24" % (path, bits))
    stride = (width * 3 + 3) & ~3

    def pixel(x, y):
        # Rows are stored bottom-up unless the height is negative.
        row = height - 1 - y if height > 0 else y
        i = offset + row * stride + x * 3
        b, g, r = data[i], data[i + 1], data[i + 2]
        return r, g, b

    return abs(width), abs(height), pixel


def parse(check):
    where, _, colour = check.partition("=")
    negate = where.endswith("!")
    x, y = (int(v) for v in where.rstrip("!").split(","))
    colour, _, tolerance = colour.partition("/")
    rgb = tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))
    return x, y, negate, rgb, int(tolerance) if tolerance else 3


def main():
    width, height, pixel = read_bmp(sys.argv[1])
    failed = 0
    for check in sys.argv[2:]:
        x, y, negate, rgb, tolerance = parse(check)
        if not (0 <= x < width and 0 <= y < height):
            print("%s: outside the %dx%d capture" % (check, width, height))
            failed += 1
            continue
        got = pixel(x, y)
        close = all(abs(a - b) <= tolerance for a, b in zip(got, rgb))
        if close == negate:
            print("%s: the pixel is %02X%02X%02X" % ((check,) + got))
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
