#include <windows.h>

#include "install/systemini.h"

// Not built yet: system.ini is left alone.
int PatchSystemIni() { return -1; }
