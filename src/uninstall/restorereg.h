// The registry part of the uninstaller: the values that the journal recorded go back, the
// keys that setup created go away, and so do the product's entries.
#pragma once

// Restores the device and class keys named by the journal ([PS2] and [Serial] of
// InstallDir\SETUP.INF), deletes the own serial device key and every mouse class key that
// carries this package's driver texts and that neither the journal restores nor another
// device names, then the product entries. Reads DriverProfile; reports nothing.
void RestoreRegistry();
