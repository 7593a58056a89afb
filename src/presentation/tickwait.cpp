#include "presentation/tickwait.h"

int TickWaitEnd(uint32_t start, uint32_t ms, uint32_t* end) {
    *end = start + ms;  // unsigned: wraps like the counter
    return *end > start;
}

void TickWait(uint32_t ms, uint32_t (*now)(), void (*pump)()) {
    uint32_t start = now(), end;
    if (!TickWaitEnd(start, ms, &end)) return;
    do {
        pump();
    } while (!TickWaitOver(now(), start, ms));
}
