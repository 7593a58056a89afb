// Small drawing and timing operations of the install page: where a control lies in its
// page, the etched frame of the progress gauge, and a wait that empties the queue.
#pragma once
#include <windows.h>

// The control's client area in the parent's client coordinates (right and bottom
// exclusive). Returns 1; for an id that is not a control of the parent, r is made empty
// and the result is 0.
int ControlRectInParent(HWND parent, int controlId, RECT* r);

// Draws an empty gauge at the place of the control: an etched frame (grey outside at top
// and left, inside at right and bottom, white beside it) around an interior filled with
// the stock brush brushNumber. The pen and brush selected in dc before are selected again.
// For an id that is not a control of the parent nothing is drawn.
void DrawGaugeFrame(HWND parent, HDC dc, int controlId, int brushNumber);

// Busy wait of ms milliseconds that takes every queued message of the thread out and
// discards it, so no click or key made meanwhile reaches any window. A wait of 0 ms, or
// one that would end past the wrap-around of the tick counter, returns at once.
void WaitPumping(DWORD ms);
