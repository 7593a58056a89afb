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
    if (!existed && !CreateDirectoryA(dir, nullptr)) return DestinationNotCreated;
    if (!existed) TextCopy(Shared::CreatedInstallDir, kDirWidth, dir);
    return DestinationAccepted;
}
