#include "install/copylog.h"

#include "runtime/text.h"
#include "script/model.h"
#include "texts/log.h"

enum { kShownPathWidth = 300 };  // beyond any composed path: directories 79, 39, names 14

void LogFileWritten(const char* source, const char* dest, long bytes, int existedBefore) {
    if (!LogActive()) return;
    char number[24];
    TextFromInt(number, static_cast<int>(sizeof(number)), bytes);
    LogLine("file ", source, " -> ", dest, ", ", number,
            existedBefore ? " bytes, replaced an existing file" : " bytes, new");
}

void LogEntrySkipped(const FileEntry& e) {
    LogLine("nothing to copy: the entry names no source file: \"", e.Description, "\"");
}

void LogFileInPlace(const char* dest) {
    LogLine("file ", dest, " is the package's own: left in place");
}

// What an entry's failure was, in words.
static const char* FailureText(CopyFailure why) {
    switch (why) {
    case CopyFailedSource:
        return "error: the source cannot be opened: ";
    case CopyFailedDest:
        return "error: the destination cannot be created or written: ";
    case CopyFailedShort:
        return "error: the data did not arrive whole: ";
    case CopyFailedTooLong:
        return "error: a path is longer than 79 characters: ";
    case CopyFailedNameTooLong:
        return "error: a file name is longer than 14 characters or a directory than 39: ";
    default:
        return "error: ";
    }
}

void EntryPathsShown(const FileEntry& e, char* source, char* dest, int width) {
    TextJoin(source, width, Shared::SourceDir, "\\", e.DirName, "\\", e.SourceFile);
    if (e.DestIsAbsolute != 0)
        TextJoin(dest, width, e.DestDir, "\\", e.DestFile);
    else
        TextJoin(dest, width, Shared::InstallDir, "\\", e.DestDir, "\\", e.DestFile);
}

void LogEntryFailed(const CopyFailureReport* failure, CopyAnswer answer) {
    // The line's names are not known: its description says which entry it is.
    if (failure->Why == CopyFailedNameTooLong) {
        LogLine(FailureText(failure->Why), "\"", failure->Entry->Description, "\"");
    } else {
        char source[kShownPathWidth], dest[kShownPathWidth];
        EntryPathsShown(*failure->Entry, source, dest, kShownPathWidth);
        LogLine(FailureText(failure->Why), failure->Source[0] != 0 ? failure->Source : source,
                " -> ", failure->Dest[0] != 0 ? failure->Dest : dest);
    }
    LogLine(answer == CopyRetry   ? "answer: retry"
            : answer == CopyAbort ? "answer: abort"
                                  : "answer: go on");
}
