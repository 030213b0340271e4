#pragma once
// The bodies of TextLeft, TextRight and TextMid, one template for both text modes (`Ch` as in
// runtime/text/text_core.h). Each cuts a NUL-terminated text in place: it reads the text up to its
// terminator and writes only at or before it, whatever the counts asked for. A refused cut
// leaves the text as it was. Platform-free; the checking public entries are in
// runtime/util/text_utilities.h.

#include <cstdint>

#include "runtime/text/text_core.h"

namespace runtime::util {

namespace detail {
// Moves `count` units from `from` to the start of the text and ends it behind them. The units
// move toward the start, so copying forward is safe where the two ranges overlap.
template <class Ch>
void KeepAtStart(Ch* text, int32_t from, int32_t count) {
    for (int32_t i = 0; i < count; ++i) text[i] = text[from + i];
    text[count] = 0;
}
}  // namespace detail

// Keeps the first `count` characters. 1 when done; 0 when `count` is negative or the text is
// shorter than `count`.
template <class Ch>
int32_t TextLeft(Ch* text, int32_t count) {
    const int32_t length = text::TextLength(text);
    if (count < 0 || count > length) return 0;
    text[count] = 0;
    return 1;
}

// Keeps the last `count` characters, moved to the start. 1 when done; 0 when `count` is
// negative or the text is shorter than `count`.
template <class Ch>
int32_t TextRight(Ch* text, int32_t count) {
    const int32_t length = text::TextLength(text);
    if (count < 0 || count > length) return 0;
    detail::KeepAtStart(text, length - count, count);
    return 1;
}

// Keeps `count` characters from index `start`, moved to the start; when the text ends sooner,
// what there is from `start` on. 1 when done; 0 when `start` is negative or not below the
// length, or `count` is negative. The end is measured against the length, never as
// `start` + `count`, so no sum can overflow or reach past the terminator.
template <class Ch>
int32_t TextMid(Ch* text, int32_t start, int32_t count) {
    const int32_t length = text::TextLength(text);
    if (start < 0 || start >= length || count < 0) return 0;
    const int32_t available = length - start;
    detail::KeepAtStart(text, start, count < available ? count : available);
    return 1;
}

}  // namespace runtime::util
