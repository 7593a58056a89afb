#include <windows.h>

#include "presentation/keyedbitmap.h"

#include "app/app.h"
#include "presentation/dissolve.h"

// Copies one bitmap pixel to the target unless it has the key colour.
static void TransferPixel(HDC target, HDC source, int x, int y, int x0, int y0) {
    COLORREF colour = GetPixel(source, x, y);
    if (colour != kKeyColour) SetPixel(target, x0 + x, y0 + y, colour);
}

// Every pixel, row by row from the top, each row from the left.
static void DrawInOneSweep(HDC target, HDC source, int width, int height, int x0, int y0) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) TransferPixel(target, source, x, y, x0, y0);
}

// 64 passes; pass n draws the pixels whose place in their 8 x 8 cell has DissolveOrder n,
// in the same row-by-row order as one sweep. Stepping straight from one such pixel to the
// next gives exactly the transfers of sweeping the whole bitmap and testing each pixel.
static void DrawDissolving(HDC target, HDC source, int width, int height, int x0, int y0) {
    for (int pass = 0; pass < kDissolvePasses; ++pass) {
        int column = 0, row = 0;
        DissolveCell(pass, &column, &row);
        for (int y = row; y < height; y += 8)
            for (int x = column; x < width; x += 8) TransferPixel(target, source, x, y, x0, y0);
    }
}

void DrawKeyedBitmap(HDC dc, int id, const RECT* rect, int32_t dissolve) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = LoadBitmapA(Shared::AppInstance, MAKEINTRESOURCEA(id));
    if (!bitmap) {
        DeleteDC(memory);
        return;
    }
    HGDIOBJ earlier = SelectObject(memory, bitmap);
    BITMAP info;
    info.bmWidth = 0;
    info.bmHeight = 0;
    GetObjectA(bitmap, sizeof(info), &info);
    if (dissolve)
        DrawDissolving(dc, memory, info.bmWidth, info.bmHeight, rect->left, rect->top);
    else
        DrawInOneSweep(dc, memory, info.bmWidth, info.bmHeight, rect->left, rect->top);
    SelectObject(memory, earlier);
    DeleteObject(bitmap);
    DeleteDC(memory);
}
