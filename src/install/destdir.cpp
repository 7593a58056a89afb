#include <windows.h>

#include "install/destdir.h"

#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/destination.h"
#include "script/model.h"

char Shared::CreatedInstallDir[kDirWidth];

DestinationVerdict AcceptDestination(const char* dir) {
    if (!DestinationFormOk(dir)) return DestinationBadForm;
    char root[kRootPathWidth];
    DestinationRoot(root, dir);
    int existed = DirectoryExists(dir);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    // A drive that cannot be queried (no medium, no such drive) has no room to offer.
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters) ||
        !SpaceSuffices(FreeKilobytes(sectorsPerCluster, bytesPerSector, freeClusters),
                       Shared::MinimumSpace))
        return DestinationNoSpace;
    if (existed) return DestinationAccepted;
    // Levels are made from the full form, where "." and ".." parts are resolved as the file
    // system resolves them.
    char full[kDirWidth];
    char* name = nullptr;
    DWORD length = GetFullPathNameA(dir, kDirWidth, full, &name);
    if (length == 0 || length >= kDirWidth || !DestinationFormOk(full) ||
        !CreateDirectoryLevels(full, Shared::CreatedInstallDir, kDirWidth))
        return DestinationNotCreated;
    return DestinationAccepted;
}

int CreateDirectoryLevels(const char* dir, char* firstMade, int width) {
    if (width > 0) firstMade[0] = 0;
    int made[MAX_PATH / 2 + 1];
    int count = 0;
    char level[MAX_PATH];
    for (int end = NextDirLevel(dir, 3); end > 0; end = NextDirLevel(dir, end)) {
        int fits = end < MAX_PATH && count < MAX_PATH / 2;
        if (fits) {
            for (int i = 0; i < end; ++i) level[i] = dir[i];
            level[end] = 0;
            if (DirectoryExists(level)) continue;
        }
        if (!fits || !CreateDirectoryA(level, nullptr)) {
            // Refused: what this call made goes again, the last made first.
            while (count > 0) {
                int e = made[--count];
                for (int i = 0; i < e; ++i) level[i] = dir[i];
                level[e] = 0;
                RemoveDirectoryA(level);
            }
            if (width > 0) firstMade[0] = 0;
            return 0;
        }
        if (count == 0) TextCopy(firstMade, width, level);
        made[count++] = end;
    }
    return 1;
}
