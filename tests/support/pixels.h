// Pixels read back for the drawing tests: the screen as the X server shows it, and the
// program's bitmap resources as stored, both as plain colour values (0x00BBGGRR).
#pragma once
#include <windows.h>

#include <vector>

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row from the top
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

// Colour of a pixel of a window's client area, read through a window DC.
COLORREF ClientPixel(HWND w, int x, int y);

// The whole screen, copied from the screen device context in one transfer.
PixelImage CaptureScreen();

// Bitmap resource `id` of module (null: the running executable); empty when it has none.
PixelImage BitmapResourcePixels(int id, HMODULE module = nullptr);

// The header of a 32-bit top-down DIB of the given size (a pixel is 0x00RRGGBB there).
BITMAPINFO TopDown32(int width, int height);

// The pixels of a device context's selected 32-bit DIB or any DC region, through BitBlt.
PixelImage CaptureDC(HDC dc, int width, int height);

// A device context that records what is drawn into it (an enhanced metafile): the pixels a
// drawing sets, in the order it sets them.
struct PixelRecording {
    HDC dc;
    PixelRecording();
    ~PixelRecording();
    // Ends the recording; the positions of every SetPixel, in order.
    std::vector<POINT> Finish();
};

// Live GDI objects of this process, stock objects included, counted in Wine's GDI handle
// table (the process environment block points to it); -1 when it cannot be read. Windows
// 9x has no such count, and Wine's GetGuiResources always answers 0.
int GdiObjectCount();
