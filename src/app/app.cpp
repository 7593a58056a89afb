#include <windows.h>

#include "app/app.h"

HINSTANCE Shared::AppInstance;
int16_t Shared::ScreenWidth;
int16_t Shared::ScreenHeight;
