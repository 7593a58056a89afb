// Numbering of mouse driver class keys ("Mouse\0000", "Mouse\0001", ...): the pure part of
// choosing a free name, without any registry call.
#pragma once
#include <stdint.h>

enum { kClassNameWidth = 80 };  // a driver name: "Mouse\" and the number

// The decimal number at the start of a class subkey name: leading white space skipped,
// an optional sign, then digits up to the first other character; 0 without digits.
// Held as a 16-bit signed integer (only the low 16 bits of a larger number are kept).
int16_t ClassKeyNumber(const char* name);

// The free-number scan over the subkeys of the mouse class, fed one name at a time in the
// order the registry lists them. The scan stops at the first gap: a number more than one
// above the previous one.
struct ClassScan {
    int16_t Previous;  // -1 before the first name
};

void ClassScanStart(ClassScan* scan);

// Takes the next subkey name. Returns 1 to go on with the next name, 0 once a gap was
// found (the scan's candidate is then free as far as the scan can tell).
int ClassScanTake(ClassScan* scan, const char* name);

// The number the scan proposes: the previous number + 1, never below 0.
int32_t ClassScanCandidate(const ClassScan* scan);

// "Mouse\" followed by number, zero-padded to at least four digits. Returns 0 and leaves
// out empty when it does not fit width.
int FormatClassName(char* out, int width, int32_t number);
