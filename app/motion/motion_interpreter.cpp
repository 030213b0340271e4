// Movement requests: the Win32 side of the token scan.
#include "app/motion/motion.h"
#include "app/motion/motion_scan.h"
#include "app/request_buffer.h"
#include "runtime/text/number_format.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace motion {

motion::MotionRegisters motionRegisters{};

namespace {

// The main form's edits in which a movement request shows its values.
constexpr motion::DisplayFields kDisplayFields{
    forms::control_id::inputLinie, forms::control_id::Edit4, forms::control_id::Edit1,
    forms::control_id::Edit2, forms::control_id::Edit3};

// The display fields' windows as last found. Finding a control by its number asks the window
// server for the list of the window's children (under Wine, a round trip to its server), and a
// movement request shows up to five fields ahead of its first step.
struct FoundField {
    HWND parent = nullptr;
    int32_t id = 0;
    HWND field = nullptr;
};
constinit std::array<FoundField, 8> foundFields{};
constinit std::size_t nextFoundField = 0;

// Whether `found` still names field `id` of `parent`; these checks read the process's own
// window records, without the server.
bool StillNames(const FoundField& found, HWND parent, int32_t id) {
    return found.parent == parent && found.id == id && IsWindow(found.field) &&
           GetParent(found.field) == parent && GetDlgCtrlID(found.field) == id;
}

HWND FieldWindow(HWND parent, int32_t id) {
    for (const FoundField& found : foundFields) {
        if (StillNames(found, parent, id)) return found.field;
    }
    const HWND field = GetDlgItem(parent, id);
    if (field != nullptr) {
        foundFields[nextFoundField] = FoundField{parent, id, field};
        nextFoundField = (nextFoundField + 1) % foundFields.size();
    }
    return field;
}

// Shows `value` in field `id` of `parent` as unsigned decimal. A field that shows it already is
// left alone: setting the same text again would only repaint the field (several round trips
// to the window server) ahead of the line's first step.
void ShowFieldValue(HWND parent, int32_t id, uint32_t value) {
    const HWND field = FieldWindow(parent, id);
    if (field == nullptr) return;
    char text[runtime::kDecimalTextCapacity];
    runtime::text::FormatUnsigned(value, text);
    char shown[sizeof text + 1];
    // A text longer than any number cannot match: the buffer holds one byte more than one.
    const int length = GetWindowTextA(field, shown, sizeof shown);
    if (length >= 0 && std::string_view(shown, static_cast<std::size_t>(length)) == text) return;
    SetWindowTextA(field, text);
}

// Carries out what the scan decides: display fields of the main window, and the pause that
// follows a "p=" token.
class WindowScanEffects final : public motion::ScanEffects {
public:
    explicit WindowScanEffects(HWND window) : window_(window) {}

    void ShowValue(int32_t field, uint32_t value) override { ShowFieldValue(window_, field, value); }
    // A pause of 0 costs nothing: Sleep(0) would hand the processor to whatever else is ready
    // to run, ahead of the line's first step.
    void Pause(uint32_t milliseconds) override {
        if (milliseconds != 0) Sleep(milliseconds);
    }

private:
    HWND window_;
};

void ShowAxes(motion::ScanEffects& effects) {
    effects.ShowValue(kDisplayFields.x, motionRegisters.curX);
    effects.ShowValue(kDisplayFields.y, motionRegisters.curY);
}

// A request cut off before its CR did nothing: X and Y go back to what they were before it.
// The other values of the request stay recorded.
void UndoAxes(const motion::MotionRegisters& before, motion::ScanEffects& effects) {
    motionRegisters.prevX = before.prevX;
    motionRegisters.curX = before.curX;
    motionRegisters.prevY = before.prevY;
    motionRegisters.curY = before.curY;
    ShowAxes(effects);
}

// A line that cannot be stepped (out of reach, outside the limits) moved nothing: X and Y go
// back to where the machine stands (the end of the last line, or the position declared since),
// so that the next line is planned from there. Put back as they were before the request, they
// could keep a start that values recorded once without "e=1" made, and every later line would
// be refused for it again. The other values stay recorded.
void RefuseLine(const motion::MotionRegisters& before, motion::ScanEffects& effects) {
    // Inside a line (its debug box) the line in progress owns the registers.
    if (LineInProgress()) return UndoAxes(before, effects);
    motionRegisters.prevX = motionRegisters.curX = machinePosition.x;
    motionRegisters.prevY = motionRegisters.curY = machinePosition.y;
    ShowAxes(effects);
}

}  // namespace

bool InterpretMotionRequest(HWND window, const char* request, std::size_t length) {
    if (request == nullptr) length = 0;
    const std::string_view received(request, std::min(length, app::kRequestBufferSize));
    WindowScanEffects effects(window);
    const motion::MotionRegisters before = motionRegisters;
    const motion::ScanResult result = motion::ScanRequestLine(received, kDisplayFields, motionRegisters, effects);
    if (!result.runLine) {
        // Cut off before its CR, a request that would have stepped cannot be: it is refused.
        if (!result.reachedLineEnd && motionRegisters.executeFlag != 0) UndoAxes(before, effects);
        // Inside a line (its debug box) the line in progress says where the machine stands.
        if (!LineInProgress()) machinePosition = motion::DeclaredPosition(motionRegisters, machinePosition);
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
