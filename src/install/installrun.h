// The whole installation without any window: what the copying page and the completion after
// it do, for a caller that shows no page.
#pragma once

#include "install/copyengine.h"

// Creates the subdirectories, copies every entry (reporting to caller, which may be null),
// and after a copy that was not stopped registers the product and switches the mouse line of
// system.ini (not when the registration left the driver unswitched: DriverSwitched), every
// step written to log first. Returns 1 when the installation went through, 0 when the copy
// was stopped and put back.
int RunInstallation(const CopyCaller* caller, InstallLog* log);
