#include "runtime/util/cpu_record.h"

namespace runtime::util {

namespace {
// The four characters of a register, lowest byte first.
void PutChars(uint32_t value, char* out) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
}  // namespace

CpuInfoRecord DescribeCpu(const CpuidLeaf& leaf0, const CpuidLeaf& leaf1) {
    CpuInfoRecord record{};
    PutChars(leaf0.ebx, record.vendor);
    PutChars(leaf0.edx, record.vendor + 4);
    PutChars(leaf0.ecx, record.vendor + 8);
    record.vendor[12] = 0;
    const uint32_t signature = leaf1.eax;
    record.stepping = signature & 0xF;
    record.model = (signature >> 4) & 0xF;
    record.family = (signature >> 8) & 0xF;
    record.type = (signature >> 12) & 0x3;
    record.signature = signature;
    record.features = leaf1.edx;
    return record;
}

}  // namespace runtime::util
