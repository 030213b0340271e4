// ParseDecimal over arbitrary bytes: a value ends at its first byte below '0', so nothing
// behind that byte changes it; a leading '-' negates modulo 2^32; and every number the runtime
// writes in decimal reads back as itself.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/motion/motion_scan.h"
#include "fuzz/fuzz_check.h"
#include "runtime/text/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = motion::ParseDecimal(text);

    std::size_t end = !text.empty() && text[0] == '-' ? 1 : 0;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= '0') ++end;
    const std::int32_t prefix = motion::ParseDecimal(text.substr(0, end));
    FUZZ_CHECK(prefix == value, "%d for the number's own bytes, %d with what follows", prefix,
               value);

    if (text.empty() || text[0] != '-') {
        const std::string negated = "-" + std::string(text);
        const std::uint32_t expected = 0u - static_cast<std::uint32_t>(value);
        const auto got = static_cast<std::uint32_t>(motion::ParseDecimal(negated));
        FUZZ_CHECK(got == expected, "-%d read as %u", value, got);
    }

    if (size >= 4) {
        std::int32_t number = 0;
        std::memcpy(&number, data, sizeof number);
        char written[runtime::kNumberTextCapacity] = {};
        const std::int32_t length =
            runtime::text::FormatNumber(number, written, runtime::number_format::Decimal);
        const std::int32_t back = motion::ParseDecimal(std::string_view(written, length));
        FUZZ_CHECK(back == number, "%d written as \"%s\" reads back as %d", number, written, back);
    }
    return 0;
}
