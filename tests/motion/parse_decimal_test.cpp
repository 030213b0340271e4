#include "app/motion/motion_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace {

struct DecimalCase {
    std::string_view text;
    uint32_t expected;  // the 32-bit pattern
};

TEST(ParseDecimal, EveryByteFromZeroUpIsADigitWorthItsCodeMinus0x30) {
    const DecimalCase cases[] = {
        {"0", 0u},          {"120&", 120u},      {"5 HTTP", 5u},
        {":", 10u},         {"=5", 135u},        {"12Y5 ", 1615u},
        {"A", 17u},         {"Y", 41u},          {"", 0u},
        {"&", 0u},          {"-", 0u},           {"-7&", 0xFFFFFFF9u},
        {"--7", 0u},        {"7-3", 7u},         {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0u}, {"4294967297 ", 1u}, {"-1\r\n", 0xFFFFFFFFu},
        {"99999999999", static_cast<uint32_t>(99999999999ull)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<uint32_t>(motion::ParseDecimal(c.text)), c.expected)
            << "text \"" << c.text << "\"";
    }
}

TEST(ParseDecimal, StopsAtTheEndOfTheGivenBytes) {
    const char bytes[] = {'1', '2', '3', '4'};
    EXPECT_EQ(motion::ParseDecimal(std::string_view(bytes, 2)), 12);
    EXPECT_EQ(motion::ParseDecimal(std::string_view(bytes, 0)), 0);
}

}  // namespace
