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

// What SaveJournal keeps: the journal's sections side by side, and the install record.
struct SavedSections {
    char journal[kSectionCount][kSectionBytes];
    char* record;  // ReadInstallRecord's block, or null
};

}  // namespace

char* SaveJournal(const FileEntry& e, const char* destPath) {
    char path[kDirWidth];
    if (e.DestIsAbsolute != 0 || !JournalPath(path, Shared::InstallDir) ||
        !TextSamePathNoCase(destPath, path))
        return nullptr;

    // Kept even when there is nothing to keep: the package's own record section must go.
    SavedSections* saved = static_cast<SavedSections*>(
        static_cast<void*>(GlobalAlloc(GMEM_FIXED, sizeof(SavedSections))));
    if (saved == nullptr) return nullptr;
    saved->record = nullptr;
    for (int s = 0; s < kSectionCount; ++s) {
        char* section = saved->journal[s];
        section[0] = section[1] = 0;
        if (!FileExists(path) ||
            GetPrivateProfileSectionA(kSections[s], section, kSectionBytes - 1, path) == 0)
            section[0] = 0;
    }
    if (FileExists(path)) saved->record = ReadInstallRecord(path);
    // The copy replaces the file behind the cache's back: nothing of the old file may stay
    // in the cache, to be written over the new one or read in its place.
    FlushProfile(path);
    return static_cast<char*>(static_cast<void*>(saved));
}

void RestoreJournal(char* block) {
    if (block == nullptr) return;
    SavedSections* saved = static_cast<SavedSections*>(static_cast<void*>(block));
    char path[kDirWidth];
    if (JournalPath(path, Shared::InstallDir) && FileExists(path)) {
        FlushProfile(path);
        for (int s = 0; s < kSectionCount; ++s) {
            const char* section = saved->journal[s];
            if (section[0] != 0) WritePrivateProfileSectionA(kSections[s], section, path);
        }
        // A record that came with the package names nothing this installation made.
        WritePrivateProfileStringA(kRecordSection, nullptr, nullptr, path);
        if (saved->record != nullptr)
            WritePrivateProfileSectionA(kRecordSection, saved->record, path);
        FlushProfile(path);
    }
    if (saved->record != nullptr) GlobalFree(saved->record);
    GlobalFree(saved);
}
