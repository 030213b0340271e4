#pragma once
// What the property interface's files share among themselves. Not for the application.

#include <windows.h>

#include <cstdint>

#include "runtime/property_table.h"
#include "runtime/template_record.h"
#include "runtime/window_rows.h"  // RepaintNow, shared with the window procedure

namespace runtime {

// The record of a runtime window whose type and value the rule accepts; null otherwise.
RuntimeRecord* SetterTarget(HWND window, const SetterRule& rule, int32_t value);

// After a change of size or docking: a form or picture box lays out its own docked children,
// a docked control has its parent lay out again.
void Relayout(const RuntimeRecord& record, HWND window);

// The record's font made again from its font slots (with the fixed-size flag of its form),
// set on the window and the previous one deleted.
void RebuildFont(RuntimeRecord& record, HWND window);

}  // namespace runtime
