#pragma once
// The bodies of the runtime's text helpers, one template for both text modes: `Ch` is char for
// ANSI texts and a 16-bit unit (wchar_t on Windows) for wide texts. Texts are NUL-terminated;
// lengths and indexes count units. The helpers work in place on the caller's buffers and
// allocate nothing. Platform-free; the checking public entries are in runtime/text/text_*.h.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

namespace runtime::text {

// A unit compared as the unsigned value it carries.
template <class Ch>
constexpr uint32_t UnitValue(Ch unit) {
    return static_cast<std::make_unsigned_t<Ch>>(unit);
}

// A character argument cut to the width of one unit (its low byte in ANSI texts).
template <class Ch>
constexpr uint32_t AsUnit(uint32_t character) {
    return character & std::numeric_limits<std::make_unsigned_t<Ch>>::max();
}

constexpr uint32_t kBlank = 0x20;
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kMnemonicMark = '&';

template <class Ch>
constexpr bool IsBlankOrTab(Ch unit) {
    return UnitValue(unit) == kBlank || UnitValue(unit) == kTab;
}

// Length in units; 0 for a null text.
template <class Ch>
int32_t TextLength(const Ch* text) {
    if (text == nullptr) return 0;
    int32_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

// Copies the source with its terminator; returns the length of the copy.
template <class Ch>
int32_t CopyText(Ch* destination, const Ch* source) {
    int32_t length = 0;
    while ((destination[length] = source[length]) != 0) ++length;
    return length;
}

// Copies the source with its terminator; returns the destination.
template <class Ch>
Ch* CopyTextTo(Ch* destination, const Ch* source) {
    CopyText(destination, source);
    return destination;
}

// Index of the first unit equal to the character, or -1. The terminator is compared too, so a
// search for NUL gives the length.
template <class Ch>
int32_t FindChar(const Ch* text, uint32_t character) {
    const uint32_t wanted = AsUnit<Ch>(character);
    for (int32_t index = 0;; ++index) {
        const uint32_t unit = UnitValue(text[index]);
        if (unit == wanted) return index;
        if (unit == 0) return -1;
    }
}

// Index of the last unit equal to the character, or -1; the terminator is never found.
template <class Ch>
int32_t FindLastChar(const Ch* text, uint32_t character) {
    const uint32_t wanted = AsUnit<Ch>(character);
    int32_t found = -1;
    for (int32_t index = 0; text[index] != 0; ++index) {
        if (UnitValue(text[index]) == wanted) found = index;
    }
    return found;
}

// Removes leading blanks and tabs by moving the rest (terminator included) to the start;
// returns the new length.
template <class Ch>
int32_t TrimLeft(Ch* text) {
    int32_t skip = 0;
    while (IsBlankOrTab(text[skip])) ++skip;
    if (skip == 0) return TextLength(text);
    int32_t length = 0;
    while ((text[length] = text[length + skip]) != 0) ++length;
    return length;
}

// Ends the text behind its last unit that is neither blank nor tab; returns the new length.
template <class Ch>
int32_t TrimRight(Ch* text) {
    int32_t kept = 0;
    for (int32_t index = 0; text[index] != 0; ++index) {
        if (!IsBlankOrTab(text[index])) kept = index + 1;
    }
    text[kept] = 0;
    return kept;
}

// TrimLeft, then TrimRight; returns the new length.
template <class Ch>
int32_t Trim(Ch* text) {
    TrimLeft(text);
    return TrimRight(text);
}

// Copies the source, terminator included, leaving out every '&' unless `keep` is non-zero
// ("a&&b" gives "ab"). The destination may be the source itself. Returns the copy's length.
template <class Ch>
int32_t StripMnemonic(const Ch* source, Ch* destination, int32_t keep) {
    int32_t written = 0;
    for (int32_t index = 0; source[index] != 0; ++index) {
        if (keep == 0 && UnitValue(source[index]) == kMnemonicMark) continue;
        destination[written++] = source[index];
    }
    destination[written] = 0;
    return written;
}

// 1 when the unit right after the first '&' equals the key or the key with bit 5 cleared (a
// lower-case key matches an upper-case letter in the text, not the reverse); 0 otherwise, and
// when there is no '&'. The terminator behind a final '&' is no mnemonic.
template <class Ch>
int32_t MatchMnemonic(const Ch* text, uint32_t key) {
    const int32_t mark = FindChar(text, kMnemonicMark);
    if (mark < 0) return 0;
    const uint32_t unit = UnitValue(text[mark + 1]);
    if (unit == 0) return 0;
    // Only bit 5 is cleared, within the unit's width: a wide key keeps its high bits and so
    // never stands for an ASCII letter.
    const uint32_t wanted = AsUnit<Ch>(key);
    return (unit == wanted || unit == (wanted & ~0x20u)) ? 1 : 0;
}

// Copies at most `capacity` - 1 units of a text into a buffer of `capacity` units and ends it;
// returns the units copied. A capacity of 0 writes nothing.
template <class Ch>
std::size_t CopyBounded(std::basic_string_view<Ch> source, Ch* destination, std::size_t capacity) {
    if (capacity == 0) return 0;
    const std::size_t count = source.size() < capacity - 1 ? source.size() : capacity - 1;
    for (std::size_t i = 0; i < count; ++i) destination[i] = source[i];
    destination[count] = 0;
    return count;
}

}  // namespace runtime::text
