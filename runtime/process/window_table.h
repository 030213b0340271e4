#pragma once
// The process's window table in the runtime heap, and FindWindowRecord: the lookup from a
// window handle to its runtime record with which every runtime operation on a window starts.

#include <windows.h>

#include "runtime/template/template_record.h"
#include "runtime/process/window_table_core.h"

namespace runtime {

extern WindowTable windowTable;

// Gives the table its first block in the runtime heap (start-up); false when that fails.
bool CreateWindowTable();

// Releases the table's block back to the runtime heap and empties the table.
void FreeWindowTable();

// Empties the table without releasing its block (the heap that holds it is going away).
void ForgetWindowTable();

// The runtime record of a window; null for a window that is not a runtime window.
RuntimeRecord* FindWindowRecord(HWND window);

// Makes `window` a runtime window with `record`; false when the table cannot take it (the
// runtime heap is exhausted), and then the window is simply not a runtime window.
bool EnterWindowRecord(HWND window, RuntimeRecord* record);

// Removes the window's pair; false when it was not in the table.
bool RemoveWindowRecord(HWND window);

// Replaces the table's growth (tests simulate an exhausted heap with it); null puts back the
// growth from the runtime heap. Returns the growth in use before.
GrowWindowPairs SetWindowTableGrowth(GrowWindowPairs grow);

}  // namespace runtime
