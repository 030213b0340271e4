#include "runtime/text/pointer_check.h"

namespace runtime {

const void* volatile pendingCheckSite = nullptr;
volatile int32_t reportPending = 1;

[[gnu::noinline]] void CheckPointer(const void* address, int32_t forWrite, const void* callSite) {
    pendingCheckSite = callSite;
    // The check writes back the very byte it read, so the caller's data never changes; the
    // volatile accesses keep the compiler from dropping either touch.
    auto* byte = static_cast<volatile uint8_t*>(const_cast<void*>(address));
    const uint8_t value = *byte;
    if (forWrite != 0) *byte = value;
    pendingCheckSite = nullptr;
}

}  // namespace runtime
