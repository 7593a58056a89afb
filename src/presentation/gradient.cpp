#include "presentation/gradient.h"

int32_t GradientBandTop(int32_t band, int32_t height) {
    if (height < 0) height = 0;
    if (height > 32767) height = 32767;  // screen sizes are 16-bit; keeps band * height small
    if (band < 0) band = 0;
    if (band > kGradientBands) band = kGradientBands;
    return band * height / kGradientBands;
}

int32_t GradientBandBottom(int32_t band, int32_t height) {
    return GradientBandTop(band + 1, height);
}

uint8_t GradientBandBlue(int32_t band) { return static_cast<uint8_t>(255 - band); }
