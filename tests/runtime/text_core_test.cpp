// The text helpers' bodies and FormatNumber, run with ANSI units and with 16-bit units.

#include "runtime/number_format.h"
#include "runtime/text_core.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

namespace text = runtime::text;

// An ASCII text in units of Ch.
template <class Ch>
std::basic_string<Ch> T(const char* ascii) {
    std::basic_string<Ch> out;
    for (; *ascii != 0; ++ascii) out.push_back(static_cast<Ch>(static_cast<unsigned char>(*ascii)));
    return out;
}

// Units of Ch read back as ASCII, for failure messages and comparisons.
template <class Ch>
std::string Ascii(const Ch* units) {
    std::string out;
    for (; *units != 0; ++units) out.push_back(static_cast<char>(*units));
    return out;
}

template <class Ch>
class TextCore : public ::testing::Test {};

#ifdef _WIN32
using UnitTypes = ::testing::Types<char, char16_t, wchar_t>;
#else
using UnitTypes = ::testing::Types<char, char16_t>;
#endif
TYPED_TEST_SUITE(TextCore, UnitTypes);

TYPED_TEST(TextCore, FindCharAndFindLastChar) {
    using Ch = TypeParam;
    const struct {
        const char* text;
        uint32_t character;
        int32_t first;
        int32_t last;
    } cases[] = {
        {"Window1.asm", '.', 7, 7},
        {"Window1.asm", 'z', -1, -1},
        {"Window1.asm", 0, 11, -1},  // NUL: the terminator is compared first-wise, never last-wise
        {"a.b.c", '.', 1, 3},
        {"", 0, 0, -1},
        {"", 'a', -1, -1},
        {"aaa", 'a', 0, 2},
    };
    for (const auto& c : cases) {
        const auto t = T<Ch>(c.text);
        EXPECT_EQ(text::FindChar(t.c_str(), c.character), c.first) << c.text << " / " << c.character;
        EXPECT_EQ(text::FindLastChar(t.c_str(), c.character), c.last) << c.text << " / " << c.character;
    }
}

TYPED_TEST(TextCore, TheCharacterIsCutToTheUnitWidth) {
    using Ch = TypeParam;
    const auto t = T<Ch>("a.b");
    // 0x012E: its low byte is '.'; a 16-bit unit keeps the whole value.
    const int32_t expected = sizeof(Ch) == 1 ? 1 : -1;
    EXPECT_EQ(text::FindChar(t.c_str(), 0x012Eu), expected);
    EXPECT_EQ(text::FindLastChar(t.c_str(), 0x012Eu), expected);
}

TYPED_TEST(TextCore, TrimsRemoveBlanksAndTabsOnly) {
    using Ch = TypeParam;
    enum Op { Left, Right, Both };
    const struct {
        const char* text;
        Op op;
        const char* result;
        int32_t length;
    } cases[] = {
        {" \t  \t", Both, "", 0},
        {"\t ab \t", Both, "ab", 2},
        {"  a b ", Left, "a b ", 4},
        {"ab", Left, "ab", 2},
        {" \t", Left, "", 0},
        {"  a b \t", Right, "  a b", 5},
        {"\t\t", Right, "", 0},
        {"\n x\r ", Both, "\n x\r", 4},  // line ends are not blanks
        {"", Both, "", 0},
    };
    for (const auto& c : cases) {
        auto t = T<Ch>(c.text);
        const int32_t length = c.op == Left    ? text::TrimLeft(t.data())
                               : c.op == Right ? text::TrimRight(t.data())
                                               : text::Trim(t.data());
        EXPECT_EQ(length, c.length) << "\"" << c.text << "\" op " << c.op;
        EXPECT_EQ(Ascii(t.c_str()), c.result) << "\"" << c.text << "\" op " << c.op;
    }
}

TYPED_TEST(TextCore, StripMnemonicLeavesOutEveryAmpersandUnlessKept) {
    using Ch = TypeParam;
    const struct {
        const char* text;
        int32_t keep;
        const char* result;
    } cases[] = {
        {"&File", 0, "File"}, {"&File", 1, "&File"}, {"a&&b", 0, "ab"},
        {"&", 0, ""},         {"", 0, ""},           {"Save &As", 0, "Save As"},
    };
    for (const auto& c : cases) {
        const auto source = T<Ch>(c.text);
        std::basic_string<Ch> destination(16, static_cast<Ch>('#'));
        const int32_t length = text::StripMnemonic(source.c_str(), destination.data(), c.keep);
        EXPECT_EQ(Ascii(destination.c_str()), c.result) << c.text << " keep " << c.keep;
        EXPECT_EQ(length, static_cast<int32_t>(std::string(c.result).size())) << c.text;

        auto inPlace = T<Ch>(c.text);
        text::StripMnemonic(inPlace.c_str(), inPlace.data(), c.keep);
        EXPECT_EQ(Ascii(inPlace.c_str()), c.result) << c.text << " in place";
    }
}

TYPED_TEST(TextCore, MatchMnemonicLooksBehindTheFirstAmpersand) {
    using Ch = TypeParam;
    const struct {
        const char* text;
        uint32_t key;
        int32_t match;
    } cases[] = {
        {"&Save", 's', 1},  // a lower-case key matches the upper-case letter
        {"&save", 'S', 0},  // not the reverse
        {"&Save", 'S', 1},  {"&save", 's', 1},  {"Save", 's', 0},   {"Sa&ve", 'v', 1},
        {"a&b&c", 'c', 0},  // only the first '&' counts
        {"&&x", 'x', 0},    {"&1", '1', 1},     {"", 'a', 0},
        {"Save&", ' ', 0},  // the blank key cleared of bit 5 is NUL: the terminator is no letter
        {"Save&", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::MatchMnemonic(T<Ch>(c.text).c_str(), c.key), c.match)
            << c.text << " key " << c.key;
    }
}

TYPED_TEST(TextCore, AWideKeyNeverStandsForAnAsciiLetter) {
    using Ch = TypeParam;
    // 0x0441 cleared of bit 5 within 16 bits stays 0x0441; an ANSI text compares its low byte.
    const int32_t expected = sizeof(Ch) == 1 ? 1 : 0;
    EXPECT_EQ(text::MatchMnemonic(T<Ch>("&A").c_str(), 0x0441u), expected);
    EXPECT_EQ(text::MatchMnemonic(T<Ch>("&A").c_str(), 0x0461u), expected);
}

TYPED_TEST(TextCore, LengthsAndCopies) {
    using Ch = TypeParam;
    EXPECT_EQ(text::TextLength<Ch>(nullptr), 0);
    EXPECT_EQ(text::TextLength(T<Ch>("").c_str()), 0);
    EXPECT_EQ(text::TextLength(T<Ch>("Project1").c_str()), 8);

    const auto source = T<Ch>("COM1");
    std::basic_string<Ch> destination(8, static_cast<Ch>('#'));
    EXPECT_EQ(text::CopyText(destination.data(), source.c_str()), 4);
    EXPECT_EQ(destination[4], Ch(0)) << "the terminator is copied";
    EXPECT_EQ(destination[5], static_cast<Ch>('#')) << "nothing behind it is touched";
    EXPECT_EQ(Ascii(destination.c_str()), "COM1");
    EXPECT_EQ(text::CopyTextTo(destination.data(), T<Ch>("ab").c_str()), destination.data());
    EXPECT_EQ(Ascii(destination.c_str()), "ab");
}

TYPED_TEST(TextCore, FormatNumberInEveryFormat) {
    using Ch = TypeParam;
    const std::string ones(32, '1');
    const struct {
        int32_t value;
        int32_t format;
        std::string text;
    } cases[] = {
        {0, 0, "0B"},
        {5, 0, "101B"},
        {-1, 0, ones + "B"},
        {INT_MIN, 0, "1" + std::string(31, '0') + "B"},
        {0, 1, "0"},
        {-1, 1, "-1"},
        {1234, 1, "1234"},
        {INT_MAX, 1, "2147483647"},
        {INT_MIN, 1, "-2147483648"},
        {0, 2, "0H"},
        {-1, 2, "FFFFFFFFH"},
        {static_cast<int32_t>(0xC0000005u), 2, "C0000005H"},
        {0x401A2B, 2, "401A2BH"},
        {42, 4, "42"},   // any other format is decimal
        {-7, -1, "-7"},
    };
    for (const auto& c : cases) {
        Ch buffer[runtime::kNumberTextCapacity + 2];
        std::fill(std::begin(buffer), std::end(buffer), static_cast<Ch>('#'));
        const int32_t written = text::FormatNumber(c.value, buffer, c.format);
        EXPECT_EQ(Ascii(buffer), c.text) << c.value << " format " << c.format;
        EXPECT_EQ(written, static_cast<int32_t>(c.text.size())) << c.value << " format " << c.format;
    }
}

TYPED_TEST(TextCore, FormatNumberThreeWritesNothing) {
    using Ch = TypeParam;
    auto buffer = T<Ch>("keep");
    EXPECT_EQ(text::FormatNumber(123, buffer.data(), runtime::number_format::Nothing), 0);
    EXPECT_EQ(Ascii(buffer.c_str()), "keep");
}

}  // namespace
