#include <windows.h>

#include "install/installrecord.h"

#include "install/recordlines.h"
#include "install/samefile.h"
#include "runtime/fileexists.h"
#include "script/journal.h"
#include "script/model.h"

char* ReadOwnInstallRecord(const char* dir) {
    char script[kDirWidth], recorded[kDirWidth];
    char* record = JournalPath(script, dir) ? ReadInstallRecord(script) : nullptr;
    if (record != nullptr && RecordDirectory(record, recorded, kDirWidth) &&
        SameExistingFile(recorded, dir))
        return record;
    if (record != nullptr) GlobalFree(record);
    return nullptr;
}

char* ReadInstallRecord(const char* scriptPath) {
    long bytes = FileBytes(scriptPath);
    if (bytes < 0 || bytes > 0x1000000) return nullptr;
    // A section is never longer than its file; Windows 95 gives at most 32767 characters of it.
    DWORD size = static_cast<DWORD>(bytes) + 2;
    char* block = static_cast<char*>(static_cast<void*>(GlobalAlloc(GMEM_FIXED, size + 2)));
    if (block == nullptr) return nullptr;
    DWORD got = GetPrivateProfileSectionA(kRecordSection, block, size, scriptPath);
    if (got == 0) {
        GlobalFree(block);
        return nullptr;
    }
    block[got] = 0;
    block[got + 1] = 0;
    return block;
}
