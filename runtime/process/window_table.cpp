#include "runtime/process/window_table.h"

#include "runtime/process/runtime_heap.h"

namespace runtime {

WindowTable windowTable;

namespace {

WindowPair* GrowInRuntimeHeap(WindowPair* pairs, uint32_t count) {
    return static_cast<WindowPair*>(ReallocRuntimeBlock(pairs, count * sizeof(WindowPair)));
}

GrowWindowPairs tableGrowth = GrowInRuntimeHeap;

}  // namespace

bool CreateWindowTable() { return CreateTableBlock(windowTable, tableGrowth); }

void FreeWindowTable() {
    FreeRuntimeBlock(windowTable.pairs);
    ForgetWindowTable();
}

void ForgetWindowTable() { windowTable = WindowTable{}; }

RuntimeRecord* FindWindowRecord(HWND window) { return FindRecordInTable(windowTable, window); }

bool EnterWindowRecord(HWND window, RuntimeRecord* record) {
    return InsertRecordInTable(windowTable, window, record, tableGrowth);
}

bool RemoveWindowRecord(HWND window) { return RemoveRecordFromTable(windowTable, window); }

GrowWindowPairs SetWindowTableGrowth(GrowWindowPairs grow) {
    const GrowWindowPairs previous = tableGrowth;
    tableGrowth = grow != nullptr ? grow : GrowInRuntimeHeap;
    return previous;
}

}  // namespace runtime
