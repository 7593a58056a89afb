// The deadline of a busy wait on the 32-bit millisecond tick counter.
#pragma once
#include <stdint.h>

// Sets *end to start + ms, wrapping like the counter. Returns 0 when the wait is to end at
// once: a wait of 0 ms, or one whose end would lie past the counter's wrap-around (then
// the end would compare below the start and the wait would never be over or over at once).
int TickWaitEnd(uint32_t start, uint32_t ms, uint32_t* end);

// 1 once the counter has reached the end of the wait.
inline int TickWaitOver(uint32_t now, uint32_t end) { return now >= end; }
