// Product registration: the property-page extension, the Run and Uninstall entries (with
// a non-zero withProductEntries) and, always, the mouse device step, which journals the
// values it replaces into the SETUP.INF of journalDir.
#pragma once

namespace Shared {
// 0 after a registration that left a value of the mouse driver as it was because the
// journal could not record its old content: the driver is not switched. 1 otherwise.
extern int DriverSwitched;
}  // namespace Shared

// Sets DriverSwitched, and returns it.
int RegisterProduct(int withProductEntries, const char* journalDir);

// Width of a composed product value (InstallDir followed by a file name): InstallDir (at
// most 79 characters) and the longest appended text fit whole.
enum { kProductValueWidth = 128 };
