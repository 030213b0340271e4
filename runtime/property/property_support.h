#pragma once
// What the property interface's files share among themselves. Not for the application.

#include <windows.h>

#include <cstdint>

#include "runtime/property/property_table.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The record of a runtime window whose type and value the rule accepts; null otherwise.
RuntimeRecord* SetterTarget(HWND window, const SetterRule& rule, int32_t value);

// A setter's value stored in the slot of an accepting record; the record, or null when refused.
RuntimeRecord* StoreSlot(HWND window, const SetterRule& rule, int32_t value, int32_t TemplateRecord::*slot);

// StoreSlot, then `effect`(record, window) when the value was stored; 1 when done, else 0.
template <class Effect>
int32_t StoreSlotThen(HWND window, const SetterRule& rule, int32_t value, int32_t TemplateRecord::*slot,
                      Effect effect) {
    RuntimeRecord* record = StoreSlot(window, rule, value, slot);
    if (record == nullptr) return 0;
    effect(*record, window);
    return 1;
}

// After a change of size or docking: a form or picture box lays out its own docked children,
// a docked control has its parent lay out again.
void Relayout(const RuntimeRecord& record, HWND window);

// The record's font made again from its font slots (with the fixed-size flag of its form),
// set on the window and the previous one deleted.
void RebuildFont(RuntimeRecord& record, HWND window);

}  // namespace runtime
