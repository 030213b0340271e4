#include "runtime/text/number_text.h"

#include "runtime/text/pointer_check.h"
#include "runtime/text/text_mode.h"

namespace runtime {

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] int32_t FormatNumber(int32_t value, void* destination, int32_t format) {
    CheckPointer(destination, 1, __builtin_return_address(0));
    if (wideMode != 0) return FormatNumberW(value, static_cast<wchar_t*>(destination), format);
    return FormatNumberA(value, static_cast<char*>(destination), format);
}

[[gnu::noinline]] int32_t FormatNumberA(int32_t value, char* destination, int32_t format) {
    // The crash report formats into its own buffers with this member after clearing
    // reportPending.
    if (reportPending != 0) CheckPointer(destination, 1, __builtin_return_address(0));
    return text::FormatNumber(value, destination, format);
}

[[gnu::noinline]] int32_t FormatNumberW(int32_t value, wchar_t* destination, int32_t format) {
    CheckPointer(destination, 1, __builtin_return_address(0));
    return text::FormatNumber(value, destination, format);
}

}  // namespace runtime
