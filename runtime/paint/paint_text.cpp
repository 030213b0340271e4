#include "runtime/paint/paint_text.h"

#include "runtime/process/application.h"
#include "runtime/process/system_calls.h"
#include "runtime/text/text_mode.h"

namespace runtime {

UINT TextCueFlag() { return hideKeyboardCues != 0 ? DT_HIDEPREFIX : 0; }

UINT StateCueFlag() { return hideKeyboardCues != 0 ? DSS_HIDEPREFIX : 0; }

bool HasCaption(const RuntimeRecord& record) {
    if (record.Text == 0) return false;
    return WithTextUnit([&](auto unit) { return *SlotAs<const decltype(unit)*>(record.Text) != 0; });
}

int DrawCaption(HDC device, const RuntimeRecord& record, RECT* rectangle, UINT format) {
    if (record.Text == 0) return 0;
    return WithTextUnit(
        [&](auto unit) { return DrawTextOf(device, SlotAs<const decltype(unit)*>(record.Text), rectangle, format); });
}

void DrawCaptionState(HDC device, const RuntimeRecord& record, int x, int y, UINT flags) {
    if (record.Text == 0) return;
    WithTextUnit([&](auto unit) {
        using Ch = decltype(unit);
        DrawStateTextOf(device, SlotAs<const Ch*>(record.Text), record.CaptionLength, x, y, flags);
    });
}

}  // namespace runtime
