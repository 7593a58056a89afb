#include <windows.h>

#include "texts/textring.h"

#include "app/app.h"

const char* LoadText(unsigned id) {
    char* slot = RingSlot(NextRingSlot());
    slot[0] = 0;
    int copied = LoadStringA(Shared::AppInstance, id & 0xFFFF, slot, kRingSlotWidth);
    return copied > 0 ? slot : nullptr;
}

const char* LoadTextOrEmpty(unsigned id) {
    const char* text = LoadText(id);
    return text != nullptr ? text : "";
}
