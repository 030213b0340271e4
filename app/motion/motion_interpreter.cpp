// Movement requests: the Win32 side of the token scan.
#include "app/motion/motion.h"
#include "app/motion/motion_scan.h"

#include <algorithm>
#include <string_view>

namespace motion {

motion::MotionRegisters motionRegisters{};

namespace {

// Carries out what the scan decides: display fields of the main window, and the pause that
// follows a "p=" token.
class WindowScanEffects final : public motion::ScanEffects {
public:
    explicit WindowScanEffects(HWND window) : window_(window) {}

    void ShowValue(int32_t field, uint32_t value) override {
        SetDlgItemInt(window_, field, value, FALSE);
    }
    void Pause(uint32_t milliseconds) override { Sleep(milliseconds); }

private:
    HWND window_;
};

void ShowAxes(motion::ScanEffects& effects) {
    effects.ShowValue(forms::control_id::Edit1, motionRegisters.curX);
    effects.ShowValue(forms::control_id::Edit2, motionRegisters.curY);
}

// A refused line moved nothing: X and Y go back to where the machine is, so that the next
// line is planned from there. The other values of the request stay recorded.
void RefuseLine(const motion::MotionRegisters& before, motion::ScanEffects& effects) {
    motionRegisters.prevX = before.prevX;
    motionRegisters.curX = before.curX;
    motionRegisters.prevY = before.prevY;
    motionRegisters.curY = before.curY;
    ShowAxes(effects);
}

}  // namespace

bool InterpretMotionRequest(HWND window, const char* request, std::size_t length) {
    if (request == nullptr) length = 0;
    const std::string_view received(request, std::min(length, app::kRequestBufferSize));
    WindowScanEffects effects(window);
    const motion::MotionRegisters before = motionRegisters;
    const motion::ScanResult result = motion::ScanRequestLine(received, motionRegisters, effects);
    if (!result.runLine) {
        // Cut off before its CR, a request that would have stepped cannot be: it is refused.
        if (!result.reachedLineEnd && motionRegisters.executeFlag != 0) RefuseLine(before, effects);
        return false;
    }
    const motion::MotionRegisters target = motionRegisters;
    if (!PlanLine()) {
        RefuseLine(before, effects);
        return false;
    }
    // A stopped line left the registers where it stopped.
    if (motionRegisters.curX != target.curX || motionRegisters.curY != target.curY) ShowAxes(effects);
    return true;
}

}  // namespace motion
