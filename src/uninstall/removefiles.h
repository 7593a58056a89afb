// The files of the installation, as the install log beside the uninstaller (and the record of
// a setup from before the log, section [Installed] of SETUP.INF) names them: what setup made
// goes, what stood there before stays.
#pragma once

// The uninstaller's side of the removal walk: what it asks and shows. Null functions are not
// called; a null caller is an unattended one.
struct RemovalCaller {
    void* Context;
    // A shared file that no program counts any more: 1 to remove it, 0 to keep it.
    int (*RemoveUnusedShared)(void* context, const char* path);
};

// Puts back a run of setup in InstallDir that never ended (killed, a reset). Returns 1 when
// there was one.
int UndoInterruptedSetup();

// Reads the record of the installation in InstallDir. Returns 0, holding nothing, when there
// is none or it belongs to another directory (a package's script, a copied SETUP.INF).
int LoadInstallRecord();

// The mouse line of [386Enh] before setup first switched it, into out (width wide, without a
// line end); 0 when the record has none (a setup from before the log).
int RecordedMouseLine(char* out, int width);

// 1 when the record says that setup made system.bak (none stood there before).
int SetupMadeSystemBak();

// Removes the files that the record says setup made, takes this installation off the count
// of each shared file (one that no program uses any more goes only when the caller agrees),
// removes the work directories of setup, the install log, and the directories setup created,
// the last created first, where they are empty. A file that cannot be removed now (in use,
// such as the running uninstaller) is queued for removal at the next start of Windows. A file
// that can neither go nor be queued stays: its path goes into left (width wide), one a line,
// "..." when no more fit. Lets go of the record. Returns the number of files that stay.
int RemoveInstalledFiles(const RemovalCaller* caller, char* left, int width);
