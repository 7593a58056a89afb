// Which [386Enh] mouse line the uninstaller writes back. No Windows calls.
#pragma once

// The line that setup wrote, without its LF.
extern const char kSetupMouseLine[];  // "mouse=*vmouse"
// Windows' own mouse line, for when the backup holds setup's line (a second installation).
extern const char kDefaultMouseLine[];  // "mouse=*vmouse, msmouse.vxd\n"

// The line to write in place of setup's: backupLine (the mouse line of system.bak, as read)
// ending in a LF, or kDefaultMouseLine when backupLine is setup's own line. Returns 0 with
// out empty when the result does not fit width.
int RestoredMouseLine(char* out, int width, const char* backupLine);
