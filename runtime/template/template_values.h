#pragma once
// The value encodings that template slots share: colours, text references, image references
// and control identifiers. Platform-free.

#include <cstdint>

namespace runtime {

// Colour: bit 31 clear is an RGB value 0x00BBGGRR; bit 31 set names the system colour whose
// index is the low 8 bits (0x8000000F button face, 0x80000012 button text).
constexpr bool IsSystemColor(uint32_t color) { return (color & 0x80000000u) != 0; }
constexpr int32_t SystemColorIndex(uint32_t color) { return static_cast<int32_t>(color & 0xFFu); }

// An image list's back colour that means no colour at all.
constexpr uint32_t kNoColor = 0xFFFFFFFFu;

// Text reference: below 0x8000 (0 included) a string-table identifier, else the address of a
// zero-terminated ANSI string.
constexpr uint32_t kFirstTextAddress = 0x8000u;
constexpr bool IsStringTableId(uint32_t reference) { return reference < kFirstTextAddress; }

// Image reference (cursor, icon, menu, bitmap): 0 is none, 1..0xFFFF a resource identifier,
// anything else already a handle.
constexpr uint32_t kFirstImageHandle = 0x10000u;
constexpr bool IsImageResourceId(uint32_t reference) {
    return reference != 0 && reference < kFirstImageHandle;
}

// A control's identifier follows its Index, whatever its place among the records.
constexpr int32_t kFirstControlId = 1000;
constexpr int32_t ControlIdFromIndex(int32_t index) { return kFirstControlId + index; }

}  // namespace runtime
