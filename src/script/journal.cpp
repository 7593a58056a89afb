#include <windows.h>

#include "script/journal.h"

#include "runtime/text.h"
#include "script/journalquote.h"
#include "script/model.h"

// Filled by JournalRead; every call overwrites it.
static char JournalBuffer[kJournalWidth];

static_assert(static_cast<int>(kJournalPathWidth) == static_cast<int>(kDirWidth),
              "the journal's path is a directory text");

int JournalPath(char* path, const char* dir) {
    if (dir == nullptr || dir[0] == 0) {
        path[0] = 0;
        return 0;
    }
    return TextJoin(path, kJournalPathWidth, dir, "\\SETUP.INF");
}

const char* JournalRead(const char* dir, const char* section, const char* key, const char* def) {
    char path[kDirWidth];
    if (!JournalPath(path, dir)) {
        TextCopy(JournalBuffer, kJournalWidth, def != nullptr ? def : "");
        return JournalBuffer;
    }
    GetPrivateProfileStringA(section, key, def != nullptr ? def : "", JournalBuffer, kJournalWidth,
                             path);
    return JournalBuffer;
}

// A journalled value never holds a control character: this default tells a missing key
// from an empty one.
static const char kMissing[] = "\x01";

int JournalHolds(const char* dir, const char* section, const char* key) {
    return !TextEqual(JournalRead(dir, section, key, kMissing), kMissing);
}

int JournalWrite(const char* dir, const char* section, const char* key, const char* value) {
    char path[kDirWidth];
    if (!JournalPath(path, dir)) return 0;
    if (JournalHolds(dir, section, key)) return 1;
    // A line break would end the value's line and let the rest of it read as new keys or
    // sections of the script. A read gives back at most 127 characters, and a value kept
    // inside quotes needs two of them.
    char flat[kJournalWidth - 2];
    TextCopy(flat, kJournalWidth - 2, value != nullptr ? value : "");
    TextFlattenLines(flat);
    char line[kJournalWidth];
    JournalQuoteValue(line, kJournalWidth, flat);
    int written = WritePrivateProfileStringA(section, key, line, path);
    // The profile functions may keep the record in a cache that never reaches the disk (a
    // read-only medium, a full disk): the cache is written out and dropped, and the record
    // read back from the file itself.
    FlushProfile(path);
    return written && TextEqual(JournalRead(dir, section, key, kMissing), flat);
}

void FlushProfile(const char* path) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path); }
