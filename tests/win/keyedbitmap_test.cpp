// Keyed drawing of bitmaps into a memory device context: the key colour is left out, every
// other colour is drawn, and the dissolve leaves exactly what one sweep leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/app.h"
#include "presentation/dissolve.h"
#include "presentation/keyedbitmap.h"
#include "support/pixels.h"

namespace {

const int kPattern = 901;  // 13 x 11, mixed colours, about one pixel in five magenta
const int kAllKey = 902;   // 9 x 9, magenta only
const int kWideId = 903;   // 400 x 50, no magenta
const COLORREF kBack = RGB(0, 0, 200);

// A 32-bit top-down DIB selected into a memory device context, filled with kBack.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ earlier = nullptr;
    DWORD* bits = nullptr;
    int width, height;

    Canvas(int w, int h) : width(w), height(h) {
        BITMAPINFO bi = TopDown32(w, h);
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<DWORD*>(p);
        earlier = SelectObject(dc, bitmap);
        RECT all = {0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(kBack);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    ~Canvas() {
        SelectObject(dc, earlier);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD v = bits[y * width + x];  // 0x00RRGGBB in the DIB
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
    std::vector<DWORD> Pixels() const {
        GdiFlush();
        return std::vector<DWORD>(bits, bits + width * height);
    }
};

class KeyedBitmap : public ::testing::Test {
  protected:
    void SetUp() override { Shared::AppInstance = GetModuleHandleA(nullptr); }
};

void Draw(Canvas& c, int id, int left, int top, int right, int bottom, int dissolve) {
    RECT r = {left, top, right, bottom};
    DrawKeyedBitmap(c.dc, id, &r, dissolve);
}

TEST_F(KeyedBitmap, KeyColourLeftOutEveryOtherColourDrawn) {
    const PixelImage src = BitmapResourcePixels(kPattern);
    ASSERT_EQ(13, src.width);
    ASSERT_EQ(11, src.height);
    for (int dissolve : {0, 1}) {
        SCOPED_TRACE(dissolve ? "dissolve" : "one sweep");
        Canvas c(40, 30);
        Draw(c, kPattern, 5, 7, 6, 8, dissolve);
        // Row 0 of the bitmap: one step of red, green or blue away from the key is drawn.
        EXPECT_EQ(RGB(254, 0, 255), c.At(5, 7));
        EXPECT_EQ(kBack, c.At(6, 7));
        EXPECT_EQ(RGB(255, 1, 255), c.At(7, 7));
        EXPECT_EQ(kBack, c.At(8, 7));
        EXPECT_EQ(RGB(255, 0, 254), c.At(9, 7));
        int keyed = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                bool inside = x >= 5 && x < 5 + 13 && y >= 7 && y < 7 + 11;
                COLORREF want = kBack;
                if (inside && src.At(x - 5, y - 7) != kKeyColour) want = src.At(x - 5, y - 7);
                if (inside && src.At(x - 5, y - 7) == kKeyColour) ++keyed;
                ASSERT_EQ(want, c.At(x, y)) << "at " << x << "," << y;
            }
        EXPECT_GT(keyed, 10);  // the pattern really has transparent pixels
    }
}

// The artwork's run-length coding (16 and 256 colours) loads to the pixels of the plain rows.
TEST_F(KeyedBitmap, RunLengthCodedArtworkLoadsAsThePlainRows) {
    for (int plain : {904, 906}) {
        PixelImage want = BitmapResourcePixels(plain), got = BitmapResourcePixels(plain + 1);
        ASSERT_EQ(333, got.width) << plain + 1;
        EXPECT_EQ(want.pixels, got.pixels) << plain + 1;
    }
}

TEST_F(KeyedBitmap, DissolveLeavesTheSamePixelsAsOneSweep) {
    for (int id : {kPattern, kWideId}) {
        Canvas sweep(440, 70), dissolve(440, 70);
        Draw(sweep, id, 3, 2, 0, 0, 0);
        Draw(dissolve, id, 3, 2, 0, 0, 1);
        EXPECT_EQ(sweep.Pixels(), dissolve.Pixels()) << "bitmap " << id;
    }
}

// Recorded pixel by pixel: every drawn pixel of the bitmap is set once; one sweep goes row by
// row, the dissolve goes pass by pass in the order of its table, each pass row by row.
TEST_F(KeyedBitmap, SweepGoesRowByRowDissolvePassByPass) {
    const PixelImage src = BitmapResourcePixels(kPattern);
    std::vector<POINT> drawn;  // the bitmap's own positions of its visible pixels, row by row
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            if (src.At(x, y) != kKeyColour) drawn.push_back({x, y});
    for (int dissolve : {0, 1}) {
        SCOPED_TRACE(dissolve ? "dissolve" : "one sweep");
        PixelRecording recording;
        RECT r = {5, 7, 6, 8};
        DrawKeyedBitmap(recording.dc, kPattern, &r, dissolve);
        std::vector<POINT> set = recording.Finish();
        ASSERT_EQ(drawn.size(), set.size());
        std::vector<POINT> want = drawn;
        if (dissolve)
            std::stable_sort(want.begin(), want.end(), [](POINT a, POINT b) {
                return DissolveOrder[a.y % 8][a.x % 8] < DissolveOrder[b.y % 8][b.x % 8];
            });
        for (size_t i = 0; i < set.size(); ++i) {
            ASSERT_EQ(want[i].x + 5, set[i].x) << "pixel " << i;
            ASSERT_EQ(want[i].y + 7, set[i].y) << "pixel " << i;
        }
        if (dissolve) {
            // Pass 0 starts at bitmap pixel (1, 1); pass 63 ends at (9, 7), as (1, 7) is keyed.
            EXPECT_EQ(5 + 1, set.front().x);
            EXPECT_EQ(7 + 1, set.front().y);
            EXPECT_EQ(5 + 9, set.back().x);
            EXPECT_EQ(7 + 7, set.back().y);
        }
    }
}

TEST_F(KeyedBitmap, OnlyKeyColourOrMissingBitmapLeavesTargetUnchanged) {
    Canvas untouched(30, 30);
    for (int dissolve : {0, 1}) {
        Canvas c(30, 30);
        Draw(c, kAllKey, 4, 4, 20, 20, dissolve);
        Draw(c, 999, 0, 0, 30, 30, dissolve);  // no such bitmap
        EXPECT_EQ(untouched.Pixels(), c.Pixels());
    }
}

TEST_F(KeyedBitmap, DrawnAtItsOwnSizeWhateverTheRectangle) {
    const RECT rects[] = {{20, 10, 320, 60}, {20, 10, 21, 11}, {20, 10, 0, 0}, {20, 10, 900, 900}};
    for (const RECT& r : rects) {
        SCOPED_TRACE(testing::Message() << r.right << "," << r.bottom);
        Canvas c(460, 80);
        Draw(c, kWideId, r.left, r.top, r.right, r.bottom, 0);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                bool inside = x >= 20 && x <= 419 && y >= 10 && y <= 59;
                ASSERT_EQ(inside, c.At(x, y) != kBack) << "at " << x << "," << y;
            }
    }
}

TEST_F(KeyedBitmap, ReleasesWhatItCreates) {
    // Fill the process's GDI handle table to within a few entries of its end; a drawing
    // that kept even one object per call would then run out long before the last call.
    Canvas c(30, 30);
    std::vector<HBRUSH> filler;
    while (filler.size() < 100000) {
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        if (!b) break;
        filler.push_back(b);
    }
    ASSERT_LT(filler.size(), 100000u) << "no GDI handle limit reached";
    for (int i = 0; i < 20; ++i) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int i = 0; i < 200; ++i) Draw(c, kAllKey, 0, 0, 0, 0, i % 2);
    Draw(c, kPattern, 0, 0, 0, 0, 0);
    EXPECT_EQ(RGB(254, 0, 255), c.At(0, 0));
    EXPECT_EQ(kBack, c.At(1, 0));
    EXPECT_EQ(RGB(255, 1, 255), c.At(2, 0));
    for (HBRUSH b : filler) DeleteObject(b);
}

}  // namespace
