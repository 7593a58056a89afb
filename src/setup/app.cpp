#include <windows.h>

#include "setup/app.h"

HINSTANCE Shared::AppInstance;
int16_t Shared::ScreenWidth;
int16_t Shared::ScreenHeight;
int32_t Shared::BackAllowed = 1;
int32_t Shared::RestartChoice = 1;
