"""Writes 16-colour (4 bits per pixel) Windows bitmap files for the tests' own resources."""
import struct


def write_bmp4(path, width, height, palette, pixel):
    """palette: up to 16 (r, g, b); pixel(x, y) -> palette index, y from the top."""
    palette = list(palette) + [(0, 0, 0)] * (16 - len(palette))
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in reversed(range(height)):  # bottom-up
        row = bytearray(stride)
        for x in range(width):
            index = pixel(x, y) & 15
            row[x // 2] |= index << 4 if x % 2 == 0 else index
        rows.append(bytes(row))
    bits = b"".join(rows)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(bits), 2835, 2835, 16, 16)
    with open(path, "wb") as f:
        f.write(header + info + colours + bits)
