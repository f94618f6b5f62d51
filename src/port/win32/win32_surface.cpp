// The Windows side of the drawing surface: DIB sections as surface bitmaps, presentation with
// SetDIBitsToDevice and text in the platform's default font. User-interface thread.
#include <windows.h>

#include "port/port.h"

namespace port {

ModuleHandle ProgramModule() {
    return GetModuleHandleA(nullptr);
}

BitmapHandle CreateSurfaceBitmap(const SurfaceInfo& info, uint16_t** bits) {
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                      DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = bitmap != nullptr ? static_cast<uint16_t*>(pixels) : nullptr;
    return bitmap;
}

void DeleteSurfaceBitmap(BitmapHandle bitmap) {
    if (bitmap != nullptr)
        DeleteObject(static_cast<HBITMAP>(bitmap));
}

void PresentSurface(WindowHandle window, const SurfaceInfo& info, const uint16_t* bits) {
    HWND hwnd = static_cast<HWND>(window);
    HDC dc = GetDC(hwnd);
    if (dc == nullptr)
        return;
    const int height = info.height < 0 ? -info.height : info.height;
    SetDIBitsToDevice(dc, 0, 0, info.width, height, 0, 0, 0, height, bits,
                      reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(hwnd, dc);
}

bool DrawSystemText(BitmapHandle bitmap, const SurfaceInfo& info, int x, int y, uint32_t colorRef,
                    const char* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr || bitmap == nullptr || text == nullptr) {
        if (dc != nullptr)
            DeleteDC(dc);
        return true;
    }
    const int length = lstrlenA(text);
    if (x == -1) {
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text, length, &extent);
        x = (info.width - extent.cx) >> 1;
    }
    HGDIOBJ previous = SelectObject(dc, static_cast<HBITMAP>(bitmap));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef);
    TextOutA(dc, x, y, text, length);
    SelectObject(dc, previous);
    DeleteDC(dc);
    // The surface is written directly right after; GDI may still hold the text in its batch.
    GdiFlush();
    return true;
}

} // namespace port
