#pragma once
// A window's pixels as the screen shows them, and a 24-bit BMP file of them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace apptest {

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB

    bool Empty() const { return pixels.empty(); }
    // The pixel at (x, y) of the window as a COLORREF; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
};

// Copies the window's rectangle from the screen (the window and its children as drawn, and
// whatever lies on top of it) after it has painted itself.
Capture CaptureWindow(HWND window);

// Writes the capture as a bottom-up 24-bit BMP file; false when the file cannot be written.
bool WriteBmp(const Capture& capture, const std::string& path);

}  // namespace apptest
