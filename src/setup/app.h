// Values the setup driver records at start, read by every page.
#pragma once
#include <windows.h>
#include <stdint.h>

namespace Shared {
extern HINSTANCE AppInstance;
extern int16_t ScreenWidth;   // screen size in pixels, taken once at start
extern int16_t ScreenHeight;
extern int32_t BackAllowed;   // 1; 0 in the -u mode (Back of SETUP_SELMOUSE)
extern int32_t RestartChoice; // 1; SETUP_END lowers it to 0 for "restart later"
}  // namespace Shared
