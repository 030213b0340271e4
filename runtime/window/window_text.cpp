// Text and image rows of the runtime window procedure: the record's caption copy follows
// WM_SETTEXT, labels and group boxes measure their captions again, and pictures and image
// lists set from outside are taken into the record.

#include "runtime/window/window_text.h"

#include <commctrl.h>

#include <cstring>

#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_setters.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

// The left offset of a group box's caption when it has one.
constexpr int32_t kGroupCaptionOffset = 9;

// The caption copy of `r` becomes `text` (in the text mode), its length kept in CaptionLength.
template <class Ch>
void KeepCaption(RuntimeRecord& r, const Ch* text) {
    if (text == nullptr) {
        if (r.Text != 0) *SlotAs<Ch*>(r.Text) = 0;
        r.CaptionLength = 0;
        return;
    }
    const int32_t length = text::TextLength(text);
    // The builder sets a form's caption from the copy itself.
    if (SlotAs<const Ch*>(r.Text) == text) {
        r.CaptionLength = length;
        return;
    }
    Ch* copy = SlotAs<Ch*>(r.Text);
    if (copy == nullptr || length != r.CaptionLength) {
        // The new copy is made before the old one goes, so that a text taken from the old copy
        // is still there to be copied.
        auto* grown = static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 2) * sizeof(Ch))));
        FreeRuntimeBlock(copy);
        r.Text = ToSlot(grown);
        r.CaptionLength = grown != nullptr ? length : 0;
        if (grown == nullptr) return;
        std::memcpy(grown, text, static_cast<size_t>(length) * sizeof(Ch));
        grown[length] = 0;
        return;
    }
    std::memmove(copy, text, static_cast<size_t>(length + 1) * sizeof(Ch));
}

// A label sizes itself to its caption (when its AutoSize asks for it) and measures it again.
void FitLabel(RuntimeRecord& label) {
    AutoSizeControl(&label);
    MeasureRecordCaption(label, 0);
}

}  // namespace

void MeasureRecordCaption(RuntimeRecord& record, int32_t group) {
    const SIZE size = MeasureCaption(record, WindowOf(record));
    if (group == 0) {
        record.ImageHeight = size.cy;
        return;
    }
    // An empty caption takes no room in the frame.
    const bool captioned = size.cx > 0 && size.cy >= 1;
    record.CaptionLeft = captioned ? kGroupCaptionOffset : 0;
    record.ImageWidth = captioned ? size.cx + 4 : 0;
    record.ImageHeight = captioned ? size.cy : 0;
}

LRESULT OnSetText(const Message& m) {
    const LRESULT result = Generic(m);
    if (!StillBound(m)) return result;
    RuntimeRecord& r = *m.record;
    // WM_SETTEXT's text, in the mode.
    WithTextUnit([&](auto unit) { KeepCaption(r, reinterpret_cast<const decltype(unit)*>(m.lParam)); });
    if (r.Type == class_code::GroupBox) MeasureRecordCaption(r, 1);
    if (r.Type == class_code::Label) FitLabel(r);
    if (r.Type == class_code::GroupBox || r.Type == class_code::PictureBox || r.Type == class_code::Label) {
        RepaintNow(m.window, true);
    }
    return result;
}

LRESULT OnSetFont(const Message& m) {
    if (m.record->Type == class_code::Label) FitLabel(*m.record);
    return Generic(m);
}

// The picture a window is given from outside becomes the record's picture as if it had been
// set as a property. Setting that picture shows it on the window with the same message, which
// then only goes its generic way.
LRESULT OnSetImage(const Message& m) {
    static bool applying = false;
    if (!applying) {
        applying = true;
        const auto image = static_cast<uint32_t>(m.id == STM_SETICON ? m.wParam : static_cast<WPARAM>(m.lParam));
        SetPicture(m.window, image);
        applying = false;
        if (!StillBound(m)) return 0;
    }
    return Generic(m);
}

// An extended combo box grows with the image list's item height so that its list still shows
// its number of items.
LRESULT OnSetImageList(const Message& m) {
    if (m.record->Type != class_code::ComboBoxEx) return Generic(m);
    const LRESULT result = CallDefault(m);
    SetDropDownItems(m.window, m.record->DropDownItems);
    return result;
}

}  // namespace runtime
