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

void JournalWrite(const char* dir, const char* section, const char* key, const char* value) {
    char old[kJournalWidth];
    TextCopy(old, kJournalWidth, JournalRead(dir, section, key, ""));
    if (old[0] != 0) return;
    char path[kDirWidth];
    if (!JournalPath(path, dir)) return;
    // A line break would end the value's line and let the rest of it read as new keys or
    // sections of the script. A read gives back at most 127 characters, and a value kept
    // inside quotes needs two of them.
    char flat[kJournalWidth - 2];
    TextCopy(flat, kJournalWidth - 2, value != nullptr ? value : "");
    TextFlattenLines(flat);
    char line[kJournalWidth];
    JournalQuoteValue(line, kJournalWidth, flat);
    WritePrivateProfileStringA(section, key, line, path);
}
