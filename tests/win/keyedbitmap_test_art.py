"""Bitmaps drawn by the keyed drawing tests (see keyedbitmap_test.rc)."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources"))
from bmp4 import write_bmp4  # noqa: E402
from bmpfile import pack_rows, rle_rows, write_bmp  # noqa: E402

# Index 0 is the key colour; 1-3 differ from it by one step in one component.
PALETTE = [(255, 0, 255), (254, 0, 255), (255, 1, 255), (255, 0, 254),
           (255, 255, 255), (0, 0, 0), (128, 128, 128), (0, 128, 0),
           (200, 30, 40), (10, 20, 250)]

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def pattern(x, y):
    # Row 0 starts with the near-magenta colours, each beside a key pixel; the rest is a
    # scattered mix in which about one pixel in five is the key colour.
    if y == 0 and x < 8:
        return [1, 0, 2, 0, 3, 0, 4, 5][x]
    return (x * 7 + y * 3 + (x * y) % 5) % 10 if (x + 2 * y) % 5 else 0


write_bmp4(os.path.join(out, "pattern.bmp"), 13, 11, PALETTE, pattern)
write_bmp4(os.path.join(out, "allkey.bmp"), 9, 9, PALETTE, lambda x, y: 0)
write_bmp4(os.path.join(out, "wide.bmp"), 400, 50, PALETTE, lambda x, y: 4 + (x + y) % 2)


# The shipped artwork is run-length coded by resources/bmpfile.py: the same rows written
# plain and coded, at 16 and at 256 colours, must load to the same pixels. Solid runs longer
# than a code holds, two-colour dithers, and pixels that repeat nothing.
def mixed(x, y):
    if y % 3 == 0:
        return 4 if x < 300 else 5
    if y % 3 == 1:
        return 6 + (x % 2) if x < 150 else (x * 7 + y) % 10
    return (x // 3) % 10


ROWS = [[mixed(x, y) for x in range(333)] for y in range(7)]
for bits in (4, 8):
    assert len(rle_rows(ROWS, bits)) < len(pack_rows(ROWS, bits))
    write_bmp(os.path.join(out, "plain%d.bmp" % bits), ROWS, PALETTE, bits, compress=False)
    write_bmp(os.path.join(out, "coded%d.bmp" % bits), ROWS, PALETTE, bits)
