#pragma once
// Reading movement tokens out of a request line. Platform-free.

#include <cstdint>
#include <string_view>

namespace motion {

// Reads a number: one optional leading '-', then every byte from '0' (0x30) upward counts as
// a digit worth its code minus 0x30 (':' is 10, '=' 13, 'Y' 41). The number ends at the first
// byte below '0' or at the end of `text`. Computed modulo 2^32; no digits gives 0.
int32_t ParseDecimal(std::string_view text);

}  // namespace motion
