// String-table texts through a ring of four 128-character slots. A text returned by
// LoadText stays intact through the next three calls; nobody frees it.
#pragma once

enum { kRingSlots = 4, kRingSlotWidth = 128 };

namespace Shared {
extern char TextRing[kRingSlots][kRingSlotWidth];
extern int RingPosition;  // slot used last; the first text after start goes to slot 0
}  // namespace Shared

// Moves RingPosition to the next slot and returns it.
int NextRingSlot();

// The text of string-table id (low 16 bits), or null when the table has none.
// The slot is used up either way.
const char* LoadText(unsigned id);
