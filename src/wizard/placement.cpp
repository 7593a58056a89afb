#include "wizard/placement.h"

PagePlacement PlacePage(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int16_t screenWidth, int16_t screenHeight) {
    PagePlacement p;
    p.width = static_cast<int16_t>(right - left + 1);
    p.height = static_cast<int16_t>(bottom - top + 1);
    p.x = static_cast<int16_t>((screenWidth - p.width) / 2);
    p.y = static_cast<int16_t>((screenHeight - p.height) / 2);
    return p;
}
