#include <windows.h>

#include "texts/textring.h"

#include "app/app.h"
#include "runtime/text.h"

const char* LoadText(unsigned id) {
    char* slot = RingSlot(NextRingSlot());
    slot[0] = 0;
    int copied = LoadStringA(Shared::AppInstance, id & 0xFFFF, slot, kRingSlotWidth);
    // A text cut to the slot must not end in half a double-byte character.
    if (copied >= kRingSlotWidth - 1) TextDropTornCharacter(slot);
    return copied > 0 ? slot : nullptr;
}

const char* LoadTextOrEmpty(unsigned id) {
    const char* text = LoadText(id);
    return text != nullptr ? text : "";
}
