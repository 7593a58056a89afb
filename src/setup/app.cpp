#include <windows.h>

#include "setup/app.h"

HINSTANCE AppInstance;
int16_t ScreenWidth;
int16_t ScreenHeight;
int32_t BackAllowed = 1;
int32_t RestartChoice = 1;
