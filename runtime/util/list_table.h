#pragma once
// The string-list table's bookkeeping (the table lives in the runtime's work block,
// runtime/process/work_block.h): its handles are filled from the front without holes and
// counted, the entry behind the last handle stays 0. Platform-free; the string lists themselves
// are in runtime/util/string_lists.h.

#include <cstdint>

#include "runtime/process/work_block.h"

namespace runtime::util {

// The lists in the table, as its count byte says, never more than the table holds.
int32_t ListsInTable(const StringListTable& table);

// The entry that holds `handle`, or -1 (also for the handle 0, which is never a list).
int32_t FindListEntry(const StringListTable& table, uint32_t handle);

// Enters a handle behind the last one and counts it; false, with the table unchanged, when the
// table is full or the handle is 0.
bool EnterList(StringListTable& table, uint32_t handle);

// Takes the handle at `entry` out: the later entries move down by one, the freed last entry is
// cleared and the count decreases. An entry outside the lists changes nothing.
void RemoveListEntry(StringListTable& table, int32_t entry);

}  // namespace runtime::util
