"""Stand-in banners for the background window tests (see background_test.rc): 16 colours,
magenta background, the sizes of the real banners, with artwork in every part of them."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from bmp4 import write_bmp4  # noqa: E402

PALETTE = [(255, 0, 255), (255, 255, 255), (0, 0, 0), (128, 128, 128), (192, 192, 192)]
out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def top(x, y):
    # White letters-ish blocks with black shadows, some in columns 300-399.
    if 5 <= y < 40 and (x // 25) % 2 == 0 and x % 25 < 18:
        return 1
    if 8 <= y < 43 and (x // 25) % 2 == 0 and 3 <= x % 25 < 21:
        return 2
    return 0


def low(x, y):
    if 6 <= y < 36 and (x // 30) % 2 == 1 and x % 30 < 22:
        return 1 if y < 20 else 3
    if y == 40 and x % 3 == 0:
        return 4
    return 0


write_bmp4(os.path.join(out, "banner_top.bmp"), 400, 50, PALETTE, top)
write_bmp4(os.path.join(out, "banner_low.bmp"), 490, 43, PALETTE, low)
