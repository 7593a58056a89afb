// The [386Enh] mouse line of system.ini and the stand-alone VMOUSE.VXD.
#pragma once

// Switches the mouse line to "mouse=*vmouse" (old file kept as system.bak) and sets
// VMM32\VMOUSE.VXD aside as VMOUSE.BAK. 0 when that rename succeeded, -1 otherwise.
int PatchSystemIni();
