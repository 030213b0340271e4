// The text helpers' bodies and FormatNumber, run with ANSI units and with 16-bit units.

#include "runtime/text/number_format.h"
#include "runtime/text/text_core.h"
#include "text_cases.h"
#include "unit_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

namespace text = runtime::text;

using unittexts::Ascii;
using unittexts::T;

template <class Ch>
class TextCore : public ::testing::Test {};

TYPED_TEST_SUITE(TextCore, unittexts::UnitTypes);

TYPED_TEST(TextCore, FindCharAndFindLastChar) {
    using Ch = TypeParam;
    for (const auto& c : textcases::kSearches) {
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
    for (const auto& c : textcases::kTrims) {
        auto t = T<Ch>(c.text);
        const int32_t length = c.op == textcases::TrimLeftOp    ? text::TrimLeft(t.data())
                               : c.op == textcases::TrimRightOp ? text::TrimRight(t.data())
                                                                : text::Trim(t.data());
        EXPECT_EQ(length, c.length) << "\"" << c.text << "\" op " << c.op;
        EXPECT_EQ(Ascii(t.c_str()), c.result) << "\"" << c.text << "\" op " << c.op;
    }
}

TYPED_TEST(TextCore, StripMnemonicLeavesOutEveryAmpersandUnlessKept) {
    using Ch = TypeParam;
    for (const auto& c : textcases::kStrips) {
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
    for (const auto& c : textcases::kMatches) {
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
    for (const auto& c : textcases::kNumbers) {
        Ch buffer[runtime::kNumberTextCapacity + 2];
        std::fill(std::begin(buffer), std::end(buffer), static_cast<Ch>('#'));
        const int32_t written = text::FormatNumber(c.value, buffer, c.format);
        EXPECT_EQ(Ascii(buffer), c.text) << c.value << " format " << c.format;
        EXPECT_EQ(written, static_cast<int32_t>(std::string(c.text).size())) << c.value << " format " << c.format;
    }
}

TYPED_TEST(TextCore, FormatNumberThreeWritesNothing) {
    using Ch = TypeParam;
    auto buffer = T<Ch>("keep");
    EXPECT_EQ(text::FormatNumber(123, buffer.data(), runtime::number_format::Nothing), 0);
    EXPECT_EQ(Ascii(buffer.c_str()), "keep");
}

}  // namespace
