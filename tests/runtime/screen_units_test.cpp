// Twips, pixels and the point divisor for given screen resolutions.

#include "runtime/process/screen_units.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenUnits, TwipsPerPixelAndPointDivisorByResolution) {
    const struct {
        int32_t dpi;
        int32_t twipsPerPixel;
        int32_t pointDivisor;
    } cases[] = {
        {96, 15, 72},  {120, 12, 90},  {144, 10, 108}, {72, 20, 54},
        {0, 15, 72},   // a failed measurement counts as 96 dpi
        {-1, 15, 72},
        {1440, 1, 1080},
        {2000, 1, 1499},  // finer than a twip: still one twip per pixel; the divisor truncates twice
        {1, 1440, 1},     // the divisor never reaches 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::TwipsPerPixel(c.dpi), c.twipsPerPixel) << c.dpi << " dpi";
        EXPECT_EQ(runtime::PointDivisor(c.dpi), c.pointDivisor) << c.dpi << " dpi";
    }
}

// The screen of the runtime's start-up: across from the horizontal resolution, down and the
// point divisor from the vertical one. Screens whose two resolutions differ show which is which.
TEST(ScreenUnits, EachAxisTakesItsOwnResolution) {
    const struct {
        int32_t dpiX;
        int32_t dpiY;
        runtime::ScreenScale scale;
    } cases[] = {
        {96, 96, {15, 15, 72}},
        {96, 120, {15, 12, 90}},
        {120, 96, {12, 15, 72}},
        {144, 72, {10, 20, 54}},
        {0, 120, {15, 12, 90}},  // a failed measurement of one axis counts as 96 dpi for it alone
    };
    for (const auto& c : cases) {
        const runtime::ScreenScale scale = runtime::ScaleOfScreen(c.dpiX, c.dpiY);
        EXPECT_EQ(scale, c.scale) << c.dpiX << " x " << c.dpiY << " dpi gave " << scale.twipsPerPixelX << ", "
                                  << scale.twipsPerPixelY << ", divisor " << scale.pointDivisor;
    }
}

TEST(ScreenUnits, ConversionsApplyOnlyInTwipsScaleMode) {
    const struct {
        int32_t value;
        int32_t scaleMode;
        int32_t twipsPerPixel;
        int32_t pixels;  // TwipsToPixels
        int32_t twips;   // PixelsToTwips
    } cases[] = {
        {1440, 1, 15, 96, 21600},
        {96, 1, 15, 6, 1440},
        {1440, 0, 15, 1440, 1440},
        {1440, 2, 15, 1440, 1440},
        {-100, 1, 15, -6, -1500},  // truncation toward zero
        {14, 1, 15, 0, 210},
        {1440, 1, 12, 120, 17280},
        {0x10000000, 1, 16, 0x01000000, 0},  // the product keeps its low 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::TwipsToPixels(c.value, c.scaleMode, c.twipsPerPixel), c.pixels)
            << c.value << " mode " << c.scaleMode << " tpp " << c.twipsPerPixel;
        EXPECT_EQ(runtime::PixelsToTwips(c.value, c.scaleMode, c.twipsPerPixel), c.twips)
            << c.value << " mode " << c.scaleMode << " tpp " << c.twipsPerPixel;
    }
}

}  // namespace
