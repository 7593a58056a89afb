// String-table texts through a ring of four 128-character slots. A text returned by
// LoadText stays intact through the next three calls; nobody frees it.
#pragma once

enum { kRingSlots = 4, kRingSlotWidth = 128 };

// Makes the slot after the one used last the one used last and returns its index; the
// first text after start goes to slot 0.
int NextRingSlot();

// The index of the slot used last (kRingSlots - 1 before the first text).
int RingPosition();

// The text buffer of slot index (kRingSlotWidth wide).
char* RingSlot(int index);

// The text of string-table id (low 16 bits), or null when the table has none.
// The slot is used up either way.
const char* LoadText(unsigned id);

// LoadText, with "" for an id the table lacks.
const char* LoadTextOrEmpty(unsigned id);
