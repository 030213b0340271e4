#pragma once
// What the utility functions' Windows tests share: the runtime started in the program's text
// mode for each test (tests/runtime/text_mode_test.h: MODE_SUITE, Unit, T, Ascii) and shut
// down after it.

#include <gtest/gtest.h>

#include "tests/runtime/runtime_session.h"
#include "tests/runtime/text_mode_test.h"

namespace utiltest {

using modetest::Ascii;
using modetest::T;
using modetest::Text;
using modetest::Unit;

class UtilTest : public ::testing::Test {
protected:
    runtimetest::RuntimeSession session_{modetest::kWideMode};
};

}  // namespace utiltest
