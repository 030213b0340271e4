#pragma once
// The runtime helper tests are built into two programs from the same sources: one runs the
// runtime in ANSI mode, the other (MT_TEST_WIDE_MODE) in wide mode. `Unit` is the text unit of
// the program's mode, and suites carry the mode in their names so the two programs' cases stay
// apart in CTest.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/text/text_mode.h"

namespace modetest {

#ifdef MT_TEST_WIDE_MODE
using Unit = wchar_t;
constexpr int32_t kWideMode = 1;
#define MODE_SUITE(name) name##InWideMode
#else
using Unit = char;
constexpr int32_t kWideMode = 0;
#define MODE_SUITE(name) name##InAnsiMode
#endif

using Text = std::basic_string<Unit>;

// An ASCII text in the mode's units.
inline Text T(const char* ascii) {
    Text out;
    for (; *ascii != 0; ++ascii) out.push_back(static_cast<Unit>(static_cast<unsigned char>(*ascii)));
    return out;
}

// A text in the mode's units read back as ASCII, for comparisons and failure messages.
inline std::string Ascii(const Unit* units) {
    std::string out;
    for (; *units != 0; ++units) out.push_back(static_cast<char>(*units));
    return out;
}

// Every test runs the runtime in the program's text mode, as start-up would have set it.
class ModeTest : public ::testing::Test {
protected:
    void SetUp() override { runtime::wideMode = kWideMode; }
};

}  // namespace modetest
