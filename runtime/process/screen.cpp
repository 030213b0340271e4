#include "runtime/process/screen.h"

#include <windows.h>

#include "runtime/process/screen_units.h"

namespace runtime {

int32_t twipsPerPixelX = TwipsPerPixel(kDefaultDpi);
int32_t twipsPerPixelY = TwipsPerPixel(kDefaultDpi);
int32_t pointDivisor = PointDivisor(kDefaultDpi);

void MeasureScreen() {
    HDC screen = GetDC(nullptr);
    const int32_t dpiX = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    const int32_t dpiY = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    const ScreenScale scale = ScaleOfScreen(dpiX, dpiY);
    twipsPerPixelX = scale.twipsPerPixelX;
    twipsPerPixelY = scale.twipsPerPixelY;
    pointDivisor = scale.pointDivisor;
}

int32_t TwipsToPixelsX(int32_t value, int32_t scaleMode) {
    return TwipsToPixels(value, scaleMode, twipsPerPixelX);
}

int32_t TwipsToPixelsY(int32_t value, int32_t scaleMode) {
    return TwipsToPixels(value, scaleMode, twipsPerPixelY);
}

int32_t PixelsToTwipsX(int32_t value, int32_t scaleMode) {
    return PixelsToTwips(value, scaleMode, twipsPerPixelX);
}

int32_t PixelsToTwipsY(int32_t value, int32_t scaleMode) {
    return PixelsToTwips(value, scaleMode, twipsPerPixelY);
}

}  // namespace runtime
