// What the background window should show, pixel by pixel, for comparing with the screen:
// the blue gradient with the banners' artwork over it (their magenta left out).
#pragma once
#include <windows.h>

#include <string>

#include "support/pixels.h"

// Blue of the gradient band that holds row y: band i covers rows i*H/255 up to
// (i+1)*H/255, rounded down, with blue 255 - i.
int GradientBlueOfRow(int y, int height);

struct BackgroundPicture {
    int width = 0, height = 0;  // the screen size the window was made for
    PixelImage top, low;        // banner bitmaps 306 and 307
    bool lowBanner = true;      // false in OEM mode
    int topRight = 420;         // the top banner's artwork shows left of this column

    // Reads the banners from module (null: the running executable).
    BackgroundPicture(int screenWidth, int screenHeight, HMODULE module = nullptr);

    // The colour at client pixel (x, y).
    COLORREF At(int x, int y) const;
};

// Compares the client area on the screen (its top-left at origin, screen coordinates) with
// the picture, skipping screen pixels inside `covered` (windows over it; may be null).
// Returns the number of differing pixels; the first few are described in report.
int CompareBackground(const PixelImage& screen, POINT origin, const BackgroundPicture& picture,
                      const RECT* covered, std::string* report);
