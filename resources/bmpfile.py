"""Windows bitmap files as LoadBitmap reads them: bottom-up DIB rows, uncompressed or
run-length coded (BI_RLE8, BI_RLE4), whichever is smaller. Used by draw-art and by the
tests' own artwork."""
import struct


def pack_rows(rows, bits):
    """Bottom-up DIB rows of the given bit depth, each padded to four bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 8:
            line.extend(row)
        elif bits == 4:
            for i in range(0, len(row), 2):
                hi = row[i]
                lo = row[i + 1] if i + 1 < len(row) else 0
                line.append((hi << 4) | lo)
        elif bits == 1:
            for i in range(0, len(row), 8):
                byte = 0
                for j in range(8):
                    if i + j < len(row) and row[i + j]:
                        byte |= 0x80 >> j
                line.append(byte)
        while len(line) % 4:
            line.append(0)
        out.extend(line)
    return bytes(out)


def info_header(width, height, bits, image_size, colours, compression=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size,
                       2835, 2835, colours, 0)


def rle_rows(rows, bits):
    """The rows run-length coded as a BI_RLE8 (bits 8) or BI_RLE4 (bits 4) DIB, bottom-up.

    A run repeats one index (RLE8) or alternates two (RLE4: a solid run or a two-colour
    dither); pixels that form no run of three go out in absolute mode. Every row ends with
    an end-of-line, the picture with an end-of-bitmap."""
    out = bytearray()
    for row in reversed(rows):
        single = []  # pixels waiting for absolute mode

        def flush():
            while single:
                # At most 254 in one absolute code: Wine's decoder loses the row after an
                # absolute code of 255.
                part = single[:254]
                del single[:254]
                if len(part) < 3:  # absolute mode needs three; shorter ones are runs of one
                    for px in part:
                        out.extend((1, px if bits == 8 else px << 4))
                    continue
                out.extend((0, len(part)))
                data = bytearray(part) if bits == 8 else bytearray(
                    (part[i] << 4) | (part[i + 1] if i + 1 < len(part) else 0)
                    for i in range(0, len(part), 2))
                if len(data) % 2:
                    data.append(0)
                out.extend(data)

        i = 0
        while i < len(row):
            n = 1
            period = 1 if bits == 8 else 2
            while i + n < len(row) and n < 255 and (n < period or
                                                     row[i + n] == row[i + n - period]):
                n += 1
            if n >= 3:
                flush()
                second = row[i + 1] if bits == 4 and n > 1 else row[i]
                out.extend((n, row[i] if bits == 8 else (row[i] << 4) | second))
                i += n
            else:
                single.append(row[i])
                i += 1
        flush()
        out.extend((0, 0))
    out[-2:] = bytes((0, 1))
    return bytes(out)


def palette_bytes(pal):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in pal)


def write_bmp(path, rows, pal, bits, compress=True):
    width, height = len(rows[0]), len(rows)
    pixels = pack_rows(rows, bits)
    # Run-length coded where that is smaller: LoadBitmap takes both, and the bytes count
    # on a package disk.
    packed = rle_rows(rows, bits)
    compression = 0
    if compress and len(packed) < len(pixels):
        pixels, compression = packed, (1 if bits == 8 else 2)
    colours = 1 << bits
    pal = list(pal) + [(0, 0, 0)] * (colours - len(pal))
    body = info_header(width, height, bits, len(pixels), colours, compression) + palette_bytes(pal)
    offset = 14 + len(body)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(body + pixels)
