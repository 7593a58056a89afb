// Small drawing operations of the install page: where a control lies in its page, and the
// etched frame of the progress gauge.
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
