#pragma once
// Pixels, twips and points: the arithmetic of the screen units, given the screen's dots per
// inch. Platform-free; runtime/process/screen.h measures the screen and keeps the values.

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

constexpr int32_t kTwipsPerInch = 1440;
constexpr int32_t kDefaultDpi = 96;

// 1440 / dots per inch, integer division (15 at 96 dpi). A failed measurement (0 or below)
// counts as 96 dpi, and a screen finer than 1440 dpi as one twip per pixel, so that the
// conversions below never divide by zero.
constexpr int32_t TwipsPerPixel(int32_t dpi) {
    if (dpi <= 0) dpi = kDefaultDpi;
    const int32_t twips = kTwipsPerInch / dpi;
    return twips > 0 ? twips : 1;
}

// The DPI-scaled point divisor of fixed-size fonts: ((dpi * 1000) / 96) * 72 / 1000, in that
// order of integer steps (72 at 96 dpi, 90 at 120 dpi). Font heights divide by it, so a failed
// measurement counts as 96 dpi and the divisor is at least 1.
constexpr int32_t PointDivisor(int32_t dpi) {
    if (dpi <= 0) dpi = kDefaultDpi;
    const int32_t divisor = ((dpi * 1000) / kDefaultDpi) * 72 / 1000;
    return divisor > 0 ? divisor : 1;
}

// What start-up keeps of the screen: the twips per pixel across (from the horizontal dots per
// inch) and down (from the vertical ones), and the point divisor, from the vertical ones.
struct ScreenScale {
    int32_t twipsPerPixelX;
    int32_t twipsPerPixelY;
    int32_t pointDivisor;
    bool operator==(const ScreenScale&) const = default;
};

constexpr ScreenScale ScaleOfScreen(int32_t dpiX, int32_t dpiY) {
    return ScreenScale{TwipsPerPixel(dpiX), TwipsPerPixel(dpiY), PointDivisor(dpiY)};
}

// Scale mode twips: the value divided by the twips per pixel, truncated toward zero; any other
// scale mode leaves the value as it is.
constexpr int32_t TwipsToPixels(int32_t value, int32_t scaleMode, int32_t twipsPerPixel) {
    if (scaleMode != scale_mode::Twips || twipsPerPixel <= 0) return value;
    return value / twipsPerPixel;
}

// Scale mode twips: the value times the twips per pixel, kept to its low 32 bits as an
// unsigned product; any other scale mode leaves the value as it is.
constexpr int32_t PixelsToTwips(int32_t value, int32_t scaleMode, int32_t twipsPerPixel) {
    if (scaleMode != scale_mode::Twips) return value;
    return static_cast<int32_t>(static_cast<uint32_t>(value) * static_cast<uint32_t>(twipsPerPixel));
}

}  // namespace runtime
