#pragma once
// ASCII texts in the text units the runtime's platform-free bodies take: the host tests run each
// body with 8- and 16-bit units (and wchar_t on Windows).

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace unittexts {

// An ASCII text in units of Ch.
template <class Ch>
std::basic_string<Ch> T(const char* ascii) {
    std::basic_string<Ch> out;
    for (; *ascii != 0; ++ascii) out.push_back(static_cast<Ch>(static_cast<unsigned char>(*ascii)));
    return out;
}

// `count` units of Ch read back as ASCII, for failure messages and comparisons.
template <class Ch>
std::string Ascii(const Ch* units, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out.push_back(static_cast<char>(units[i]));
    return out;
}

// A terminated text of Ch read back as ASCII.
template <class Ch>
std::string Ascii(const Ch* units) {
    return Ascii(units, std::char_traits<Ch>::length(units));
}

#ifdef _WIN32
using UnitTypes = ::testing::Types<char, char16_t, wchar_t>;
#else
using UnitTypes = ::testing::Types<char, char16_t>;
#endif

}  // namespace unittexts
