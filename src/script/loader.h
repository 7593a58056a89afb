// Loads a package's SETUP.INF into the install model.
#pragma once

// Fills the install model from DIR\SETUP.INF; SourceDir becomes packageDir. A file table
// of an earlier load is given back first. Requires AppInstance and WindowsDir. Returns 1
// when the model is ready, 0 when the directory (with "\SETUP.INF") does not fit the model,
// the file table cannot be obtained or the script lists more than 32767 file lines.
int LoadSetupScriptFrom(const char* packageDir);

// The same for the directory of the running program: what SETUP.EXE loads.
int LoadSetupScript();

// The platform's programs directory (kDirWidth), below which a DefaultPath without a drive
// goes, or "C:\Program Files" when it cannot be read whole.
void ReadProgramsDir(char* out);

// The string-table ids of the [Startup] keys, in the order of DriverProfileModel: Title
// (kTitleWidth wide), then the others (kProfileWidth).
enum { kProfileKeyCount = 9 };
extern const unsigned kProfileKeyIds[kProfileKeyCount];

// Gives the file table back; no FileEntry may be used afterwards.
void ReleaseFileTable();
