#include "install/progress.h"

int16_t DiskPercentage(int index, int16_t fileCount) {
    if (fileCount <= 0) return 0;
    int32_t done = 100 * static_cast<int32_t>(index) + 100;
    return static_cast<int16_t>(done / fileCount);
}

GaugeBox GaugeFillBox(GaugeBox control, int16_t percent) {
    GaugeBox r = {control.left + 1, control.top + 1, control.right - 3, control.bottom - 3};
    r.right = r.left + ((r.right - r.left + 1) * static_cast<int32_t>(percent)) / 100;
    return r;
}
