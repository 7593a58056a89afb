// Where a page goes on the screen: the arithmetic of CaptionAndCenterPage, without any window.
#pragma once
#include <stdint.h>

struct PagePlacement {
    int16_t x;
    int16_t y;
    int16_t width;
    int16_t height;
};

// The page grows one pixel in each direction (right - left + 1, bottom - top + 1, held as
// signed 16-bit values) and is centred on the screen in signed arithmetic, the division
// truncating toward zero: a page larger than the screen gets a negative position.
PagePlacement PlacePage(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int16_t screenWidth, int16_t screenHeight);
