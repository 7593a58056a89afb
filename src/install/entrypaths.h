// Paths of the copy engine, composed from the install model. A path that does not fit its
// 80-character buffer is never cut into another path: the buffer is left empty and the
// result is 0, and the entry then fails as if the platform had refused the path.
#pragma once

// SourceDir \ DirName \ SourceFile of entry `index` (from 0) of disk `disk` (from 0).
int MakeSourcePath(char* buffer, int disk, int index);

// InstallDir \ DestDir \ DestFile, or DestDir \ DestFile for an absolute DestDir. A separator
// is written even before an empty part, so an entry without a directory gets a doubled
// backslash, which the platform accepts.
int MakeDestPath(char* buffer, int disk, int index);

// InstallDir \ DirTable[key]; 0 with an empty buffer for an empty value or one that does not fit.
int MakeSubDirPath(char* buffer, int key);
