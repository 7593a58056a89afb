#include "presentation/tickwait.h"

int TickWaitEnd(uint32_t start, uint32_t ms, uint32_t* end) {
    *end = start + ms;  // unsigned: wraps like the counter
    return *end > start;
}
