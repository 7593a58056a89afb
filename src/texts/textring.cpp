#include <windows.h>

#include "texts/textring.h"

#include "setup/app.h"

const char* LoadText(unsigned id) {
    char* slot = Shared::TextRing[NextRingSlot()];
    slot[0] = 0;
    int copied = LoadStringA(Shared::AppInstance, id & 0xFFFF, slot, kRingSlotWidth);
    return copied > 0 ? slot : nullptr;
}
