// Loads SETUP.INF beside the running program into the install model.
#pragma once

// Fills the install model. Requires AppInstance and WindowsDir. Returns 1 when the model
// is ready, 0 when the file table cannot be obtained or the script lists more than
// 32767 file lines.
int LoadSetupScript();

// Gives the file table back; no FileEntry may be used afterwards.
void ReleaseFileTable();
