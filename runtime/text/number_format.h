#pragma once
// The program's one number formatter: FormatNumber's body, one template for both text modes
// (see runtime/text/text_core.h), and the unsigned decimal the application's boxes and fields
// show. Platform-free; FormatNumber's checking public entry is in runtime/text/number_text.h.

#include <cstdint>

namespace runtime {

namespace number_format {
constexpr int32_t Binary = 0;       // 5 gives "101B", 0 gives "0B"
constexpr int32_t Decimal = 1;      // signed, as "%ld"
constexpr int32_t Hexadecimal = 2;  // upper case as "%lX", then 'H': "C0000005H"
constexpr int32_t Nothing = 3;      // writes nothing, leaves the buffer as it was
}  // namespace number_format

// The longest text any format writes: 32 binary digits, 'B' and the terminator.
constexpr int32_t kNumberTextCapacity = 34;
// The longest decimal text, signed or unsigned: "-2147483648" and the terminator.
constexpr int32_t kDecimalTextCapacity = 12;

}  // namespace runtime

namespace runtime::text {

namespace detail {
// Writes the digits of `value` in `base`, most significant first, then `suffix` (when not 0)
// and the terminator; returns the number of units before the terminator.
template <class Ch>
int32_t WriteDigits(uint32_t value, uint32_t base, Ch* out, char suffix) {
    char digits[32];
    int32_t count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value != 0);
    int32_t written = 0;
    while (count > 0) out[written++] = static_cast<Ch>(digits[--count]);
    if (suffix != 0) out[written++] = static_cast<Ch>(suffix);
    out[written] = 0;
    return written;
}
}  // namespace detail

// Writes `value` as text in the given format (number_format constants; any other code is
// decimal) into `out`, which holds kNumberTextCapacity units; returns the units written before
// the terminator (0 for format Nothing).
template <class Ch>
int32_t FormatNumber(int32_t value, Ch* out, int32_t format) {
    // The value is read as its 32-bit pattern for binary and hexadecimal.
    const auto bits = static_cast<uint32_t>(value);
    switch (format) {
        case number_format::Binary: return detail::WriteDigits(bits, 2, out, 'B');
        case number_format::Hexadecimal: return detail::WriteDigits(bits, 16, out, 'H');
        case number_format::Nothing: return 0;
        default: break;
    }
    if (value >= 0) return detail::WriteDigits(bits, 10, out, 0);
    out[0] = static_cast<Ch>('-');
    // 0 - bits is the magnitude, also for the most negative value.
    return 1 + detail::WriteDigits(0u - bits, 10, out + 1, 0);
}

// Writes `value` as unsigned decimal ("%lu": 4294967295 for the highest) into `out`, which holds
// kDecimalTextCapacity units; returns the units written before the terminator.
template <class Ch>
int32_t FormatUnsigned(uint32_t value, Ch* out) {
    return detail::WriteDigits(value, 10, out, 0);
}

}  // namespace runtime::text
