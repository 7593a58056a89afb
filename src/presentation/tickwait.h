// A busy wait on the 32-bit millisecond tick counter, which wraps around after 49.7 days.
#pragma once
#include <stdint.h>

// Sets *end to start + ms, wrapping like the counter. Returns 0 when the wait is to end at
// once: a wait of 0 ms, or one whose end would lie past the counter's wrap-around.
int TickWaitEnd(uint32_t start, uint32_t ms, uint32_t* end);

// 1 once ms have passed since start. The elapsed time is counted, not the end tick
// compared: the counter moves in steps and may step over an end tick just before the wrap.
inline int TickWaitOver(uint32_t now, uint32_t start, uint32_t ms) { return now - start >= ms; }

// Waits ms on the counter read by now(): calls pump(), then reads the counter again, until
// the time has passed. Returns at once, pumping nothing, when TickWaitEnd gives 0.
void TickWait(uint32_t ms, uint32_t (*now)(), void (*pump)());
