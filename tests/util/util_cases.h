#pragma once
// The edge cases of the utility functions' platform-free rules as data, in ASCII: the host
// tests run them through the bodies with 8- and 16-bit units, the Windows tests through the
// checking public entries and real files in ANSI and in wide mode.

#include <cstdint>
#include <limits>

namespace utilcases {

struct ParseCase {
    const char* text;
    int32_t value;
};

inline constexpr ParseCase kParses[] = {
    {"1F4H", 500},
    {"1f4h", 500},
    {"101B", 5},
    {"101b", 5},
    {"101Y", 5},
    {"17O", 15},
    {"17Q", 15},
    {"-12", -12},
    {"0x1F", 31},
    {"0X1f", 31},
    {"-0x1F", -31},
    {"  +7", 7},
    {"\t 42", 42},
    {"", 0},
    {" \t", 0},
    {"+", 0},
    {"1BH", 27},     // B as a hexadecimal digit when H follows
    {"0x1B", 27},    // and after "0x"
    {"0B", 0},
    {"19O", 1},      // the digits end at the first one the base lacks
    {"12abc", 12},
    {"- 5", 0},      // the sign belongs to the digits right behind it
    {"FFFFFFFFH", -1},
    {"C0000005H", static_cast<int32_t>(0xC0000005u)},
    {"2147483648", std::numeric_limits<int32_t>::min()},  // 32 bits, wrapping
    {"4294967297", 1},
};

enum CutOp { Left, Right, Mid };

struct CutCase {
    CutOp op;
    const char* text;
    int32_t start;  // TextMid only
    int32_t count;
    int32_t result;
    const char* after;
};

inline constexpr int32_t kMost = std::numeric_limits<int32_t>::max();

inline constexpr CutCase kCuts[] = {
    {Left, "abcdef", 0, 3, 1, "abc"},
    {Left, "abc", 0, 3, 1, "abc"},
    {Left, "abc", 0, 4, 0, "abc"},
    {Left, "abc", 0, 0, 1, ""},
    {Left, "abc", 0, -1, 0, "abc"},
    {Left, "", 0, 0, 1, ""},
    {Right, "abcdef", 0, 2, 1, "ef"},
    {Right, "abc", 0, 3, 1, "abc"},
    {Right, "abc", 0, 4, 0, "abc"},
    {Right, "abc", 0, 0, 1, ""},
    {Right, "abc", 0, -2, 0, "abc"},
    {Mid, "abcdef", 2, 3, 1, "cde"},
    {Mid, "abcdef", 4, 10, 1, "ef"},
    {Mid, "abcdef", 4, kMost, 1, "ef"},  // start + count would overflow
    {Mid, "abcdef", 5, 1, 1, "f"},
    {Mid, "abcdef", 0, 0, 1, ""},
    {Mid, "abcdef", 6, 1, 0, "abcdef"},
    {Mid, "abcdef", kMost, 1, 0, "abcdef"},
    {Mid, "abcdef", -1, 2, 0, "abcdef"},
    {Mid, "abcdef", 1, -1, 0, "abcdef"},
    {Mid, "", 0, 1, 0, ""},
};

struct LineEndCase {
    const char* text;
    const char* written;  // what reaches the file
};

inline constexpr LineEndCase kLineEnds[] = {
    {"", "\r\n"},
    {"abc", "abc\r\n"},
    {"abc\r\n", "abc\r\n"},
    {"abc\n\r", "abc\n\r"},
    {"abc\r", "abc\r\n"},
    {"abc\n", "abc\r\n"},  // a bare line feed becomes the break, not a line of its own
    {"\r", "\r\n"},
    {"\n", "\r\n"},
    {"\r\n", "\r\n"},
    {"a\rb", "a\rb\r\n"},
    {"abc\r\r", "abc\r\r\n"},
};

}  // namespace utilcases
