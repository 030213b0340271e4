#pragma once
// Where lines of a text file end, one template for both text modes (`Ch` as in
// runtime/text/text_core.h): bytes in ANSI files, 16-bit units in wide ones. Platform-free; the file
// functions that feed these rules are in runtime/util/text_files.h.
//
// Reading: a line ends at a carriage return, a line feed or the end of the file. A line feed
// right behind a carriage return belongs to that break; any other unit behind it starts the
// next line (so "\n\r" is two breaks).
// Writing: every line ends in a break, carriage return and line feed unless the text already
// ends in one of the two pairs.

#include <cstdint>

#include "runtime/text/text_core.h"

namespace runtime::util {

constexpr uint32_t kCarriageReturn = 0x0D;
constexpr uint32_t kLineFeed = 0x0A;

template <class Ch>
constexpr bool IsLineBreak(Ch unit) {
    return text::UnitValue(unit) == kCarriageReturn || text::UnitValue(unit) == kLineFeed;
}

// What one read takes from the units ahead of the file pointer.
struct LineCut {
    int32_t length;    // units of the line, for the caller's buffer
    int32_t consumed;  // units taken from the file: the line and its break
    bool goesOn;       // the buffer is full and the line continues behind it
};

// The units a read looks at for a buffer of `room` units (its terminator not counted): a line
// that fills the buffer, the break behind it and the line feed of a carriage return.
constexpr int32_t LineLookahead(int32_t room) { return room + 2; }

// Splits the next line off `units`, the `count` units ahead of the file pointer; `count` is
// below LineLookahead(room) only where the file ends. A line longer than `room` gives its
// first `room` units with goesOn set and leaves the rest for the next read; a break right
// behind a full buffer still ends the line there.
template <class Ch>
LineCut SplitLine(const Ch* units, int32_t count, int32_t room) {
    const int32_t scan = count < room + 1 ? count : room + 1;
    for (int32_t i = 0; i < scan; ++i) {
        if (!IsLineBreak(units[i])) continue;
        int32_t consumed = i + 1;
        if (text::UnitValue(units[i]) == kCarriageReturn && consumed < count &&
            text::UnitValue(units[consumed]) == kLineFeed) {
            ++consumed;
        }
        return LineCut{i, consumed, false};
    }
    if (count <= room) return LineCut{count, count, false};  // the file ends the line
    return LineCut{room, room, true};
}

// How a text of `length` units goes to the file: its first `kept` units, then `ending`.
struct LineEnd {
    int32_t kept;
    const char* ending;  // "", "\n" or "\r\n"
};

// A text ending in "\r\n" or "\n\r" is written as it is; one ending in a carriage return gets
// the line feed; a line feed of its own becomes "\r\n", so that a text that ends in a bare line
// feed still reads back as one line; any other text gets "\r\n". An empty text, and a text of
// only "\r" or "\n", write just the break.
template <class Ch>
LineEnd LineEndFor(const Ch* text, int32_t length) {
    if (length == 0) return LineEnd{0, "\r\n"};
    const uint32_t last = text::UnitValue(text[length - 1]);
    if (length >= 2) {
        const uint32_t before = text::UnitValue(text[length - 2]);
        if ((before == kCarriageReturn && last == kLineFeed) || (before == kLineFeed && last == kCarriageReturn)) {
            return LineEnd{length, ""};
        }
    }
    if (last == kCarriageReturn) return LineEnd{length, "\n"};
    if (last == kLineFeed) return LineEnd{length - 1, "\r\n"};
    return LineEnd{length, "\r\n"};
}

}  // namespace runtime::util
