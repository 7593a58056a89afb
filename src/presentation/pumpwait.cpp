#include <windows.h>

#include "presentation/pumpwait.h"

#include "presentation/tickwait.h"

static uint32_t ReadTicks() { return GetTickCount(); }

// Takes one message of the thread out of the queue and drops it.
static void DropOneMessage() {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
}

void WaitPumping(DWORD ms) { TickWait(ms, ReadTicks, DropOneMessage); }
