// The wait before the registration, during which nothing the user does reaches a window.
#pragma once
#include <windows.h>

// Busy wait of ms milliseconds that takes every queued message of the thread out and
// discards it, so no click or key made meanwhile reaches any window. A wait of 0 ms, or
// one that would end past the wrap-around of the tick counter, returns at once.
void WaitPumping(DWORD ms);
