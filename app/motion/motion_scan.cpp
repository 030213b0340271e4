#include "app/motion/motion_scan.h"

namespace motion {

int32_t ParseDecimal(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < '0') break;
        value = value * 10u + (byte - '0');
    }
    if (negative) value = 0u - value;
    // Two's complement reading of the 32-bit pattern.
    return static_cast<int32_t>(value);
}

}  // namespace motion
