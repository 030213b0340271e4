// Movement requests: the Win32 side of the token scan.
#include "app/motion/motion.h"
#include "app/motion/motion_scan.h"

#include <algorithm>
#include <string_view>

motion::MotionRegisters motionRegisters{};

namespace {

// Carries out what the scan decides: display fields of the main window, and the pause that
// follows a "p=" token.
class WindowScanEffects final : public motion::ScanEffects {
public:
    explicit WindowScanEffects(HWND window) : window_(window) {}

    void ShowValue(motion::ControlId field, uint32_t value) override {
        SetDlgItemInt(window_, field, value, FALSE);
    }
    void Pause(uint32_t milliseconds) override { Sleep(milliseconds); }

private:
    HWND window_;
};

}  // namespace

bool InterpretMotionRequest(HWND window, const char* request, std::size_t length) {
    if (request == nullptr) length = 0;
    const std::string_view received(request, std::min(length, motion::kRequestBufferSize));
    WindowScanEffects effects(window);
    const motion::ScanResult result = motion::ScanRequestLine(received, motionRegisters, effects);
    if (!result.runLine) return false;
    return PlanLine();
}
