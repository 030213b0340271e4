#pragma once
// Taking a window out of the runtime: its pair leaves the window table and the memory its
// record owns in the runtime heap is released.

#include <windows.h>

#include "runtime/template/template_record.h"

namespace runtime {

enum class ChildList { Release, Keep };

// Removes the window's pair from the window table and frees what its record owns: the copied
// font name, the caption copy, a control's tooltip text and, unless `children` says Keep, every
// record of its child list (depth first, with what each owns) and the list itself. Freed slots
// are cleared, so nothing is freed twice. The record itself stays; false (and nothing freed)
// when the window is not in the table.
bool ReleaseWindowRecord(HWND window, ChildList children);

// Frees what a record owns (as above) without touching the window table.
void ReleaseRecordContents(RuntimeRecord& record, ChildList children);

}  // namespace runtime
