#pragma once
// What the builder's files share among themselves: the runtime heap as the store of template
// copies, a record's children, window creation and places in the text mode, and measuring a
// caption. Not for the application.

#include <windows.h>

#include <cstdint>

#include "runtime/form_geometry.h"
#include "runtime/template/template_copy.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The store whose slot values are runtime-heap addresses.
TemplateCopyStore& RuntimeRecordStore();

HINSTANCE ApplicationInstance();

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

// Creates a window in the text mode: `className` and `text` are texts in mode (text may be
// null), `place` in pixels.
HWND CreateWindowInMode(DWORD exStyle, const void* className, const void* text, DWORD style,
                        const Placement& place, HWND parent, HMENU menuOrId, void* parameter);

// The same with an ANSI class name (the system's control classes), converted for the mode.
HWND CreateControlWindow(DWORD exStyle, const char* className, const void* text, DWORD style,
                         const Placement& place, HWND parent, int32_t id, void* parameter);

// A record's place converted from its scale mode to pixels.
Placement PixelPlacement(const RuntimeRecord& record);

// Stores a place in pixels into the record's Left, Top, Width and Height in its scale mode.
void StorePlacement(RuntimeRecord& record, const Placement& pixels);

// A runtime window's place as WindowRectInParent gives it (screen coordinates for a form that
// is no MDI child, else the parent's client coordinates); all 0 for a window that has none.
Placement PlaceInParent(HWND window);

// The size of a label's caption (ampersands left out unless its MultiLine slot keeps them) in
// its font; the height is the font's line height for an empty caption.
SIZE MeasureCaption(const RuntimeRecord& label, HWND window);

// True for a null runtime text (a slot of 0) and for an empty one, in the text mode.
bool IsEmptyText(uint32_t text);

// Deletes a brush, bitmap or font, or, when the system refuses that, destroys it as an icon
// or cursor. Values below 0x10000 are resource identifiers that never loaded: left alone.
void DeleteImageObject(uint32_t handle);

// Adds a tool to `tooltip` for every child window of `container` (but `skip`) whose record has
// a tooltip text, descending into group boxes, picture boxes and rebars.
void RegisterToolTips(HWND tooltip, HWND container, HWND skip);

// The class-specific completion of a control after its font and colours, and the bands of a
// rebar once its children exist.
void CompleteControlClass(RuntimeRecord* control, HWND window);
void AddRebarBands(RuntimeRecord* rebar, HWND window);

}  // namespace runtime
