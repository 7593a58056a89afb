// The [386Enh] mouse line of system.ini and the stand-alone VMOUSE.VXD.
#pragma once

struct InstallLog;

// Switches the mouse line to "mouse=*vmouse" (old file kept as system.bak) and sets
// VMM32\VMOUSE.VXD aside as VMOUSE.BAK. 0 when that rename succeeded, -1 otherwise: a
// convention of its own (the program's other functions give 1 for success, 0 for failure).
// With a log, each step is written there first (the mouse line before the first switch of
// the installation, whether system.bak is made or replaced, the VxD set aside); a step whose
// line cannot be written is not taken.
int PatchSystemIni(InstallLog* log = nullptr);

// Writes WindowsDir\system.ini anew with one line of [386Enh] replaced by newLine (ending
// in LF): the mouse line, or with exactLine set the line that is exactLine (without LF).
// The new file is completed as system.new first; then system.ini becomes system.bak and
// system.new takes its place, and system.ini is put back should that fail. With
// onlyWhenFound, a file without such a line is left as it is. Returns 1 when system.ini
// was replaced.
int RewriteMouseLine(const char* exactLine, const char* newLine, int onlyWhenFound);

// Copies the mouse line of [386Enh] in the file at path (the line that setup replaces),
// with its LF, into out. Returns 0 with out empty when the file cannot be read, has no
// such line, or the line does not fit width.
int ReadMouseLine(const char* path, char* out, int width);

// A switch of system.ini cut short between its two renames (a crash, a reset) leaves no
// system.ini, the one it replaced standing as system.bak: that one takes its name again, and
// the unfinished system.new goes. Returns 1 when it was put back.
int FinishInterruptedSwitch();

// VMM32\VMOUSE.BAK below the system directory becomes VMOUSE.VXD again when there is no
// VMOUSE.VXD. Returns 1 when it was renamed.
int PutVxdBack();
