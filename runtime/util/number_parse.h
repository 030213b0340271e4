#pragma once
// The body of ParseNumber, one template for both text modes (`Ch` as in runtime/text/text_core.h).
// Platform-free; the checking public entry is in runtime/util/text_utilities.h.
//
// The notation is the one FormatNumber writes (runtime/text/number_format.h), so every text it
// writes reads back as its value: "101B", "-12", "C0000005H".
//  - Leading blanks and tabs are skipped, then one optional sign ('+' or '-').
//  - "0x" (or "0X") right after the sign makes the number hexadecimal.
//  - Otherwise the letter behind the digits names the base: H hexadecimal, O or Q octal,
//    Y binary; a last digit B (it is also a hexadecimal digit) means binary with the digits
//    before it; anything else is decimal. Letters count in either case.
//  - The digits are read up to the first one that the base does not have; arithmetic is on 32
//    bits and wraps, so "FFFFFFFFH" is -1. No digits give 0, and so does an empty text.

#include <cstdint>

#include "runtime/text/text_core.h"

namespace runtime::util {

namespace detail {
constexpr uint32_t kNoDigit = 99;

constexpr uint32_t UpperCase(uint32_t unit) {
    return (unit >= 'a' && unit <= 'z') ? unit - ('a' - 'A') : unit;
}

// The value of a decimal or hexadecimal digit; kNoDigit for any other unit.
constexpr uint32_t DigitValue(uint32_t unit) {
    const uint32_t upper = UpperCase(unit);
    if (upper >= '0' && upper <= '9') return upper - '0';
    if (upper >= 'A' && upper <= 'F') return upper - 'A' + 10;
    return kNoDigit;
}
}  // namespace detail

template <class Ch>
int32_t ParseNumber(const Ch* text) {
    using text::UnitValue;
    int32_t at = 0;
    while (text::IsBlankOrTab(text[at])) ++at;
    const bool negative = UnitValue(text[at]) == '-';
    if (negative || UnitValue(text[at]) == '+') ++at;

    uint32_t base = 0;  // 0 until the notation names it
    if (UnitValue(text[at]) == '0' && detail::UpperCase(UnitValue(text[at + 1])) == 'X') {
        base = 16;
        at += 2;
    }
    const int32_t first = at;
    while (detail::DigitValue(UnitValue(text[at])) != detail::kNoDigit) ++at;
    int32_t end = at;
    if (base == 0) {
        switch (detail::UpperCase(UnitValue(text[end]))) {
            case 'H': base = 16; break;
            case 'O':
            case 'Q': base = 8; break;
            case 'Y': base = 2; break;
            default:
                if (end > first && detail::UpperCase(UnitValue(text[end - 1])) == 'B') {
                    base = 2;
                    --end;
                } else {
                    base = 10;
                }
        }
    }
    uint32_t value = 0;
    for (int32_t i = first; i < end; ++i) {
        const uint32_t digit = detail::DigitValue(UnitValue(text[i]));
        if (digit >= base) break;
        value = value * base + digit;
    }
    // The magnitude as a 32-bit pattern, negated on the same 32 bits.
    return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace runtime::util
