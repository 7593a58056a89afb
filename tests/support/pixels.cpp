#include "support/pixels.h"

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return bi;
}

// Copies width x height pixels from dc into a 32-bit top-down DIB and converts them.
PixelImage CaptureDC(HDC dc, int width, int height) {
    PixelImage image;
    BITMAPINFO bi = TopDown32(width, height);
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        DeleteDC(memory);
        return image;
    }
    HGDIOBJ earlier = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = RGB((p[i] >> 16) & 255, (p[i] >> 8) & 255, p[i] & 255);
    SelectObject(memory, earlier);
    DeleteObject(dib);
    DeleteDC(memory);
    return image;
}

PixelImage CaptureScreen() {
    HDC screen = GetDC(nullptr);
    PixelImage image =
        CaptureDC(screen, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    ReleaseDC(nullptr, screen);
    return image;
}

PixelImage BitmapResourcePixels(int id, HMODULE module) {
    PixelImage image;
    if (!module) module = GetModuleHandleA(nullptr);
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (!bitmap) return image;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ earlier = SelectObject(memory, bitmap);
    image = CaptureDC(memory, info.bmWidth, info.bmHeight);
    SelectObject(memory, earlier);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return image;
}

PixelRecording::PixelRecording() { dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr); }

PixelRecording::~PixelRecording() {
    if (dc) DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

std::vector<POINT> PixelRecording::Finish() {
    HENHMETAFILE file = CloseEnhMetaFile(dc);
    dc = nullptr;
    std::vector<BYTE> bytes(GetEnhMetaFileBits(file, 0, nullptr));
    GetEnhMetaFileBits(file, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(file);
    std::vector<POINT> set;
    for (size_t at = 0; at + sizeof(EMR) <= bytes.size();) {
        const EMR* record = reinterpret_cast<const EMR*>(bytes.data() + at);
        if (record->nSize < sizeof(EMR)) break;
        if (record->iType == EMR_SETPIXELV) {
            const EMRSETPIXELV* p = reinterpret_cast<const EMRSETPIXELV*>(record);
            set.push_back({p->ptlPixel.x, p->ptlPixel.y});
        }
        at += record->nSize;
    }
    return set;
}

int GdiObjectCount() {
#ifdef _WIN64
    // Wine's table: 65536 entries of 24 bytes; the type byte at 14 is 0 for a free entry.
    const unsigned char* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
    const unsigned char* peb = *reinterpret_cast<const unsigned char* const*>(teb + 0x60);
    const unsigned char* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
    if (table == nullptr) return -1;
    int count = 0;
    for (int i = 0; i < 0x10000; ++i)
        if (table[i * 24 + 14] != 0) ++count;
    return count;
#else
    return -1;
#endif
}

COLORREF ClientPixel(HWND w, int x, int y) {
    HDC dc = GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}
