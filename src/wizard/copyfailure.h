// The copying page's question when an entry could not be copied: Abort, Retry or Ignore.
#pragma once
#include <windows.h>

#include "install/copyengine.h"

// Shows a box owned by page (caption SetupCaption, exclamation icon, Abort, Retry, Ignore)
// that names the entry's source file and destination path and says why it failed, and
// turns the answer into the engine's: Abort also sets PageResult to 0, as Cancel does. An
// entry that names no source is no failure: it goes on without a box.
CopyAnswer AskAboutFailedEntry(HWND page, const CopyFailureReport* failure);
