// What the copy engine tells the log (texts/log.h) of a run: every file written, every
// failed entry with the answer it got. Nothing is written while no log is open.
#pragma once

#include "install/copyengine.h"

// "file <source> -> <dest>, <bytes> bytes, new" (or "replaced an existing file").
void LogFileWritten(const char* source, const char* dest, long bytes, int existedBefore);

// An entry that names no source file (its line missing or without one): nothing is copied.
void LogEntrySkipped(const FileEntry& e);

// A file that is its own destination (the package's own directory): left in place.
void LogFileInPlace(const char* dest);

// The entry's source and destination as the script composes them, into source and dest
// (width wide, MAX_PATH and more): a path too long for the copy is shown whole, not empty.
void EntryPathsShown(const FileEntry& e, char* source, char* dest, int width);

// "error: <why>: <source> -> <dest>", then "answer: go on" (retry, abort). A path that did
// not fit the copy's width is logged whole all the same.
void LogEntryFailed(const CopyFailureReport* failure, CopyAnswer answer);
