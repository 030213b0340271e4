#pragma once
// Slot values and resource fields in failure messages: as eight hexadecimal digits, the way
// styles and colours are written in the form designer.

#include <cstdint>
#include <cstdio>
#include <string>

namespace formstest {

inline std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

}  // namespace formstest
