#pragma once
// The edge cases of the text helpers as data, in ASCII: the host tests run them through the
// helpers' bodies with 8- and 16-bit units, the Windows tests through the checking public
// entries in ANSI and in wide mode.

#include <cstdint>

namespace textcases {

struct SearchCase {
    const char* text;
    uint32_t character;
    int32_t first;  // FindChar
    int32_t last;   // FindLastChar
};

inline constexpr SearchCase kSearches[] = {
    {"Window1.asm", '.', 7, 7},
    {"Window1.asm", 'z', -1, -1},
    {"Window1.asm", 0, 11, -1},  // NUL: compared as the first character, never as the last
    {"a.b.c", '.', 1, 3},
    {"", 0, 0, -1},
    {"", 'a', -1, -1},
    {"aaa", 'a', 0, 2},
};

enum TrimOp { TrimLeftOp, TrimRightOp, TrimBothOp };

struct TrimCase {
    const char* text;
    TrimOp op;
    const char* result;
    int32_t length;
};

inline constexpr TrimCase kTrims[] = {
    {" \t  \t", TrimBothOp, "", 0},
    {"\t ab \t", TrimBothOp, "ab", 2},
    {"  a b ", TrimLeftOp, "a b ", 4},
    {"ab", TrimLeftOp, "ab", 2},
    {" \t", TrimLeftOp, "", 0},
    {"  a b \t", TrimRightOp, "  a b", 5},
    {"\t\t", TrimRightOp, "", 0},
    {"\n x\r ", TrimBothOp, "\n x\r", 4},  // line ends are not blanks
    {"", TrimBothOp, "", 0},
};

struct StripCase {
    const char* text;
    int32_t keep;
    const char* result;
};

inline constexpr StripCase kStrips[] = {
    {"&File", 0, "File"}, {"&File", 1, "&File"}, {"a&&b", 0, "ab"},
    {"&", 0, ""},         {"", 0, ""},           {"Save &As", 0, "Save As"},
};

struct MatchCase {
    const char* text;
    uint32_t key;
    int32_t match;
};

inline constexpr MatchCase kMatches[] = {
    {"&Save", 's', 1},  // a lower-case key matches the upper-case letter
    {"&save", 'S', 0},  // not the reverse
    {"&Save", 'S', 1},
    {"&save", 's', 1},
    {"Save", 's', 0},
    {"Sa&ve", 'v', 1},
    {"a&b&c", 'c', 0},  // only the first '&' counts
    {"&&x", 'x', 0},
    {"&1", '1', 1},
    {"", 'a', 0},
    {"Save&", ' ', 0},  // the blank key cleared of bit 5 is NUL: the terminator is no letter
    {"Save&", 0, 0},
};

struct NumberCase {
    int32_t value;
    int32_t format;
    const char* text;
};

inline constexpr NumberCase kNumbers[] = {
    {0, 0, "0B"},
    {5, 0, "101B"},
    {-1, 0, "11111111111111111111111111111111B"},
    {INT32_MIN, 0, "10000000000000000000000000000000B"},
    {0, 1, "0"},
    {-1, 1, "-1"},
    {1234, 1, "1234"},
    {INT32_MAX, 1, "2147483647"},
    {INT32_MIN, 1, "-2147483648"},
    {0, 2, "0H"},
    {-1, 2, "FFFFFFFFH"},
    {static_cast<int32_t>(0xC0000005u), 2, "C0000005H"},
    {0x401A2B, 2, "401A2BH"},
    {42, 4, "42"},  // any other format is decimal
    {-7, -1, "-7"},
};

}  // namespace textcases
