// The whole installation without any window: what the copying page and the completion after
// it do, for a caller that shows no page.
#pragma once

#include "install/copyengine.h"

// Creates the subdirectories, copies every entry (reporting to caller, which may be null),
// registers the product, and after a copy that was not stopped switches the mouse line of
// system.ini (not when the registration left the driver unswitched: DriverSwitched). Returns 1 when the installation went through, 0 when the copy was stopped.
int RunInstallation(const CopyCaller* caller);
