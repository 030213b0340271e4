#include "runtime/process/window_table_core.h"

namespace runtime {

namespace {

// Index of the pair of `window` in the used part, or -1.
int64_t IndexOf(const WindowTable& table, const void* window) {
    for (uint32_t index = 0; index < table.used; ++index) {
        if (table.pairs[index].window == window) return index;
    }
    return -1;
}

}  // namespace

RuntimeRecord* FindRecordInTable(const WindowTable& table, const void* window) {
    if (table.pairs == nullptr) return nullptr;
    for (const WindowPair* pair = table.pairs; pair->window != nullptr; ++pair) {
        if (pair->window == window) return pair->record;
    }
    return nullptr;
}

bool CreateTableBlock(WindowTable& table, GrowWindowPairs grow) {
    if (table.pairs != nullptr) return true;
    WindowPair* block = grow(nullptr, kInitialWindowPairs);
    if (block == nullptr) return false;
    table.pairs = block;
    table.capacity = kInitialWindowPairs;
    table.used = 0;
    return true;
}

bool InsertRecordInTable(WindowTable& table, const void* window, RuntimeRecord* record,
                         GrowWindowPairs grow) {
    if (window == nullptr) return false;
    if (!CreateTableBlock(table, grow)) return false;
    const int64_t existing = IndexOf(table, window);
    if (existing >= 0) {
        table.pairs[existing].record = record;
        return true;
    }
    if (WindowTableMustGrow(table.used, table.capacity)) {
        if (table.used > UINT32_MAX / 2 - 2) return false;
        const uint32_t pairs = GrownWindowPairs(table.used);
        WindowPair* grown = grow(table.pairs, pairs);
        // A failed growth leaves the old block in place and whole: the window is simply not
        // entered.
        if (grown == nullptr) return false;
        table.pairs = grown;
        table.capacity = pairs;
    }
    table.pairs[table.used] = WindowPair{window, record};
    ++table.used;
    table.pairs[table.used] = WindowPair{nullptr, nullptr};
    return true;
}

bool RemoveRecordFromTable(WindowTable& table, const void* window) {
    if (window == nullptr) return false;
    const int64_t found = IndexOf(table, window);
    if (found < 0) return false;
    // Moving the terminator down too keeps the table ended.
    for (auto index = static_cast<uint32_t>(found); index < table.used; ++index) {
        table.pairs[index] = table.pairs[index + 1];
    }
    --table.used;
    return true;
}

}  // namespace runtime
