// The utility functions' platform-free rules, run with ANSI units and with 16-bit units: the
// number parser, the text cuts, the line splitter and line ends, and the processor record.

#include "runtime/text/number_format.h"
#include "runtime/util/cpu_record.h"
#include "runtime/util/line_split.h"
#include "runtime/util/number_parse.h"
#include "runtime/util/text_cuts.h"
#include "tests/runtime/unit_texts.h"
#include "util_cases.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

namespace util = runtime::util;

using unittexts::Ascii;
using unittexts::T;

template <class Ch>
class UtilCore : public ::testing::Test {};

TYPED_TEST_SUITE(UtilCore, unittexts::UnitTypes);

TYPED_TEST(UtilCore, ParseNumberReadsEveryNotation) {
    using Ch = TypeParam;
    for (const auto& c : utilcases::kParses) {
        EXPECT_EQ(util::ParseNumber(T<Ch>(c.text).c_str()), c.value) << "\"" << c.text << "\"";
    }
}

TYPED_TEST(UtilCore, ParseNumberReadsWhatFormatNumberWrites) {
    using Ch = TypeParam;
    namespace format = runtime::number_format;
    for (const int32_t value : {0, 5, -1, 500, -12, INT32_MIN, INT32_MAX, static_cast<int32_t>(0xC0000005u)}) {
        for (const int32_t f : {format::Binary, format::Decimal, format::Hexadecimal}) {
            Ch text[runtime::kNumberTextCapacity];
            runtime::text::FormatNumber(value, text, f);
            EXPECT_EQ(util::ParseNumber(text), value) << "\"" << Ascii(text) << "\" (format " << f << ")";
        }
    }
}

TYPED_TEST(UtilCore, CutsKeepTheirPartAndStayInsideTheText) {
    using Ch = TypeParam;
    for (const auto& c : utilcases::kCuts) {
        // The text at the front of a buffer marked '#' behind its terminator.
        const std::size_t length = std::strlen(c.text);
        std::basic_string<Ch> buffer(length + 8, static_cast<Ch>('#'));
        const auto text = T<Ch>(c.text);
        std::copy(text.begin(), text.end(), buffer.begin());
        buffer[length] = 0;
        const int32_t result = c.op == utilcases::Left    ? util::TextLeft(buffer.data(), c.count)
                               : c.op == utilcases::Right ? util::TextRight(buffer.data(), c.count)
                                                          : util::TextMid(buffer.data(), c.start, c.count);
        const std::string what = std::string("op ") + std::to_string(c.op) + " \"" + c.text + "\" " +
                                 std::to_string(c.start) + ", " + std::to_string(c.count);
        EXPECT_EQ(result, c.result) << what;
        EXPECT_EQ(Ascii(buffer.c_str()), c.after) << what;
        EXPECT_EQ(Ascii(buffer.data() + length + 1, 7), "#######") << what << ": written behind the terminator";
    }
}

TYPED_TEST(UtilCore, LinesEndAtEachBreakAndAFullBuffer) {
    using Ch = TypeParam;
    constexpr int32_t kRoom = 4;
    const struct {
        const char* ahead;  // the units ahead of the file pointer, up to the lookahead or the end
        int32_t length;
        int32_t consumed;
        bool goesOn;
    } cases[] = {
        {"ab\r\ncd", 2, 4, false},
        {"ab\rcd", 2, 3, false},
        {"ab\ncd", 2, 3, false},
        {"ab\n\rc", 2, 3, false},  // a line feed and then a carriage return are two breaks
        {"\r\n", 0, 2, false},
        {"\n", 0, 1, false},
        {"abc", 3, 3, false},      // the file's end ends the line
        {"", 0, 0, false},
        {"abcd", 4, 4, false},     // a full buffer at the file's end
        {"abcd\r\n", 4, 6, false}, // a break right behind a full buffer still ends the line
        {"abcd\r", 4, 5, false},
        {"abcde\r", 4, 4, true},   // longer than the buffer: the rest stays
        {"abcde", 4, 4, true},
    };
    for (const auto& c : cases) {
        const auto ahead = T<Ch>(c.ahead);
        ASSERT_LE(static_cast<int32_t>(ahead.size()), util::LineLookahead(kRoom)) << c.ahead;
        const util::LineCut cut = util::SplitLine(ahead.data(), static_cast<int32_t>(ahead.size()), kRoom);
        EXPECT_EQ(cut.length, c.length) << "\"" << c.ahead << "\"";
        EXPECT_EQ(cut.consumed, c.consumed) << "\"" << c.ahead << "\"";
        EXPECT_EQ(cut.goesOn, c.goesOn) << "\"" << c.ahead << "\"";
    }
}

TYPED_TEST(UtilCore, WrittenLinesEndInOneBreak) {
    using Ch = TypeParam;
    for (const auto& c : utilcases::kLineEnds) {
        const auto text = T<Ch>(c.text);
        const util::LineEnd end = util::LineEndFor(text.c_str(), static_cast<int32_t>(text.size()));
        EXPECT_EQ(Ascii(text.c_str(), end.kept) + end.ending, c.written) << "\"" << c.text << "\"";
    }
}

TEST(CpuRecord, ReadsTheVendorAndTheSignature) {
    const struct {
        util::CpuidLeaf leaf0;
        uint32_t signature;
        uint32_t features;
        const char* vendor;
        uint32_t stepping, model, family, type;
    } cases[] = {
        {{0x16, 0x756E6547, 0x6C65746E, 0x49656E69}, 0x000906EA, 0xBFEBFBFF, "GenuineIntel", 0xA, 0xE, 6, 0},
        {{0x10, 0x68747541, 0x444D4163, 0x69746E65}, 0x00A23F10, 0x178BFBFF, "AuthenticAMD", 0, 1, 0xF, 3},
    };
    for (const auto& c : cases) {
        const util::CpuInfoRecord record = util::DescribeCpu(c.leaf0, util::CpuidLeaf{c.signature, 0, 0, c.features});
        EXPECT_STREQ(record.vendor, c.vendor);
        EXPECT_EQ(record.stepping, c.stepping) << c.vendor;
        EXPECT_EQ(record.model, c.model) << c.vendor;
        EXPECT_EQ(record.family, c.family) << c.vendor;
        EXPECT_EQ(record.type, c.type) << c.vendor;
        EXPECT_EQ(record.signature, c.signature) << c.vendor;
        EXPECT_EQ(record.features, c.features) << c.vendor;
    }
    EXPECT_FALSE(util::HasSignatureLeaf(util::CpuidLeaf{0, 0, 0, 0})) << "leaf 0 alone";
    EXPECT_TRUE(util::HasSignatureLeaf(util::CpuidLeaf{1, 0, 0, 0}));
}

}  // namespace
