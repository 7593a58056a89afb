// SETUPCHK.EXE: checks a package directory and reports what SETUP.EXE will do with it.
#pragma once

// Checks the package in dir, reporting through report.h (ReportBegin first).
void CheckPackage(const char* dir);

// The program: the command-line tail in, the exit code out (0 clean, 1 warnings, 2 errors
// or a bad command line). Writes the report to standard output.
int ConsoleMain(const char* tail);
