// What every program of the package records at its start: its instance and the screen size.
#pragma once
#include <windows.h>
#include <stdint.h>

namespace Shared {
extern HINSTANCE AppInstance;
extern int16_t ScreenWidth;  // screen size in pixels, taken once at start
extern int16_t ScreenHeight;
}  // namespace Shared
