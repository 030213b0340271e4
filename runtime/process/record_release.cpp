#include "runtime/process/record_release.h"

#include "runtime/process/runtime_heap.h"
#include "runtime/process/window_table.h"

namespace runtime {

namespace {

void FreeSlot(uint32_t& slot) {
    if (HoldsBlock(slot)) FreeRuntimeBlock(SlotAs<void*>(slot));
    slot = 0;
}

void ReleaseChildList(RuntimeRecord& record) {
    if (!HoldsBlock(record.Children)) return;
    auto* const* children = SlotAs<RuntimeRecord* const*>(record.Children);
    for (; *children != nullptr; ++children) {
        RuntimeRecord* child = *children;
        ReleaseRecordContents(*child, ChildList::Release);
        FreeRuntimeBlock(child);
    }
    FreeSlot(record.Children);
}

}  // namespace

void ReleaseRecordContents(RuntimeRecord& record, ChildList children) {
    FreeSlot(record.FontName);
    FreeSlot(record.Text);
    record.CaptionLength = 0;
    // A form's tooltip slot holds its tooltip window, which is no block.
    if (!IsFormType(record.Type)) FreeSlot(record.ToolTip);
    if (children == ChildList::Release) ReleaseChildList(record);
}

bool ReleaseWindowRecord(HWND window, ChildList children) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return false;
    RemoveWindowRecord(window);
    ReleaseRecordContents(*record, children);
    return true;
}

}  // namespace runtime
