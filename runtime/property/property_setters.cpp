// The setters of colours, the drawing pen, pictures, cursors and icons, the form timer,
// visibility and the combo drop-down height: their checks, then the bodies the builder shares
// (runtime/build/record_values.h).

#include "runtime/property/property_setters.h"

#include "runtime/build/control_steps.h"
#include "runtime/build/record_values.h"
#include "runtime/build/template_resources.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_support.h"
#include "runtime/property/property_table.h"
#include "runtime/template/template_values.h"

namespace runtime {

namespace {

// Gives the window its new large or small icon and destroys the one it had, unless the form
// still shows that one (the same icon in both sizes, or set again). A resource that did not
// load is no icon: the window keeps the one it has.
void ReplaceWindowIcon(const RuntimeRecord& form, HWND window, WPARAM size, uint32_t icon) {
    if (IsImageResourceId(icon)) return;
    const auto previous = static_cast<uint32_t>(SendToWindow(window, WM_SETICON, size, static_cast<LPARAM>(icon)));
    if (previous == 0 || previous == form.Icon || previous == form.SmallIcon) return;
    DestroyIcon(SlotAs<HICON>(previous));
}

// A form's large or small icon: loaded into its slot and given to the window.
int32_t SetFormIcon(HWND window, uint32_t image, uint32_t TemplateRecord::*slot, WPARAM size) {
    RuntimeRecord* form = SetterTarget(window, setter_rule::Form, static_cast<int32_t>(image));
    if (form == nullptr) return 0;
    form->*slot = LoadTemplateImage(image, 0);
    ReplaceWindowIcon(*form, window, size, form->*slot);
    return 1;
}

}  // namespace

int32_t SetBackColor(HWND window, uint32_t color) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    ApplyBackColor(*record, window, color);
    return 1;
}

int32_t SetForeColor(HWND window, uint32_t color) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    ApplyForeColor(*record, window, color);
    return 1;
}

int32_t SetLineStyle(HWND window, int32_t style) {
    return StoreSlotThen(window, setter_rule::LineStyle, style, &TemplateRecord::LineStyle, RemakePen);
}

int32_t SetLineWidth(HWND window, int32_t width) {
    return StoreSlotThen(window, setter_rule::LineWidth, width, &TemplateRecord::LineWidth, RemakePen);
}

int32_t SetPicture(HWND window, uint32_t image) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !TakesPicture(record->Type)) return 0;
    ApplyPicture(*record, window, image);
    return 1;
}

int32_t SetMouseCursor(HWND window, uint32_t image) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    const uint32_t previous = record->Cursor;
    record->Cursor = LoadTemplateImage(image, 0);
    if (previous != record->Cursor && previous >= kFirstImageHandle) DestroyCursor(SlotAs<HCURSOR>(previous));
    return 1;
}

int32_t SetIcon(HWND window, uint32_t image) {
    return SetFormIcon(window, image, &TemplateRecord::Icon, ICON_BIG);
}

int32_t SetSmallIcon(HWND window, uint32_t image) {
    return SetFormIcon(window, image, &TemplateRecord::SmallIcon, ICON_SMALL);
}

int32_t SetTimerInterval(HWND window, int32_t milliseconds) {
    RuntimeRecord* form = SetterTarget(window, setter_rule::Form, milliseconds);
    return form != nullptr ? ApplyTimerInterval(*form, window, milliseconds) : 0;
}

int32_t SetVisible(HWND window, int32_t visible) {
    RuntimeRecord* record = FindWindowRecord(window);
    return record != nullptr ? ApplyVisible(*record, window, visible) : 0;
}

int32_t SetDropDownItems(HWND window, int32_t items) {
    RuntimeRecord* combo = SetterTarget(window, setter_rule::DropDownItems, items);
    if (combo == nullptr) return 0;
    ApplyDropDownItems(*combo, window, items);
    return 1;
}

}  // namespace runtime
