// Path rules of the loader that need no Windows call.
#pragma once

// Cuts a module path at its last backslash (scanning from the last character back to the
// second; a backslash in the first position is never cut), leaving the directory.
void CutAtLastBackslash(char* path);

// 1 when the DefaultPath value v names a drive: longer than two characters, a colon in
// second place. It then keeps its path on the Windows drive; otherwise it goes below the
// programs directory.
int DefaultPathHasDrive(const char* v);

// InstallDir from the DefaultPath value v. A value longer than two characters with a colon
// in second place keeps its path on the drive of windowsDir; anything else goes below
// programsDir behind one backslash. Returns 0 and leaves installDir empty when the result
// does not fit kDirWidth.
int ComposeInstallDir(char* installDir, const char* v, const char* windowsDir,
                      const char* programsDir);
