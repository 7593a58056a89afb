// Band arithmetic of the background's vertical gradient: 255 bands from blue 255 at the top
// to blue 1 at the bottom, together covering rows 0 to height - 1. Pure logic, no Windows.
#pragma once
#include <stdint.h>

constexpr int kGradientBands = 255;

// First row of band i (0..255; band 255 gives height, the end of band 254).
// A height below 0 counts as 0. Never overflows for any 16-bit screen height.
int32_t GradientBandTop(int32_t band, int32_t height);

// Row after the last row of band i: the top of band i + 1.
int32_t GradientBandBottom(int32_t band, int32_t height);

// Blue component of band i: 255 - i.
uint8_t GradientBandBlue(int32_t band);
