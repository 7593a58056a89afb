#include "texts/textring.h"

static char TextRing[kRingSlots][kRingSlotWidth];
static int Position = kRingSlots - 1;  // constant-initialised: valid before any constructor runs

int NextRingSlot() {
    Position = (Position < kRingSlots - 1) ? Position + 1 : 0;
    return Position;
}

int RingPosition() { return Position; }

char* RingSlot(int index) { return TextRing[index]; }
