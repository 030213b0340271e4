// Size, position and layout rows of the runtime window procedure: the record follows the
// window's place and size in its scale mode, and docked bars are laid out again whenever the
// space they share changes.

#include "runtime/window/window_layout.h"

#include "runtime/build/build_support.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/window/dock_layout.h"
#include "runtime/window/window_operations.h"

namespace runtime {

namespace {

// Width and Height from the window's rectangle, in the record's scale mode.
void KeepSize(RuntimeRecord& r, HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return;
    r.Width = PixelsToTwipsX(rect.right - rect.left, r.ScaleMode);
    r.Height = PixelsToTwipsY(rect.bottom - rect.top, r.ScaleMode);
}

void LayOutParentOf(HWND window) { DockLayout(FindWindowRecord(GetParent(window))); }

}  // namespace

LRESULT OnSize(const Message& m) {
    RuntimeRecord& r = *m.record;
    if (!IsForm(r) || m.wParam == SIZE_MINIMIZED) return Generic(m);
    if (m.wParam != SIZE_MAXIMIZED) KeepSize(r, m.window);
    DockLayout(&r);
    // The frame's default would stretch the MDI client over the docked bars.
    if (r.Type == form_kind::MdiFrame) {
        CallApp(m);
        return 0;
    }
    return Generic(m);
}

LRESULT OnMove(const Message& m) {
    RuntimeRecord& r = *m.record;
    RECT rect{};
    if (WindowRectInParent(m.window, &rect) > 0) {
        r.Left = PixelsToTwipsX(rect.left, r.ScaleMode);
        r.Top = PixelsToTwipsY(rect.top, r.ScaleMode);
    }
    if (IsForm(r) && r.MdiChild != 0) SendToWindow(GetParent(m.window), FRM_SYNCSCROLL, 0, 0);
    return Generic(m);
}

LRESULT OnWindowPosChanged(const Message& m) {
    RuntimeRecord& r = *m.record;
    if (IsForm(r)) return Generic(m);
    KeepSize(r, m.window);
    if (IsDockable(r.Type)) {
        LayOutParentOf(m.window);
        if (r.Type == class_code::PictureBox) DockLayout(&r);
        if (r.Type == class_code::Rebar) RepaintNow(m.window, true);
    }
    return Generic(m);
}

LRESULT OnShowWindow(const Message& m) {
    RuntimeRecord& r = *m.record;
    // lParam 0: a ShowWindow call, not a change of the parent's state.
    if (m.lParam == 0) {
        r.Visible = static_cast<int32_t>(m.wParam);
        if (IsDockable(r.Type) && r.DockSide != dock_side::None) LayOutParentOf(m.window);
    }
    const bool nudged = IsForm(r) || r.Type == class_code::PictureBox || r.Type == class_code::GroupBox;
    if (m.wParam != 0 && nudged) NudgeWindowSize(m.window, r.Visible);
    return Generic(m);
}

LRESULT OnStyleChanged(const Message& m) {
    const auto* change = reinterpret_cast<const STYLESTRUCT*>(m.lParam);  // WM_STYLECHANGED's record
    if (change != nullptr) {
        if (static_cast<int>(m.wParam) == GWL_STYLE) {
            m.record->Style = change->styleNew;
        } else {
            m.record->ExStyle = change->styleNew;
        }
    }
    return Generic(m);
}

LRESULT OnRelayout(const Message& m) {
    if (m.wParam == relayout::OwnChildren) {
        DockLayout(m.record);
    } else {
        LayOutParentOf(m.window);
    }
    return 0;
}

LRESULT OnSettingChange(const Message& m) {
    ReadKeyboardCues();
    return Generic(m);
}

}  // namespace runtime
