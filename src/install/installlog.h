// The install log of a run of setup (format in logrules.h): INSTALL.LOG in the installation
// directory, a line appended before each step and handed to the system before the step is
// taken. Its owner (the setup driver) creates it, starts it once the installation directory
// is known, and closes it at the end of the run; the copy engine, the system.ini switch and
// the undo write to it through the pointer they are given.
#pragma once
#include <windows.h>

#include "install/logrules.h"
#include "script/model.h"

struct InstallLog {
    HANDLE file;              // open for appending; INVALID_HANDLE_VALUE when closed
    char path[MAX_PATH];      // InstallDir\INSTALL.LOG
    char dir[kDirWidth];      // the installation directory, full form
    char* earlier;            // the log as it stood when the run started (a block), or null
    char* oldRecord;          // [Installed] of a setup from before the log, or null
    char work[2][MAX_PATH];   // this run's work directories: on the installation's drive and
                              // on the Windows drive; empty until made
    long names;               // temporary names given out
    long kept;                // files kept for the undo
    int reinstall;            // an earlier installation completed here: most files stand
};

namespace Shared {
// The log of the run under way, owned by WinMain; null in the -u mode.
extern InstallLog* RunLog;
}  // namespace Shared

// A log that is not open.
void InstallLogInit(InstallLog* log);

// Starts the run's log in installDir: a run of an earlier setup that never ended (killed, a
// reset) is put back first, with the temporary files of earlier runs; the directory is made,
// level by level, when it is missing; the log is made when there is none (or it belongs to
// another directory); then "Run", and a "Dir" line for each level this run made (createdDir
// names the first level made before the log could exist, or is empty), the outermost first.
// Returns 1 when the log is open.
int InstallLogStart(InstallLog* log, const char* installDir, const char* createdDir);

// Appends one line and hands it to the system. Returns 1 when the whole line is written; on
// 0 the step must not be taken (a line cut short is taken off the file again).
int InstallLogWrite(InstallLog* log, LogWord word, const char* a = nullptr,
                    const char* b = nullptr);

// 1 when a committed earlier run (or the record of a setup before the log) made path.
int InstallLogEarlierHolds(const InstallLog* log, const char* path);

// 1 when a committed earlier run recorded a line with word (the first mouse line, system.bak).
int InstallLogEarlierHas(const InstallLog* log, LogWord word);

// Closes the file and lets go of what was read. Safe on a log never started.
void InstallLogClose(InstallLog* log);

// A new empty file in the work directory of destPath's drive, made when needed (and logged
// before); its name into temp (MAX_PATH wide). INVALID_HANDLE_VALUE when none can be made.
HANDLE CreateWorkFile(InstallLog* log, const char* destPath, char* temp);

// A name in the work directory of destPath's drive under which the file at destPath can be
// kept (nothing stands there), into kept (MAX_PATH wide). 0 when there is none.
int MakeKeptName(InstallLog* log, const char* destPath, char* kept);

// The log file at path as a block of lines (logrules.h); the caller frees it with
// GlobalFree. Null when it cannot be read. lines gets the number of lines when not null.
char* ReadLogBlock(const char* path, long* lines = nullptr);

// 1 when the block's Directory line names dir (full form).
int LogBelongsTo(const char* block, const char* dir);
