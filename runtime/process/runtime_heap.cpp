#include "runtime/process/runtime_heap.h"

#include "runtime/template/template_record.h"
#include "runtime/process/window_table.h"

namespace runtime {

HANDLE runtimeHeap = nullptr;

namespace {
constexpr SIZE_T kInitialHeapSize = 1024;
}  // namespace

bool CreateRuntimeHeap() {
    if (runtimeHeap == nullptr) runtimeHeap = HeapCreate(0, kInitialHeapSize, 0);
    return runtimeHeap != nullptr;
}

void DestroyRuntimeHeap() {
    if (runtimeHeap == nullptr) return;
    // The table's block dies with the heap; a table left pointing into it would be read by the
    // next lookup.
    ForgetWindowTable();
    HeapDestroy(runtimeHeap);
    runtimeHeap = nullptr;
}

void* AllocRuntimeBlock(uint32_t bytes) {
    if (runtimeHeap == nullptr) return nullptr;
    return HeapAlloc(runtimeHeap, HEAP_ZERO_MEMORY, bytes);
}

void* ReallocRuntimeBlock(void* block, uint32_t bytes) {
    if (block == nullptr) return AllocRuntimeBlock(bytes);
    if (runtimeHeap == nullptr) return nullptr;
    return HeapReAlloc(runtimeHeap, HEAP_ZERO_MEMORY, block, bytes);
}

void FreeRuntimeBlock(const void* block) {
    if (!HoldsBlock(ToSlot(block))) return;
    if (runtimeHeap == nullptr) return;
    HeapFree(runtimeHeap, 0, const_cast<void*>(block));
}

}  // namespace runtime
