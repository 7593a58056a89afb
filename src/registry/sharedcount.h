// The use counts of shared files that Windows 95 asks every installer to keep: one REG_DWORD
// per file below HKLM\...\CurrentVersion\SharedDLLs, named by the file's full path.
#pragma once

// Adds this installation to the count of the file at path. A file that stood there without
// a count is counted 1 first, for whoever put it there, so that an uninstall leaves it.
void AddSharedUse(const char* path, int stood);

// Takes this installation off the count of the file at path and returns what is left: 0
// when no program is counted any more (the value then holds 0), -1 when the file has no
// count at all (it is then left as it is).
long ReleaseSharedUse(const char* path);

// Deletes the count of a file that has gone.
void ForgetSharedUse(const char* path);

// The count of the file at path; -1 when it has none.
long SharedUseCount(const char* path);

// Sets the count of the file at path back to count; -1 deletes it.
void SetSharedUseCount(const char* path, long count);
