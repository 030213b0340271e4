#include "runtime/util/list_table.h"

namespace runtime::util {

int32_t ListsInTable(const StringListTable& table) {
    return table.count < kMostStringLists ? table.count : kMostStringLists;
}

int32_t FindListEntry(const StringListTable& table, uint32_t handle) {
    if (handle == 0) return -1;
    const int32_t lists = ListsInTable(table);
    for (int32_t entry = 0; entry < lists; ++entry) {
        if (table.handles[entry] == handle) return entry;
    }
    return -1;
}

bool EnterList(StringListTable& table, uint32_t handle) {
    const int32_t lists = ListsInTable(table);
    if (handle == 0 || lists >= kMostStringLists) return false;
    table.handles[lists] = handle;
    table.count = static_cast<uint8_t>(lists + 1);
    return true;
}

void RemoveListEntry(StringListTable& table, int32_t entry) {
    const int32_t lists = ListsInTable(table);
    if (entry < 0 || entry >= lists) return;
    for (int32_t i = entry; i + 1 < lists; ++i) table.handles[i] = table.handles[i + 1];
    table.handles[lists - 1] = 0;
    table.count = static_cast<uint8_t>(lists - 1);
}

}  // namespace runtime::util
