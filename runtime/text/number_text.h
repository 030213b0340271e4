#pragma once
// FormatNumber in the runtime's text mode: an ANSI member (A), a wide member (W) and a public
// entry that checks the destination for writing and calls the member chosen by `wideMode`.
// The formats are those of runtime/text/number_format.h.

#include <cstdint>

#include "runtime/text/number_format.h"

namespace runtime {

// Writes `value` in `format` into `destination` (kNumberTextCapacity characters); returns the
// characters written before the terminator. The ANSI member checks the destination only while
// `reportPending` is set; the wide member and the entry always do.
int32_t FormatNumber(int32_t value, void* destination, int32_t format);
int32_t FormatNumberA(int32_t value, char* destination, int32_t format);
int32_t FormatNumberW(int32_t value, wchar_t* destination, int32_t format);

}  // namespace runtime
