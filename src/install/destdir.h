// The checks of an installation directory, without a window: the destination page and an
// unattended run apply the same ones, in the same order.
#pragma once

enum DestinationVerdict {
    DestinationAccepted = 0,
    DestinationBadForm,     // not "X:\..."
    DestinationNoSpace,     // its drive has less than MinimumSpace kilobytes free, or none to tell
    DestinationNotCreated,  // new, and it (or a level above it) cannot be created
};

#include "script/model.h"

namespace Shared {
// The first (outermost) level of the installation directory that AcceptDestination
// created, in full form, before any log could be written in it: every level below it down to
// the installation directory was created too. Empty when it created none. The run's log
// notes each of them as the run's own.
extern char CreatedInstallDir[kDirWidth];
}  // namespace Shared

// Checks dir (form, free space) and creates it when it is new, with every level above it
// that is missing.
DestinationVerdict AcceptDestination(const char* dir);

// Creates each missing level of dir (full form), the outermost first; the first one created
// goes into firstMade (width wide; empty when all stood). When a level cannot be created, the
// levels made so far are taken away again and 0 is returned.
int CreateDirectoryLevels(const char* dir, char* firstMade, int width);
