#pragma once
// The record GetCpuInfo fills (runtime/util/system_info.h) and how it is read from the
// processor's identification leaves 0 and 1. Platform-free.

#include <cstddef>
#include <cstdint>

namespace runtime::util {

// The registers one identification leaf reports.
struct CpuidLeaf {
    uint32_t eax;
    uint32_t ebx;
    uint32_t ecx;
    uint32_t edx;
};

// 56 bytes. The vendor text in its reading order (leaf 0's ebx, edx, ecx) and a NUL; the
// bytes up to offset 32 are left 0; then the fields of leaf 1's signature (eax) and its
// feature flags (edx).
struct CpuInfoRecord {
    char vendor[13];
    uint8_t unused[19];
    uint32_t stepping;   // signature bits 0 to 3
    uint32_t family;     // bits 8 to 11
    uint32_t model;      // bits 4 to 7
    uint32_t type;       // bits 12 to 13
    uint32_t signature;  // the whole signature
    uint32_t features;   // leaf 1's edx
};

static_assert(sizeof(CpuInfoRecord) == 56);
static_assert(offsetof(CpuInfoRecord, vendor) == 0);
static_assert(offsetof(CpuInfoRecord, stepping) == 32);
static_assert(offsetof(CpuInfoRecord, family) == 36);
static_assert(offsetof(CpuInfoRecord, model) == 40);
static_assert(offsetof(CpuInfoRecord, type) == 44);
static_assert(offsetof(CpuInfoRecord, signature) == 48);
static_assert(offsetof(CpuInfoRecord, features) == 52);

// Leaf 0's eax: the highest leaf there is. Leaf 1 exists only when it is at least 1.
constexpr bool HasSignatureLeaf(const CpuidLeaf& leaf0) { return leaf0.eax >= 1; }

// The record for leaves 0 and 1.
CpuInfoRecord DescribeCpu(const CpuidLeaf& leaf0, const CpuidLeaf& leaf1);

}  // namespace runtime::util
