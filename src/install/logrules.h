// The lines of the install log, INSTALL.LOG in the installation directory: one line for each
// step setup takes, written before the step, so that whatever happens to the run the log
// says what may have been done. No Windows calls.
//
// A line is a word, a blank and its parts, the two paths of a file step joined by "|" (a
// character no path holds), and ends in CR LF:
//
//   Directory C:\QORVA                  the installation the log belongs to (the first line)
//   Run                                 a run of setup begins
//   Dir C:\QORVA\HELP                   a directory is about to be created
//   Work C:\QORVA\~SUWORK               a work directory (temporary files) is about to be created
//   Make C:\QORVA\A.EXE                 a new file is about to be created at A.EXE, if none stands
//   New C:\QORVA\A.EXE                  ...it was: the run writes its data there
//   New C:\QORVA\A.EXE|C:\...\T1.TMP    the whole new file T1 is about to take the name A.EXE
//   Keep C:\QORVA\A.EXE|C:\...\K1.TMP   the file that stands at A.EXE is about to be kept as K1
//   Drop C:\QORVA\A.EXE                 what the lines before said of A.EXE did not happen
//   Queue C:\...\A.DRV|C:\...\~SU1.TMP  A.DRV is in use: ~SU1.TMP replaces it at the next start
//   Shared C:\WINDOWS\SYSTEM\A.DRV|2    its use count (2 before; "-" for none) is about to grow
//   Done                                every file is in place: the run's copy is complete
//   Registry                            the product's registry entries are about to be written
//   Mouse mouse=*vmd,msmouse.vxd        the [386Enh] mouse line before setup first switched it
//   SysBak New                          system.bak is about to be made ("Old": replaced)
//   Vxd C:\WINDOWS\SYSTEM\VMM32\VMOUSE.VXD   about to be set aside as VMOUSE.BAK
//   Undone                              the run was stopped and what it did was put back
//
// The log only grows. A last line without its line end was torn by a crash and is ignored.
// Consecutive file lines (Make, New, Keep, Drop, Queue) about one path describe one step; the
// last of them says what the run did to the path.
#pragma once

extern const char kLogFileName[];  // "INSTALL.LOG"
extern const char kWorkDirName[];  // "~SUWORK"

enum LogWord {
    LogNone = 0,  // not a line of the log (torn, unknown or too long)
    LogDirectory,
    LogRun,
    LogDir,
    LogWork,
    LogNew,
    LogKeep,
    LogDrop,
    LogQueue,
    LogShared,
    LogDone,
    LogRegistry,
    LogMouse,
    LogSysBak,
    LogVxd,
    LogUndone,
    LogMake,
};

// "Word a|b" and CR LF into out (a and b may be null). 0 with out empty when it does not fit
// width, or when a part holds a line break or a first part of two holds "|".
int MakeLogLine(char* out, int width, LogWord word, const char* a = nullptr,
                const char* b = nullptr);

// Makes the bytes of a log file a block of zero-ended lines that ends with an empty one, in
// place: bytes has room for length + 2. Line ends (LF, CR LF) go, empty lines go, and a last
// line without its line end is dropped.
void LogBlockFromBytes(char* bytes, long length);

// The word of a line of a block, its first part into a and its second into b (widths
// count the zero; either may be null). LogNone, with a and b empty, for a line that is none
// of the log's or whose parts do not fit.
LogWord SplitLogLine(const char* line, char* a, int aWidth, char* b = nullptr, int bWidth = 0);

// The line after line in a block, or null when line is the last.
const char* NextLogLine(const char* line);

// The Run line of the last run when that run has neither Done nor Undone (it was stopped,
// or killed): the run to put back. Null otherwise, and for an empty block.
const char* OpenRun(const char* block);

// 1 when the run that starts at runLine reached Done.
int RunCommitted(const char* runLine);

// 1 when line says what an entry did to its path: 0 when the next line is the same entry's
// later step on that path ("Make" then "New": the file was made; "New" then "Keep" or
// "Queue": a file stood there; anything then "Drop": the step did not happen). Two entries
// with one destination each decide: undone from the last, they put back what stood before
// the first. 1 for every other line.
int LineDecides(const char* line);

// 1 when a committed run of the block has a line with word (the first Mouse line, the
// first SysBak line). With value, the first such line's part goes there (width wide).
int CommittedLine(const char* block, LogWord word, char* value = nullptr, int width = 0);
