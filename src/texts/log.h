// The plain-text log of a run started with /LOG=<file>: one line for each thing done, for
// an administrator to read after an unattended installation. Nothing is written while no
// log is open, so callers log without asking first.
#pragma once

// Creates the log file, emptying one that exists. 1 when it is open for writing.
int LogOpen(const char* path);

// 1 while a log is open.
int LogActive();

// Writes one line made of the given parts, each written as it is, however long: nothing is
// cut, so a path never runs into another. The line reaches the file before this returns.
void LogLine(const char* a, const char* b = nullptr, const char* c = nullptr,
             const char* d = nullptr, const char* e = nullptr, const char* f = nullptr,
             const char* g = nullptr, const char* h = nullptr);

// LogLine with a number as the last part.
void LogLineNumber(const char* a, const char* b, long value);

// Closes the log. 1 when every line reached the file.
int LogClose();
