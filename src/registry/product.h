// Product registration: the property-page extension, the Run and Uninstall entries (with
// a non-zero argument) and, always, the mouse device step.
#pragma once

void RegisterProduct(int withProductEntries);

// Width of a composed product value (InstallDir followed by a file name): InstallDir (at
// most 79 characters) and the longest appended text fit whole.
enum { kProductValueWidth = 128 };
