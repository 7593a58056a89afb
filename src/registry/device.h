// Mouse device detection: finds the mouse's node in the running configuration
// (HKEY_DYN_DATA\Config Manager\Enum), updates its device key below HKLM\Enum or creates a
// serial device key of the package's own, and binds the driver class key to it.
#pragma once

enum {
    kHardwareKeyWidth = 80,  // the hardware-key buffer, also used for the Driver value
};

// Returns 1 when some device node's HardWareKey contains identifier (byte for byte, case
// sensitive); hardwareKey (80 characters) then holds the last such value in enumeration
// order. Returns 0 and leaves hardwareKey as it was otherwise. A value too long to name a
// device key below HKLM\Enum never matches.
int FindDeviceNode(const char* identifier, char* hardwareKey);

// The device step: probes the PS/2 and serial identifiers, then updates the device key for
// the mouse type in MouseKind, journalling its old values into the journal of journalDir,
// or creates the package's own serial device key. A value whose old content the journal
// could not record is left as it was; *journalled (when not null) is then 0, otherwise 1.
// Returns the mouse type of the branch that ran (JOURNAL_SECTION_PS2 or
// JOURNAL_SECTION_SERIAL), "" when none did.
const char* RegisterMouseDevice(const char* journalDir, int* journalled = nullptr);
