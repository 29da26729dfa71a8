#!/usr/bin/env python3
"""Turns an X window dump (xwd, ZPixmap, 24 or 32 bits per pixel, TrueColor) into a PNG file.
   xwd -root -silent | scripts/xwd-to-png.py out.png"""
import struct
import sys
import zlib


def main():
    data = sys.stdin.buffer.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14:17]
    ncolors = fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit("xwd-to-png: only ZPixmap dumps of 24 or 32 bits per pixel are read")
    offset = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    order = "<" if byte_order == 0 else ">"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [shift(m) for m in (red_mask, green_mask, blue_mask)]
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * step]
        for x in range(0, width * step, step):
            chunk = line[x:x + step] + (b"\0" if step == 3 else b"")
            value = struct.unpack(order + "I", chunk)[0]
            rows.extend(((value >> s) & 0xFF) for s in shifts)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
