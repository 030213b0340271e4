// The system activates a box's owner itself as the box ends, but that does not always reach the
// display. A box closed by another program (a sent IDOK, as a tool standing in for the operator
// closes it) ends without input of its own: under Wine the owner's focus request then carries
// the time of older input than the box's own request had, the X display ignores it, and its
// keyboard focus falls to the root window when the box goes; once the display's late focus
// news arrives, Wine gives the foreground to the desktop. Focusing the form again after the box
// has gone makes a request of its own, with the time of the box's end.

#include "runtime/window/owned_box.h"

#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_record.h"

namespace runtime {

namespace {

bool CanTakeTheFocus(HWND form) {
    const RuntimeRecord* record = FindWindowRecord(form);
    return record != nullptr && IsForm(*record) && record->WindowState != window_state::Minimised &&
           IsWindowVisible(form) && IsWindowEnabled(form);
}

bool ForegroundIsNobodys() {
    HWND foreground = GetForegroundWindow();
    return foreground == nullptr || foreground == GetDesktopWindow();
}

}  // namespace

void ReactivateAfterBox(HWND form) {
    if (!CanTakeTheFocus(form)) return;
    if (GetForegroundWindow() == form) {
        // The form's WM_SETFOCUS gives the focus on to the control it remembers.
        SetFocus(form);
    } else if (ForegroundIsNobodys()) {
        // Activated, the form focuses itself (WM_NCACTIVATE), and so the control it remembers.
        SetForegroundWindow(form);
    }
}

int ShowOwnedBox(HWND owner, const char* text, const char* caption, UINT flags) {
    const int answer = MessageBoxA(owner, text, caption, flags);
    ReactivateAfterBox(owner);
    return answer;
}

}  // namespace runtime
