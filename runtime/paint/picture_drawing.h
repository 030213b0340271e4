#pragma once
// Drawing a record's picture (bitmap, icon or cursor) into a rectangle at (0, 0): image
// controls centre or stretch it, picture boxes clip it at their top-left corner.

#include <windows.h>

#include "runtime/template/template_record.h"

namespace runtime {

// Draws the record's picture into (0, 0, width, height) of `device`; nothing without one.
void DrawRecordPicture(const RuntimeRecord& record, HDC device, int width, int height);

// A compatible memory context with a bitmap of the given size selected, for drawing that is
// copied to the screen in one blit; Close() (or the destructor) puts everything back.
class OffscreenSurface {
public:
    OffscreenSurface(HDC screen, int width, int height) noexcept;
    ~OffscreenSurface() { Close(); }
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // The memory context, or `screen` itself when no memory context could be made (then the
    // drawing goes straight to the screen and nothing is copied).
    HDC Device() const { return memory_ != nullptr ? memory_ : screen_; }
    // Copies the drawing to the screen context at (x, y) and releases the memory context.
    void CopyTo(int x, int y) noexcept;
    void Close() noexcept;

private:
    HDC screen_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int width_;
    int height_;
};

}  // namespace runtime
