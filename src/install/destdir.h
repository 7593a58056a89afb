// The checks of an installation directory, without a window: the destination page and an
// unattended run apply the same ones, in the same order.
#pragma once

enum DestinationVerdict {
    DestinationAccepted = 0,
    DestinationBadForm,     // not "X:\..."
    DestinationNoSpace,     // its drive has less than MinimumSpace kilobytes free, or none to tell
    DestinationNotCreated,  // new, and it cannot be created (only its last part is created)
};

#include "script/model.h"

namespace Shared {
// The installation directory that AcceptDestination created, before any log could be
// written in it; empty when it created none. The run's log notes it as the run's own.
extern char CreatedInstallDir[kDirWidth];
}  // namespace Shared

// Checks dir (form, free space) and creates it when it is new.
DestinationVerdict AcceptDestination(const char* dir);
