// Product registration: the property-page extension, the Run and Uninstall entries (with
// a non-zero argument) and, always, the mouse device step.
#pragma once

void RegisterProduct(int withProductEntries);
