#include "script/destination.h"

#include "runtime/text.h"

int DestinationFormOk(const char* dir) { return dir[0] != 0 && dir[1] == ':' && dir[2] == '\\'; }

int NextDirLevel(const char* dir, int at) {
    if (at < 0) return -1;
    int i = at;
    while (dir[i] == '\\') ++i;
    if (dir[i] == 0) return -1;
    while (dir[i] != 0 && dir[i] != '\\') i += TextCharBytes(dir + i);
    return i;
}

void DestinationRoot(char root[kRootPathWidth], const char* dir) {
    char drive = dir[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    root[0] = drive;
    root[1] = ':';
    root[2] = '\\';
    root[3] = 0;
}

uint64_t FreeKilobytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters) {
    // The cluster size always fits 64 bits; the whole product is kept from overflowing
    // (no drive reports such figures, but a wrapped product would read as little room).
    uint64_t clusterBytes = static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector;
    const uint64_t kMax = ~static_cast<uint64_t>(0);
    if (freeClusters != 0 && clusterBytes > kMax / freeClusters) return kMax >> 10;
    return (clusterBytes * freeClusters) >> 10;
}

int SpaceSuffices(uint64_t freeKilobytes, int32_t minimumSpace) {
    if (minimumSpace < 0) return 0;
    return freeKilobytes >= static_cast<uint64_t>(minimumSpace);
}
