// Where the runtime's painting puts group captions, button contents and centred pictures, and
// which face a themed button shows.

#include <gtest/gtest.h>

#include <ostream>

#include "runtime/paint/paint_geometry.h"

namespace runtime {
void PrintTo(const PaintRect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const PaintPoint& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
}  // namespace runtime

namespace {

using runtime::PaintPoint;
using runtime::PaintRect;
namespace format = runtime::text_format;
namespace position = runtime::picture_position;
namespace state = runtime::button_state;

TEST(GroupCaptionBand, StandsWhereTheAlignmentPutsIt) {
    struct Case {
        const char* name;
        int32_t clientRight, captionWidth, captionHeight, alignment, captionLeft;
        PaintRect band;
    };
    const Case cases[] = {
        {"centred", 200, 40, 13, 1, 9, {80, 0, 123, 15}},
        {"centred, odd sizes", 201, 41, 13, 1, 9, {80, 0, 124, 15}},
        {"centred, wider than the box", 20, 41, 13, 1, 9, {-10, 0, 34, 15}},
        {"right", 200, 40, 13, 2, 9, {153, 0, 195, 15}},
        {"left", 200, 40, 13, 0, 9, {7, 0, 49, 15}},
        {"other alignments stand left", 200, 40, 13, 5, 9, {7, 0, 49, 15}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runtime::GroupCaptionBand(c.clientRight, c.captionWidth, c.captionHeight, c.alignment, c.captionLeft),
                  c.band)
            << c.name;
    }
}

TEST(CentredOffset16, CentresIn16BitSignedArithmetic) {
    const struct {
        int32_t extent, size, offset;
    } cases[] = {{100, 20, 40}, {20, 100, -40}, {21, 0, 10}, {0, 21, -10}, {70000, 0, 2232}, {32, 32, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::CentredOffset16(c.extent, c.size), c.offset) << c.extent << " - " << c.size;
    }
}

TEST(LayOutButtonContent, PlacesCaptionAndPictureByPosition) {
    // A 100 x 40 button, a 30 x 13 caption, a 16 x 16 picture.
    struct Case {
        const char* name;
        bool captioned, wordWrap, hidePrefix, picture, pressed;
        int32_t position;
        uint32_t format;
        PaintRect text;
        PaintPoint at;  // the picture's place
    };
    constexpr uint32_t kLine = format::Center | format::VCenter | format::SingleLine;
    const Case cases[] = {
        {"caption only", true, false, false, false, false, 0, kLine, {0, 0, 100, 40}, {0, 0}},
        {"wrapped caption only, centred down", true, true, false, false, false, 0, format::Center | format::WordBreak,
         {0, 14, 100, 54}, {0, 0}},
        {"keyboard cues hidden", true, false, true, false, false, 0, kLine | format::HidePrefix, {0, 0, 100, 40}, {0, 0}},
        {"picture only, centred", false, false, false, true, false, position::Left, kLine, {0, 0, 100, 40}, {42, 12}},
        {"picture left", true, false, false, true, false, position::Left, format::VCenter | format::SingleLine,
         {47, 0, 100, 40}, {23, 12}},
        {"picture right", true, false, false, true, false, position::Right, format::VCenter | format::SingleLine,
         {23, 0, 53, 40}, {61, 12}},
        {"picture above", true, false, false, true, false, position::Above, format::Center | format::SingleLine,
         {0, 25, 100, 40}, {42, 3}},
        {"picture below", true, false, false, true, false, position::Below, format::Center | format::SingleLine,
         {0, 3, 100, 40}, {42, 22}},
        {"pressed, picture left: both move by one", true, false, false, true, true, position::Left,
         format::VCenter | format::SingleLine, {48, 1, 101, 41}, {24, 13}},
        {"wrapped, picture right", true, true, false, true, false, position::Right, format::WordBreak,
         {23, 14, 53, 40}, {61, 12}},
    };
    for (const Case& c : cases) {
        runtime::ButtonContentInput in;
        in.item = PaintRect{0, 0, 100, 40};
        in.textWidth = c.captioned ? 30 : 0;
        in.textHeight = c.captioned ? 13 : 0;
        in.captioned = c.captioned;
        in.wordWrap = c.wordWrap;
        in.hidePrefix = c.hidePrefix;
        in.hasPicture = c.picture;
        in.imageWidth = 16;
        in.imageHeight = 16;
        in.position = c.position;
        in.pressedClassic = c.pressed;
        const runtime::ButtonContent out = runtime::LayOutButtonContent(in);
        EXPECT_EQ(out.format, c.format) << c.name;
        EXPECT_EQ(out.text, c.text) << c.name;
        if (c.picture) {
            EXPECT_EQ(out.picture, c.at) << c.name;
        }
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
