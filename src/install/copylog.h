// What the copy engine tells the log (texts/log.h) of a run: every file written, every
// failed entry with the answer it got. Nothing is written while no log is open.
#pragma once

#include "install/copyengine.h"

// "file <source> -> <dest>, <bytes> bytes, new" (or "replaced an existing file").
void LogFileWritten(const char* source, const char* dest, long bytes, int existedBefore);

// A file that is its own destination (the package's own directory): left in place.
void LogFileInPlace(const char* dest);

// "error: <why>: <source> -> <dest>", then "answer: go on" (retry, abort).
void LogEntryFailed(const CopyFailureReport* failure, CopyAnswer answer);
