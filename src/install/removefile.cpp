#include <windows.h>

#include "install/removefile.h"

#include "install/wininit.h"
#include "runtime/fileexists.h"
#include "texts/log.h"

int RemoveFileOrQueue(const char* path) {
    // The delete comes first: most files go with that one call.
    if (DeleteFileA(path)) {
        LogLine("removed ", path);
        return 1;
    }
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 1;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) && DeleteFileA(path)) {
        LogLine("removed ", path);
        return 1;
    }
    if (!FileExists(path)) return 1;
    if (QueueRemovalAtRestart(path)) {
        LogLine("queued for removal at the next start: ", path);
        return 1;
    }
    LogLine("cannot be removed, now or at the next start: ", path);
    return 0;
}
