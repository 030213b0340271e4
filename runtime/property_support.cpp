#include "runtime/property_support.h"

#include "runtime/form_builder.h"
#include "runtime/runtime_messages.h"
#include "runtime/system_calls.h"
#include "runtime/window_table.h"

namespace runtime {

RuntimeRecord* SetterTarget(HWND window, const SetterRule& rule, int32_t value) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !rule.Accepts(record->Type, value)) return nullptr;
    return record;
}

void Relayout(const RuntimeRecord& record, HWND window) {
    constexpr WPARAM kOwnChildren = 0;
    constexpr WPARAM kParentsChildren = 1;
    if (IsFormType(record.Type) || record.Type == class_code::PictureBox) {
        SendToWindow(window, FRM_RELAYOUT, kOwnChildren, 0);
    }
    if (kDockingTypes.Has(record.Type) && record.ClassFlag0 != dock_side::None) {
        SendToWindow(window, FRM_RELAYOUT, kParentsChildren, 0);
    }
}

void RebuildFont(RuntimeRecord& record, HWND window) {
    const RuntimeRecord* form =
        IsFormType(record.Type) ? &record : FindWindowRecord(SlotAs<HWND>(record.OwnerForm));
    HFONT font = CreateRecordFont(record, window, form != nullptr ? form->FixedFontSize : 0);
    const uint32_t previous = record.FontHandle;
    record.FontHandle = ToSlot(font);
    SendToWindow(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (previous != 0) DeleteObject(SlotAs<HFONT>(previous));
}

}  // namespace runtime
