// Where an image control centres its picture, and which face a themed button shows (the
// placements of captions and button contents are shown by the pixel tests under Wine).

#include <gtest/gtest.h>

#include "runtime/paint/paint_geometry.h"

namespace {

namespace state = runtime::button_state;

TEST(CentredOffset16, CentresIn16BitSignedArithmetic) {
    const struct {
        int32_t extent, size, offset;
    } cases[] = {{100, 20, 40}, {20, 100, -40}, {21, 0, 10}, {0, 21, -10}, {70000, 0, 2232}, {32, 32, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::CentredOffset16(c.extent, c.size), c.offset) << c.extent << " - " << c.size;
    }
}

TEST(ChooseButtonState, PressedThenDisabledThenHotThenDefaulted) {
    struct Case {
        const char* name;
        bool pressed, disabled, focused, isDefault, enabled, hot;
        int32_t state;
    };
    const Case cases[] = {
        {"normal", false, false, false, false, true, false, state::Normal},
        {"pressed and hot: pressed", true, false, false, false, true, true, state::Pressed},
        {"hot", false, false, false, false, true, true, state::Hot},
        {"hot default: hot", false, false, false, true, true, true, state::Hot},
        {"focused", false, false, true, false, true, false, state::Defaulted},
        {"enabled default", false, false, false, true, true, false, state::Defaulted},
        {"default without Enabled", false, false, false, true, false, false, state::Normal},
        {"disabled, even hot or default", false, true, false, true, false, true, state::Disabled},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runtime::ChooseButtonState(c.pressed, c.disabled, c.focused, c.isDefault, c.enabled, c.hot), c.state)
            << c.name;
    }
}

}  // namespace
