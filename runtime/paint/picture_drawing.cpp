#include "runtime/paint/picture_drawing.h"

#include <algorithm>

#include "runtime/paint/paint_geometry.h"

namespace runtime {

namespace {

void DrawBitmap(const RuntimeRecord& record, HDC device, int width, int height) {
    HDC source = CreateCompatibleDC(device);
    if (source == nullptr) return;
    HGDIOBJ previous = SelectObject(source, SlotAs<HBITMAP>(record.Picture));
    const bool sameSize = width == record.ImageWidth && height == record.ImageHeight;
    if (record.Type == class_code::Image && record.Stretch == 0) {
        BitBlt(device, CentredOffset16(width, record.ImageWidth), CentredOffset16(height, record.ImageHeight),
               record.ImageWidth, record.ImageHeight, source, 0, 0, SRCCOPY);
    } else if (record.Type == class_code::Image && !sameSize) {
        StretchBlt(device, 0, 0, width, height, source, 0, 0, record.ImageWidth, record.ImageHeight, SRCCOPY);
    } else {
        // Clipped to the picture as well, so that nothing beyond the bitmap is copied.
        BitBlt(device, 0, 0, std::min(width, record.ImageWidth), std::min(height, record.ImageHeight), source, 0, 0,
               SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

void DrawIconPicture(const RuntimeRecord& record, HDC device, int width, int height) {
    auto* icon = SlotAs<HICON>(record.Picture);
    if (record.Type == class_code::Image && record.Stretch == 0) {
        const bool sameSize = width == record.ImageWidth && height == record.ImageHeight;
        const int x = sameSize ? 0 : CentredOffset16(width, record.ImageWidth);
        const int y = sameSize ? 0 : CentredOffset16(height, record.ImageHeight);
        DrawIcon(device, x, y, icon);
        return;
    }
    DrawIconEx(device, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
}

}  // namespace

void DrawRecordPicture(const RuntimeRecord& record, HDC device, int width, int height) {
    if (record.ImageKind == image_kind::None || record.Picture == 0) return;
    // Icons and cursors (kinds 1 and 2) draw alike.
    if (record.ImageKind == image_kind::Bitmap) {
        DrawBitmap(record, device, width, height);
    } else {
        DrawIconPicture(record, device, width, height);
    }
}

OffscreenSurface::OffscreenSurface(HDC screen, int width, int height) noexcept
    : screen_(screen), width_(width), height_(height) {
    memory_ = CreateCompatibleDC(screen);
    bitmap_ = memory_ != nullptr ? CreateCompatibleBitmap(screen, std::max(width, 1), std::max(height, 1)) : nullptr;
    if (bitmap_ == nullptr) {
        if (memory_ != nullptr) DeleteDC(memory_);
        memory_ = nullptr;
        return;
    }
    previous_ = SelectObject(memory_, bitmap_);
}

void OffscreenSurface::CopyTo(int x, int y) noexcept {
    if (memory_ != nullptr) BitBlt(screen_, x, y, width_, height_, memory_, 0, 0, SRCCOPY);
    Close();
}

void OffscreenSurface::Close() noexcept {
    if (memory_ == nullptr) return;
    SelectObject(memory_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    memory_ = nullptr;
    bitmap_ = nullptr;
}

}  // namespace runtime
