#include "texts/textring.h"

char TextRing[kRingSlots][kRingSlotWidth];
int RingPosition = kRingSlots - 1;

int NextRingSlot() {
    RingPosition = (RingPosition < kRingSlots - 1) ? RingPosition + 1 : 0;
    return RingPosition;
}
