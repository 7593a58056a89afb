// The registry part of the uninstaller: the values that the journal recorded go back, the
// keys that setup created go away, and so do the product's entries.
#pragma once

// Restores the device and class keys named by the journal ([PS2] and [Serial] of
// InstallDir\SETUP.INF): a device key below "Enum\" and a mouse driver class key only, and
// only the seven values the journal holds. Deletes the own serial device key and every mouse
// class key that carries this package's driver texts and that neither the journal restores
// nor another device names, then the product entries. Reads DriverProfile; reports nothing.
void RestoreRegistry();

// The keys that the journal named and RestoreRegistry left alone, "; " between them; empty
// when there were none.
const char* JournalKeysLeftAlone();
