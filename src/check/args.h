// The checker's command line: [--quiet | --plan] PACKAGE-DIRECTORY. No Windows call.
#pragma once

// Reads the command-line tail: "--quiet" (or "-q"), "--plan" (when plan is not null) and
// one directory, which may be quoted. The directory loses its trailing backslashes, as a
// program's own directory has none ("A:\" becomes "A:"). Returns 1 when the tail holds just
// that and the directory fits width, else 0.
int ParseCheckArgs(const char* tail, int* quiet, char* dir, int width, int* plan = nullptr);
