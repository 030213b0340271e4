#pragma once
// The runtime's private heap. Every runtime record, copied text, item array and the window
// table come from it, zero-filled; it is destroyed as a whole at the runtime's shutdown.

#include <windows.h>

#include <cstdint>

namespace runtime {

// Slots hold small numbers (counts, identifiers, string-table references) where no block was
// allocated; read as the signed 32-bit values the slots carry, they lie below the first
// address a block can have.
constexpr int32_t kFirstBlockAddress = 0x8000;
constexpr bool HoldsBlock(uint32_t slot) { return static_cast<int32_t>(slot) >= kFirstBlockAddress; }

// The heap; null before start-up and after shutdown.
extern HANDLE runtimeHeap;

// Creates the heap (no options, 1024 bytes to start, growable); true when it exists.
bool CreateRuntimeHeap();

// Destroys the heap with every block in it, the window table included (which is forgotten).
void DestroyRuntimeHeap();

// A zero-filled block of `bytes`; null when there is no heap or no memory.
void* AllocRuntimeBlock(uint32_t bytes);

// Resizes a block (null: a new one), keeping its contents and zero-filling what it gains; null
// when that fails, and then `block` is left as it was.
void* ReallocRuntimeBlock(void* block, uint32_t bytes);

// Releases a runtime block. A value below 0x8000 as a signed 32-bit number (null, a small
// identifier that stands where a text could) is ignored, as is any block once the heap is gone.
void FreeRuntimeBlock(const void* block);

}  // namespace runtime
