// Progress arithmetic of the install page: the percentage of a disk and the part of the
// gauge that is filled. No Windows calls, so it is unit-tested natively.
#pragma once
#include <stdint.h>

// A rectangle in page client coordinates; right and bottom are exclusive.
struct GaugeBox {
    int32_t left, top, right, bottom;
};

// Share of the disk's entries done once entry index (from 0) is done, in whole percent:
// (100 * index + 100) / fileCount, truncated. A disk without entries gives 0.
int16_t DiskPercentage(int index, int16_t fileCount);

// The blue fill for percent p inside a gauge drawn at the control rectangle `control`:
// the rectangle shrunk by 2 on every side, moved 1 left and 1 up, its width cut to p percent
// of (width + 1).
GaugeBox GaugeFillBox(GaugeBox control, int16_t percent);
