// The virtual machine around whole-program runs of SETUP.EXE: mice and other devices seeded
// into its configuration, and the machine put back as the template had it between runs.
#pragma once
#include <string>

// The running configuration gets a few device nodes that are no mouse (the system board,
// the timer, the keyboard, a serial port, a PCI device). The demo seeds its machine with
// these too (vmhelper seed), so tests and demo see one machine.
void SeedOtherDevices();

// A PS/2 mouse as Windows 98 sets it up: device node with hardware key
// "BIOS\*PNP0F13\0000", its device key (DeviceDesc, Mfg, Driver "Mouse\0000", Class,
// HardwareID, ConfigFlags) and its driver class key Mouse\0000 with the standard driver's
// values, below a Mouse class whose default value names it.
void SeedPs2Mouse();

// A serial mouse found by the root enumerator: hardware key "ROOT\*PNP0F0C\0000", its
// device key with Driver "Mouse\0001" and that class key.
void SeedSerialMouse();

// Removes what the program writes and the tests seed: the running configuration, device
// and class keys, the product entries, the shared-file counts, the installation directory C:\QORVA, the files of
// the Windows directories, C:\QXMAIN.LOG; restores system.ini and VMM32\VMOUSE.VXD.
void ResetMachine();

// Where the template keeps the stand-alone virtual mouse driver.
std::string VmouseDir();
