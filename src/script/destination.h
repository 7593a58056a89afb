// The rules of the destination check (SETUP_SELDIR, and the checker) that need no Windows call.
#pragma once
#include <stdint.h>

enum { kRootPathWidth = 4 };  // "C:\" and its terminating zero

// 1 when the second character is ":" and the third "\" (the first is not tested).
int DestinationFormOk(const char* dir);

// The levels of a directory in full form ("C:\A\B" has "C:\A" and "C:\A\B"): the end of the
// level after the one that ends at at (3 for the first), or -1 when there is none. Doubled
// and trailing separators make no level; the second byte of a double-byte character is no
// separator.
int NextDirLevel(const char* dir, int at);

// The root of the destination's drive: its first character upper-cased, ":", "\".
void DestinationRoot(char root[kRootPathWidth], const char* dir);

// Free kilobytes of a drive from the free-space figures, in 64 bits so that a drive with
// more than 4 GB free does not wrap around to a small number.
uint64_t FreeKilobytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters);

// 1 when freeKilobytes meets minimumSpace. A negative minimum can never be met.
int SpaceSuffices(uint64_t freeKilobytes, int32_t minimumSpace);
