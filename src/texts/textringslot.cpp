#include "texts/textring.h"

char Shared::TextRing[kRingSlots][kRingSlotWidth];
int Shared::RingPosition = kRingSlots - 1;

int NextRingSlot() {
    Shared::RingPosition = (Shared::RingPosition < kRingSlots - 1) ? Shared::RingPosition + 1 : 0;
    return Shared::RingPosition;
}
