#pragma once
// The screen's units as the runtime keeps them: twips per pixel and the DPI-scaled point
// divisor, measured once at start-up, and the twips conversions of template positions.

#include <cstdint>

namespace runtime {

// Start at the values of a 96 dpi screen until MeasureScreen runs.
extern int32_t twipsPerPixelX;  // 1440 / LOGPIXELSX
extern int32_t twipsPerPixelY;  // 1440 / LOGPIXELSY
extern int32_t pointDivisor;    // ((LOGPIXELSY * 1000) / 96) * 72 / 1000

// Reads the screen's dots per inch and sets the three values (runtime start-up).
void MeasureScreen();

// Scale mode 1 (twips): the value divided by the twips per pixel, truncated toward zero; any
// other scale mode: the value unchanged.
int32_t TwipsToPixelsX(int32_t value, int32_t scaleMode);
int32_t TwipsToPixelsY(int32_t value, int32_t scaleMode);

// Scale mode 1: the value times the twips per pixel (low 32 bits); any other: unchanged.
int32_t PixelsToTwipsX(int32_t value, int32_t scaleMode);
int32_t PixelsToTwipsY(int32_t value, int32_t scaleMode);

}  // namespace runtime
