// The full-screen background window "SetupMain": blue gradient and two keyed banners.
#pragma once
#include <windows.h>
#include <stdint.h>

namespace Shared {
extern HWND BackgroundWindow;  // owner of every page; null in the -u mode
}  // namespace Shared

// 1 while the next paint dissolves the banners in: from start until the end of the first
// paint.
int DissolvePending();

// Makes the next paint dissolve the banners in again, as the first one does.
void DissolveNextPaint();

// Creates, shows and paints the window. 1 with BackgroundWindow set, 0 on failure.
int CreateBackgroundWindow();

// Draws what the window shows into dc for a paint of the update rectangle: the gradient, and
// each banner whose place meets update, dissolving while DissolvePending is set; then clears
// DissolvePending. The window's paints call it with their own device context.
void PaintBackground(HDC dc, const RECT* update);
