// Putting back a run of setup that did not complete: stopped by the user (Cancel, Abort),
// unable to write its log, or killed. Everything comes from the install log; the undo can
// itself be interrupted and run again.
#pragma once

struct InstallLog;

// Puts back the last run of the log at logPath when it has neither Done nor Undone: files it
// made go, files it replaced come back from where they were kept, use counts return to their
// earlier values, then "Undone" is written, the work directories go, the log itself goes when
// no run of it completed, and the directories the run made go, the last made first. Returns
// 1 when there was such a run.
int UndoOpenRun(const char* logPath);

// Removes every work directory the block names, with the files and kept files in it.
void RemoveWorkDirectories(const char* block);

// Removes the work directory dir with what is in it; nothing for a directory of another name.
void RemoveWorkDirectory(const char* dir);

// Ends the copy of the run: a complete one gets "Done" (with 0 when that line cannot be
// written, and the run is then put back as a stopped one is) and its kept files go; a stopped
// one is put back. The log is closed either way. Returns 1 when the copy stands.
int FinishCopy(InstallLog* log, int completed);
