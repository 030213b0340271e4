#pragma once
// The window table's logic: pairs (window handle, runtime record) in insertion order, ended by
// a pair whose handle is 0. Platform-free: the memory comes through a growth function, which
// the Windows side (runtime/process/window_table.h) takes from the runtime heap and tests can make fail.

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

struct WindowPair {
    const void* window;  // 0 only in the terminator
    RuntimeRecord* record;
};
#if UINTPTR_MAX == UINT32_MAX
static_assert(sizeof(WindowPair) == 8, "two 32-bit words per pair on the 32-bit target");
#endif

// 1024 bytes of pairs on the 32-bit target.
constexpr uint32_t kInitialWindowPairs = 128;

// The table grows before an insertion that would leave fewer than two free pairs (the new pair
// and the terminator) with one pair to spare, to twice the pairs it then needs: from 128 pairs
// at 126 used to 256, at 254 to 512, and so on.
constexpr bool WindowTableMustGrow(uint32_t used, uint32_t capacity) { return used + 2 >= capacity; }
constexpr uint32_t GrownWindowPairs(uint32_t used) { return 2 * (used + 2); }

// Returns a block of `pairs` pairs that keeps the first pairs of `table` (null: none) and is
// zero-filled behind them; null when the memory cannot be had, leaving `table` untouched.
using GrowWindowPairs = WindowPair* (*)(WindowPair* table, uint32_t pairs);

struct WindowTable {
    WindowPair* pairs = nullptr;  // null until the first block is had
    uint32_t capacity = 0;        // pairs the block holds, the terminator included
    uint32_t used = 0;            // pairs before the terminator
};

// The record of the first pair whose handle is `window`; null when the terminator comes first
// (and for a table that has no block).
RuntimeRecord* FindRecordInTable(const WindowTable& table, const void* window);

// Gives `table` its first block of kInitialWindowPairs pairs; false when that fails.
bool CreateTableBlock(WindowTable& table, GrowWindowPairs grow);

// Enters (window, record). A window already in the table has its record replaced, so a stale
// pair can never hide the new one. A full table grows first (WindowTableMustGrow; a table
// without a block gets its first one); when that fails, or for the handle 0 (which would end
// the table early), nothing changes and the result is false.
bool InsertRecordInTable(WindowTable& table, const void* window, RuntimeRecord* record,
                         GrowWindowPairs grow);

// Removes the pair of `window`, moving the later pairs down so that order and terminator are
// kept; false when the window is not in the table.
bool RemoveRecordFromTable(WindowTable& table, const void* window);

}  // namespace runtime
