#include <windows.h>

#include "install/keepjournal.h"

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

// Drops the profile cache's copy of the file: it is written out where it has unsaved
// changes, and read again from the disk at the next call.
void FlushProfile(const char* path) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path); }

}  // namespace

char* SaveJournal(const FileEntry& e, const char* destPath) {
    char path[kDirWidth];
    if (e.DestIsAbsolute != 0 || !JournalPath(path, Shared::InstallDir) ||
        !TextSamePathNoCase(destPath, path))
        return nullptr;
    if (!FileExists(path)) return nullptr;

    char* saved = static_cast<char*>(GlobalAlloc(GMEM_FIXED, kSectionCount * kSectionBytes));
    if (saved == nullptr) return nullptr;
    int found = 0;
    for (int s = 0; s < kSectionCount; ++s) {
        char* section = saved + s * kSectionBytes;
        section[0] = section[1] = 0;
        if (GetPrivateProfileSectionA(kSections[s], section, kSectionBytes - 1, path) > 0)
            found = 1;
        else
            section[0] = 0;
    }
    // The copy replaces the file behind the cache's back: nothing of the old file may stay
    // in the cache, to be written over the new one or read in its place.
    FlushProfile(path);
    if (!found) {
        GlobalFree(saved);
        return nullptr;
    }
    return saved;
}

void RestoreJournal(char* saved) {
    if (saved == nullptr) return;
    char path[kDirWidth];
    if (JournalPath(path, Shared::InstallDir)) {
        FlushProfile(path);
        for (int s = 0; s < kSectionCount; ++s) {
            const char* section = saved + s * kSectionBytes;
            if (section[0] != 0) WritePrivateProfileSectionA(kSections[s], section, path);
        }
        FlushProfile(path);
    }
    GlobalFree(saved);
}
