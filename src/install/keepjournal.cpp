#include <windows.h>

#include "install/keepjournal.h"

#include "install/installrecord.h"
#include "install/recordlines.h"
#include "runtime/countof.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/journal.h"

namespace {

// GetPrivateProfileSection reads at most 32767 characters on Windows 95; a journal is a
// few short lines.
enum { kSectionBytes = 32768 };

const char* const kSections[] = {JOURNAL_SECTION_PS2, JOURNAL_SECTION_SERIAL};
const int kSectionCount = CountOf(kSections);

// Copies section of from into to; 1 when it is there (or from has none).
int CopySection(const char* section, const char* from, const char* to, char* buffer) {
    buffer[0] = buffer[1] = 0;
    DWORD got = GetPrivateProfileSectionA(section, buffer, kSectionBytes - 1, from);
    if (got == 0) return 1;
    return WritePrivateProfileSectionA(section, buffer, to) != 0;
}

}  // namespace

int IsJournalFile(const FileEntry& e, const char* destPath) {
    char path[kDirWidth];
    return e.DestIsAbsolute == 0 && JournalPath(path, Shared::InstallDir) &&
           TextSamePathNoCase(destPath, path);
}

int MergeJournalInto(const char* newPath, const char* destPath) {
    // The copy's own record names nothing this installation made.
    WritePrivateProfileStringA(kRecordSection, nullptr, nullptr, newPath);
    int ok = 1;
    if (FileExists(destPath)) {
        static char buffer[kSectionBytes];  // kept off the stack
        // The old file is read from the disk, not from a cache that the copy will outdate.
        FlushProfile(destPath);
        for (int s = 0; s < kSectionCount; ++s)
            if (!CopySection(kSections[s], destPath, newPath, buffer)) ok = 0;
        char* record = ReadInstallRecord(destPath);
        if (record != nullptr) {
            if (!WritePrivateProfileSectionA(kRecordSection, record, newPath)) ok = 0;
            GlobalFree(record);
        }
        FlushProfile(destPath);
    }
    // Out of the cache and onto the disk before the file takes its name.
    FlushProfile(newPath);
    return ok;
}
