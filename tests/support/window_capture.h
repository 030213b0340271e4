#pragma once
// A window's pixels as the screen shows them or as it paints them into a memory bitmap, and a
// 24-bit BMP file of them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB

    bool Empty() const { return pixels.empty(); }
    // The pixel at (x, y) of the window as a COLORREF; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    // How many pixels of `area` (clipped to the capture) have `colour`.
    int Count(RECT area, COLORREF colour) const;
    int Count(COLORREF colour) const { return Count(RECT{0, 0, width, height}, colour); }
    // The smallest rectangle holding every pixel of `colour` in `area` (clipped to the capture);
    // empty (all 0) when there is none.
    RECT Extent(COLORREF colour, RECT area) const;
    RECT Extent(COLORREF colour) const { return Extent(colour, RECT{0, 0, width, height}); }
};

// A 32-bit memory bitmap selected into a memory device context, filled with one colour: what
// paint routines and WM_PRINTCLIENT draw into in the tests.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Device() const { return device_; }
    // The pixels as drawn so far.
    Capture Take() const;

private:
    int width_;
    int height_;
    HDC device_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// The window's client area as it paints itself into a memory bitmap through WM_PRINTCLIENT
// (`flags`), over a bitmap filled with `underlay` (so that what it leaves unpainted shows).
Capture PrintClient(HWND window, COLORREF underlay, UINT flags = PRF_CLIENT | PRF_ERASEBKGND);

// Copies the window's rectangle from the screen (the window and its children as drawn, and
// whatever lies on top of it) after it has painted itself.
Capture CaptureWindow(HWND window);

// The same, as the screen shows it now, without painting anything first.
Capture CaptureScreenOf(HWND window);

// Writes the capture as a bottom-up 24-bit BMP file; false when the file cannot be written.
bool WriteBmp(const Capture& capture, const std::string& path);

}  // namespace testsupport
