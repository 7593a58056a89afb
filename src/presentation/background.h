// The full-screen background window "SetupMain": blue gradient and two keyed banners.
#pragma once
#include <windows.h>
#include <stdint.h>

namespace Shared {
extern HWND BackgroundWindow;    // owner of every page; null in the -u mode
extern int32_t DissolvePending;  // 1 until the end of the first paint
}  // namespace Shared

// Creates, shows and paints the window. 1 with BackgroundWindow set, 0 on failure.
int CreateBackgroundWindow();

// Draws what the window shows into dc for a paint of the update rectangle: the gradient, and
// each banner whose place meets update, dissolving while DissolvePending is set; then clears
// DissolvePending. The window's paints call it with their own device context.
void PaintBackground(HDC dc, const RECT* update);
