#include <windows.h>

#include "install/wininit.h"

#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/model.h"
#include "install/wininitrule.h"

enum {
    kPieceWidth = 512,
    kQueueLineWidth = kDirWidth + 8,
    kReplaceLineWidth = 2 * kDirWidth + 4,
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

// The short form of path (what the start-up reads) into out (kDirWidth wide); path itself
// when it has none. 0 when neither fits: a cut path would name another file.
static int ShortPath(char* out, const char* path) {
    DWORD n = GetShortPathNameA(path, out, kDirWidth);
    if (n > 0 && n < kDirWidth) return 1;
    return TextCopy(out, kDirWidth, path);
}

// Puts line into [rename] of wininit.ini. Returns 1 when it is in place.
static int QueueLine(const char* line) {
    char iniPath[kDirWidth], newPath[kDirWidth], oldPath[kDirWidth];
    if (line[0] == 0 || !TextJoin(iniPath, kDirWidth, Shared::WindowsDir, "\\wininit.ini") ||
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

int UnqueueReplaceAtRestart(const char* target, const char* source) {
    char shortTarget[kDirWidth], shortSource[kDirWidth], line[kReplaceLineWidth];
    char iniPath[kDirWidth], newPath[kDirWidth], oldPath[kDirWidth];
    if (!ShortPath(shortTarget, target) || !ShortPath(shortSource, source) ||
        !RenameReplaceLine(line, kReplaceLineWidth, shortTarget, shortSource) ||
        !TextJoin(iniPath, kDirWidth, Shared::WindowsDir, "\\wininit.ini") ||
        !TextJoin(newPath, kDirWidth, Shared::WindowsDir, "\\wininit.new") ||
        !TextJoin(oldPath, kDirWidth, Shared::WindowsDir, "\\wininit.old"))
        return 0;
    TextFile ini, out;
    if (!TextFileOpenRead(&ini, iniPath)) return 0;
    if (!TextFileOpenWrite(&out, newPath)) {
        TextFileClose(&ini);
        return 0;
    }
    int found = 0;
    char piece[kPieceWidth];
    int n;
    while ((n = TextFileReadPiece(&ini, piece, kPieceWidth)) > 0) {
        if (!found && TextEqualNoCase(piece, line))
            found = 1;
        else
            TextFileWrite(&out, piece, n);
    }
    int complete = TextFileClose(&ini);
    if (!TextFileClose(&out)) complete = 0;
    if (!found || !complete || !TextFileReplace(iniPath, newPath, oldPath)) {
        DeleteFileA(newPath);
        return 0;
    }
    DeleteFileA(oldPath);
    return 1;
}

int QueueRemovalAtRestart(const char* path) {
    char shortPath[kDirWidth];
    char line[kQueueLineWidth];
    if (!ShortPath(shortPath, path) || !RenameDeleteLine(line, kQueueLineWidth, shortPath))
        return 0;
    return QueueLine(line);
}

int QueueReplaceAtRestart(const char* target, const char* source) {
    char shortTarget[kDirWidth], shortSource[kDirWidth];
    char line[kReplaceLineWidth];
    if (!ShortPath(shortTarget, target) || !ShortPath(shortSource, source) ||
        !RenameReplaceLine(line, kReplaceLineWidth, shortTarget, shortSource))
        return 0;
    return QueueLine(line);
}
