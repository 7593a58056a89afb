#include <windows.h>

#include "uninstall/wininit.h"

#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/model.h"
#include "uninstall/wininitrule.h"

enum {
    kPieceWidth = 512,
    kQueueLineWidth = kDirWidth + 8,
};

// Copies wininit.ini to out with line after the [rename] header, or with the section
// added at the end. Returns 1 when everything was read; *present tells that the file holds
// the line already.
static int CopyWithLine(TextFile* out, const char* iniPath, const char* line, int* present) {
    RenameRule rule = {0, 0};
    *present = 0;
    TextFile ini;
    if (TextFileOpenRead(&ini, iniPath)) {
        char piece[kPieceWidth];
        int n;
        while ((n = TextFileReadPiece(&ini, piece, kPieceWidth)) > 0) {
            TextFileWrite(out, piece, n);
            if (TextEqualNoCase(piece, line)) *present = 1;
            if (RenameRuleInsertAfter(&rule, piece, n)) TextFileWrite(out, line, TextLength(line));
        }
        if (!TextFileClose(&ini)) return 0;
    } else if (FileExists(iniPath)) {
        return 0;  // there, but unreadable: its lines must not be lost
    }
    if (!rule.inserted) {
        if (rule.lineGoesOn) TextFileWrite(out, "\n", 1);
        TextFileWrite(out, "[rename]\n", 9);
        TextFileWrite(out, line, TextLength(line));
    }
    return 1;
}

int QueueRemovalAtRestart(const char* path) {
    char shortPath[kDirWidth];
    DWORD n = GetShortPathNameA(path, shortPath, kDirWidth);
    if (n == 0 || n >= kDirWidth) TextCopy(shortPath, kDirWidth, path);
    char line[kQueueLineWidth];
    char iniPath[kDirWidth], newPath[kDirWidth], oldPath[kDirWidth];
    if (!RenameDeleteLine(line, kQueueLineWidth, shortPath) ||
        !TextJoin(iniPath, kDirWidth, Shared::WindowsDir, "\\wininit.ini") ||
        !TextJoin(newPath, kDirWidth, Shared::WindowsDir, "\\wininit.new") ||
        !TextJoin(oldPath, kDirWidth, Shared::WindowsDir, "\\wininit.old"))
        return 0;

    TextFile out;
    if (!TextFileOpenWrite(&out, newPath)) return 0;
    int present = 0;
    int complete = CopyWithLine(&out, iniPath, line, &present);
    if (!TextFileClose(&out)) complete = 0;
    if (!complete || present) {
        DeleteFileA(newPath);
        return complete;
    }
    if (!FileExists(iniPath)) return MoveFileA(newPath, iniPath) ? 1 : 0;
    if (!TextFileReplace(iniPath, newPath, oldPath)) {
        DeleteFileA(newPath);
        return 0;
    }
    DeleteFileA(oldPath);
    return 1;
}
