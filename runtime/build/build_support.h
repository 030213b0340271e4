#pragma once
// What the builder's files share, and the window procedure and the property interface use too:
// a record's children, window creation in the text mode, a window's place in its parent and in
// its record, measuring a caption, and deleting a record's images. Not for the application.

#include <windows.h>

#include <cstdint>

#include "runtime/build/form_geometry.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The application's image resource `id` of `type` (IMAGE_BITMAP, IMAGE_ICON, IMAGE_CURSOR) at
// the size and with the load flags given; null when it does not load.
HANDLE LoadResourceImage(uint32_t id, UINT type, int32_t width, int32_t height, UINT flags);

// The records of a record's child array, in order; an empty range without one.
class ChildrenOf {
public:
    explicit ChildrenOf(const RuntimeRecord& parent)
        : first_(parent.Children != 0 ? SlotAs<const uint32_t*>(parent.Children) : &kNone) {}
    class Iterator {
    public:
        explicit Iterator(const uint32_t* slot) : slot_(slot) {}
        RuntimeRecord* operator*() const { return SlotAs<RuntimeRecord*>(*slot_); }
        Iterator& operator++() {
            ++slot_;
            return *this;
        }
        // The end is the terminating 0 of the array.
        bool operator==(const Iterator&) const { return *slot_ == 0; }

    private:
        const uint32_t* slot_;
    };
    Iterator begin() const { return Iterator(first_); }
    Iterator end() const { return Iterator(first_); }

private:
    static constexpr uint32_t kNone = 0;
    const uint32_t* first_;
};

// Creates a window of the application in the text mode: `className` and `text` are texts in
// mode (text may be null), `place` in pixels.
HWND CreateWindowAt(DWORD exStyle, const void* className, const void* text, DWORD style, const Placement& place,
                    HWND parent, HMENU menuOrId, void* parameter);

// The same with an ANSI class name (the system's control classes), converted for the mode.
HWND CreateControlWindow(DWORD exStyle, const char* className, const void* text, DWORD style,
                         const Placement& place, HWND parent, int32_t id, void* parameter);

// A record's place converted from its scale mode to pixels.
Placement PixelPlacement(const RuntimeRecord& record);

// Stores a place in pixels into the record's Left, Top, Width and Height in its scale mode.
void StorePlacement(RuntimeRecord& record, const Placement& pixels);

// The window's rectangle: for a form that is not an MDI child in screen coordinates, for any
// other window in its parent's client coordinates (width and height kept). 1 when done; -1 for
// a window without a record, a failed GetWindowRect or a child without a parent.
int32_t WindowRectInParent(HWND window, RECT* rectangle);

// A runtime window's place as WindowRectInParent gives it; all 0 for a window that has none.
Placement PlaceInParent(HWND window);

// The size of a label's caption (ampersands left out unless its MultiLine slot keeps them) in
// its font; the height is the font's line height for an empty caption.
SIZE MeasureCaption(const RuntimeRecord& label, HWND window);

// True for a null runtime text (a slot of 0) and for an empty one, in the text mode.
bool IsEmptyText(uint32_t text);

// Deletes a brush, bitmap or font, or, when the system refuses that, destroys it as an icon
// or cursor. Values below 0x10000 are resource identifiers that never loaded: left alone.
void DeleteImageObject(uint32_t handle);

}  // namespace runtime
