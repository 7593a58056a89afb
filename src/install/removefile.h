// Removing one file of an installation, for the uninstaller and for the undo of a run.
#pragma once

// Deletes the file at path, read-only or not; one that cannot go now (in use, such as the
// running uninstaller) is queued for removal at the next start of Windows. Returns 1 when
// it is gone or queued (or was not there), 0 when it stays.
int RemoveFileOrQueue(const char* path);
