#include "tests/support/window_capture.h"

#include <algorithm>

#include "tests/support/files.h"

namespace testsupport {

COLORREF Capture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Capture::Count(RECT area, COLORREF colour) const {
    int found = 0;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(height, static_cast<int>(area.bottom)); ++y) {
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(width, static_cast<int>(area.right)); ++x) {
            if (At(x, y) == colour) ++found;
        }
    }
    return found;
}

RECT Capture::Extent(COLORREF colour, RECT area) const {
    RECT extent{width, height, 0, 0};
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(height, static_cast<int>(area.bottom)); ++y) {
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(width, static_cast<int>(area.right)); ++x) {
            if (At(x, y) != colour) continue;
            extent.left = std::min<LONG>(extent.left, x);
            extent.top = std::min<LONG>(extent.top, y);
            extent.right = std::max<LONG>(extent.right, x + 1);
            extent.bottom = std::max<LONG>(extent.bottom, y + 1);
        }
    }
    return extent.right == 0 ? RECT{} : extent;
}

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    const BITMAPINFO info = TopDown32(width, height);
    HDC screen = GetDC(nullptr);
    device_ = CreateCompatibleDC(screen);
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (device_ == nullptr || bitmap_ == nullptr) return;
    previous_ = SelectObject(device_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(device_, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas() {
    if (device_ != nullptr && previous_ != nullptr) SelectObject(device_, previous_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (device_ != nullptr) DeleteDC(device_);
}

Capture Canvas::Take() const {
    Capture capture;
    if (bits_ == nullptr) return capture;
    GdiFlush();
    capture.width = width_;
    capture.height = height_;
    const auto* first = static_cast<const uint32_t*>(bits_);
    capture.pixels.assign(first, first + static_cast<std::size_t>(width_) * height_);
    return capture;
}

Capture PrintClient(HWND window, COLORREF underlay, UINT flags) {
    RECT client{};
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return Capture{};
    Canvas canvas(client.right, client.bottom, underlay);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Device()), static_cast<LPARAM>(flags));
    return canvas.Take();
}

Capture CaptureWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    return CaptureScreenOf(window);
}

Capture CaptureScreenOf(HWND window) {
    Capture capture;
    GdiFlush();
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return capture;
    capture.width = rect.right - rect.left;
    capture.height = rect.bottom - rect.top;
    if (capture.width <= 0 || capture.height <= 0) return capture;

    const BITMAPINFO info = TopDown32(capture.width, capture.height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        capture.pixels.assign(first, first + static_cast<std::size_t>(capture.width) * capture.height);
        SelectObject(memory, old);
    }
    if (dib != nullptr) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

bool WriteBmp(const Capture& capture, const std::string& path) {
    if (capture.Empty()) return false;
    const int rowBytes = (capture.width * 3 + 3) & ~3;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * capture.height;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageBytes;
    header.biSize = sizeof header;
    header.biWidth = capture.width;
    header.biHeight = capture.height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = imageBytes;

    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = capture.height - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(rowBytes), '\0');
        for (int x = 0; x < capture.width; ++x) {
            const uint32_t p = capture.pixels[static_cast<std::size_t>(y) * capture.width + x];
            row[x * 3] = static_cast<char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
        }
        bytes += row;
    }
    return testsupport::WriteFileBytes(path, bytes);
}

}  // namespace testsupport
