#include "runtime/property/property_support.h"

#include "runtime/build/template_resources.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"

namespace runtime {

RuntimeRecord* SetterTarget(HWND window, const SetterRule& rule, int32_t value) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !rule.Accepts(record->Type, value)) return nullptr;
    return record;
}

RuntimeRecord* StoreSlot(HWND window, const SetterRule& rule, int32_t value, int32_t TemplateRecord::*slot) {
    RuntimeRecord* record = SetterTarget(window, rule, value);
    if (record != nullptr) record->*slot = value;
    return record;
}

void Relayout(const RuntimeRecord& record, HWND window) {
    if (IsFormType(record.Type) || record.Type == class_code::PictureBox) {
        SendToWindow(window, FRM_RELAYOUT, relayout::OwnChildren, 0);
    }
    if (kDockingTypes.Has(record.Type) && record.DockSide != dock_side::None) {
        SendToWindow(window, FRM_RELAYOUT, relayout::ParentsChildren, 0);
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
