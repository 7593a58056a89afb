#include "install/copylog.h"

#include "runtime/text.h"
#include "texts/log.h"

void LogFileWritten(const char* source, const char* dest, long bytes, int existedBefore) {
    if (!LogActive()) return;
    char number[24];
    TextFromInt(number, static_cast<int>(sizeof(number)), bytes);
    LogLine("file ", source, " -> ", dest, ", ", number,
            existedBefore ? " bytes, replaced an existing file" : " bytes, new");
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
    default:
        return "error: ";
    }
}

void LogEntryFailed(const CopyFailureReport* failure, CopyAnswer answer) {
    LogLine(FailureText(failure->Why), failure->Source, " -> ", failure->Dest);
    LogLine(answer == CopyRetry   ? "answer: retry"
            : answer == CopyAbort ? "answer: abort"
                                  : "answer: go on");
}
