#include "script/fileline.h"

#include "runtime/text.h"

const char* SplitField(const char* pos, char* field) {
    int len = 0;
    int leading = 1, cut = 0;
    while (*pos != 0 && *pos != ',') {
        char c = *pos++;
        if (leading && c == ' ') continue;
        leading = 0;
        if (len < kLineWidth - 1)
            field[len++] = c;
        else
            cut = 1;
    }
    if (*pos == ',') ++pos;
    while (len > 1 && field[len - 1] == ' ') --len;
    field[len] = 0;
    if (cut) TextDropTornCharacter(field);
    return pos;
}

// The destination directory of DirKey k, or 0 when it does not fit the entry.
static int EntryDirectories(int k, const char dirTable[kDirKeyCount][kDirWidth],
                            const char* windowsDir, FileEntry* e) {
    if (!TextCopy(e->DirName, kEntryDirWidth, dirTable[k])) return 0;
    int fits = 1;
    switch (k) {
    case DirKeyWin:
        fits = TextJoin(e->DestDir, kEntryDirWidth, windowsDir, nullptr);
        break;
    case DirKeyWinSystem:
        fits = TextJoin(e->DestDir, kEntryDirWidth, windowsDir, "\\SYSTEM");
        break;
    case DirKeyWinInf:
        fits = TextJoin(e->DestDir, kEntryDirWidth, windowsDir, "\\INF");
        break;
    default:
        fits = TextCopy(e->DestDir, kEntryDirWidth, dirTable[k]);
        break;
    }
    e->DestIsAbsolute = (k >= DirKeyWin) ? 1 : 0;
    return fits;
}

void ParseFileLine(const char* line, const char* const keyNames[kDirKeyCount],
                   const char dirTable[kDirKeyCount][kDirWidth], const char* windowsDir,
                   FileEntry* e) {
    char field[kLineWidth];
    const char* pos = SplitField(line, field);
    int fits = TextCopy(e->SourceFile, kFileNameWidth, field);
    pos = SplitField(pos, field);
    fits &= TextCopy(e->DestFile, kFileNameWidth, field);
    pos = SplitField(pos, field);
    TextCopy(e->Description, kDescriptionWidth, field);  // shown only: cutting it is harmless
    SplitField(pos, field);

    for (int k = 0; k < kDirKeyCount; ++k) {
        if (keyNames[k] == nullptr || !TextEqualNoCase(field, keyNames[k])) continue;
        fits &= EntryDirectories(k, dirTable, windowsDir, e);
        break;
    }
    // A file name or directory cut short would name another file: such an entry keeps
    // only its description, and the copy reports it as a failure.
    e->NameTooLong = fits ? 0 : 1;
    if (!fits) {
        e->DirName[0] = 0;
        e->DestDir[0] = 0;
        e->SourceFile[0] = 0;
        e->DestFile[0] = 0;
        e->DestIsAbsolute = 0;
    }
}
