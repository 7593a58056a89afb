// Whole-program runs of SETUP.EXE on the virtual machine: the sample package assembled into
// the machine, mice seeded into its configuration, the wizard walked to its end, and the
// machine put back as the template had it between runs.
#pragma once
#include <windows.h>

#include <string>

#include "resource.h"
#include "support/ui.h"

// ---- packages ----

// Assembles the sample package (demo/make-package) as C:\<name>; the Windows path of its
// SETUP.EXE, or "" on failure.
std::string MakeSamplePackage(const std::string& name);

// A file of the sample package's sources (demo/package/<relative>), as a Windows path.
std::string SampleSource(const std::string& relative);

// A Windows tool of ours (out/x86_64/tools/<name>), as a Windows path.
std::string ToolPath(const std::string& name);

// ---- the machine ----

// The running configuration gets a few device nodes that are no mouse (the system board,
// the keyboard, a serial port, a PCI device).
void SeedOtherDevices();

// A PS/2 mouse as Windows 98 sets it up: device node with hardware key
// "BIOS\*PNP0F13\0000", its device key (DeviceDesc, Mfg, Driver "Mouse\0000", Class) and
// its driver class key Mouse\0000 with the standard driver's values.
void SeedPs2Mouse();

// A serial mouse found by the root enumerator: hardware key "ROOT\*PNP0F0C\0000", its
// device key with Driver "Mouse\0001" and that class key.
void SeedSerialMouse();

// Removes what the program writes and the tests seed: the running configuration, device
// and class keys, the product entries, the installation directory C:\QORVA, the files of
// the Windows directories, C:\QXMAIN.LOG; restores system.ini and VMM32\VMOUSE.VXD.
void ResetMachine();

// The machine's Windows and system directories, as the program under test gets them.
std::string WindowsPath();
std::string SystemPath();

// Where the template keeps the stand-alone virtual mouse driver.
std::string VmouseDir();

// ---- the wizard ----

// Walks a started SETUP.EXE from the welcome page to the end with Next on every page,
// choosing the mouse (IDC_PS2 or IDC_SERIAL) and, on the finish page, IDC_RESTART_NOW or
// IDC_RESTART_LATER. Returns "" when the program ended with code 0, otherwise where the
// walk stopped.
std::string WalkWizard(RunningProgram& setup, int mouseChoice, int restartChoice);

// Starts the package's SETUP.EXE and walks it; "" on success, as WalkWizard.
std::string InstallWith(const std::string& setupExe, int mouseChoice,
                        int restartChoice = IDC_RESTART_LATER);
