#include "support/background_picture.h"

#include <cstdio>

#include "resource.h"

int GradientBlueOfRow(int y, int height) {
    for (int i = 0; i < 255; ++i)
        if (y < static_cast<long long>(i + 1) * height / 255) return 255 - i;
    return -1;
}

BackgroundPicture::BackgroundPicture(int screenWidth, int screenHeight, HMODULE module)
    : width(screenWidth),
      height(screenHeight),
      top(BitmapResourcePixels(IDB_BANNER_TOP, module)),
      low(BitmapResourcePixels(IDB_BANNER_LOW, module)) {}

COLORREF BackgroundPicture::At(int x, int y) const {
    const COLORREF key = RGB(255, 0, 255);
    if (x >= 20 && x < 20 + top.width && x < topRight && y >= 10 && y < 10 + top.height &&
        top.At(x - 20, y - 10) != key)
        return top.At(x - 20, y - 10);
    int ly = y - (height - 60);
    if (lowBanner && x >= 20 && x < 20 + low.width && ly >= 0 && ly < low.height &&
        low.At(x - 20, ly) != key)
        return low.At(x - 20, ly);
    return RGB(0, 0, GradientBlueOfRow(y, height));
}

int CompareBackground(const PixelImage& screen, POINT origin, const BackgroundPicture& picture,
                      const RECT* covered, std::string* report) {
    int wrong = 0;
    // The client area is two pixels narrower and lower than the screen (thin border).
    for (int y = 0; y < picture.height - 2; ++y)
        for (int x = 0; x < picture.width - 2; ++x) {
            POINT at = {origin.x + x, origin.y + y};
            if (at.x < 0 || at.y < 0 || at.x >= screen.width || at.y >= screen.height) continue;
            if (covered && PtInRect(covered, at)) continue;
            COLORREF want = picture.At(x, y), got = screen.At(at.x, at.y);
            if (got == want) continue;
            if (++wrong <= 5 && report) {
                char line[96];
                std::snprintf(line, sizeof(line), "client %d,%d: got %06lx want %06lx\n", x, y,
                              static_cast<unsigned long>(got), static_cast<unsigned long>(want));
                *report += line;
            }
        }
    return wrong;
}
