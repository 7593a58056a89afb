// Drawing of the program's bitmaps with a transparent key colour, in one sweep or dissolving.
#pragma once
#include <windows.h>
#include <stdint.h>

// Pixels of exactly this colour are left out, so the picture behind shows through.
constexpr COLORREF kKeyColour = RGB(255, 0, 255);

// Draws bitmap resource `id` of AppInstance into dc pixel by pixel, its top-left pixel at
// rect's left and top, always at its own size (rect's right and bottom are not used).
// With dissolve non-zero the pixels arrive in 64 scattered passes. A bitmap that cannot be
// loaded draws nothing. Every GDI object it makes is released before it returns.
void DrawKeyedBitmap(HDC dc, int id, const RECT* rect, int32_t dissolve);
