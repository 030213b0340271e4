// Colour and painting rows of the runtime window procedure: the colours a control is drawn
// with, who erases and paints which window (runtime/paint/window_painting.h does the drawing), and
// transparent labels redrawn after what lies under them.

#include "runtime/window/window_paint.h"

#include "runtime/paint/redraw.h"
#include "runtime/paint/theme_support.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/message_pump.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_setters.h"

namespace runtime {

namespace {

// An edit or a combo box has its own back colour behind its text; other controls draw their
// text over their background.
bool PaintsOwnTextBackground(const RuntimeRecord& r) {
    return r.Type == class_code::TextBox || r.Type == class_code::ComboBox;
}

// The record whose colours a WM_CTLCOLOR... message asks for: at a form or container the
// control's (lParam) when it is a runtime control, at an edit or combo box (whose inner
// windows ask) its own; null otherwise.
const RuntimeRecord* ColoursFor(const Message& m) {
    if (IsForm(*m.record) || IsContainer(m.record->Type)) {
        return FindWindowRecord(reinterpret_cast<HWND>(m.lParam));  // the control that asks
    }
    return PaintsOwnTextBackground(*m.record) ? m.record : nullptr;
}

}  // namespace

void RedrawTransparentLabelFrom(HWND window) {
    for (HWND sibling = window; sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDPREV)) {
        const RuntimeRecord* record = FindWindowRecord(sibling);
        if (record != nullptr && IsTransparentLabel(*record)) {
            InvalidateRect(sibling, nullptr, FALSE);
            return;
        }
    }
}

LRESULT OnCtlColor(const Message& m) {
    const LRESULT handled = CallApp(m);
    if (handled != 0) return handled;
    const RuntimeRecord* colours = ColoursFor(m);
    if (colours == nullptr) return CallDefault(m);
    auto* device = reinterpret_cast<HDC>(m.wParam);  // the control's device context
    if (PaintsOwnTextBackground(*colours)) {
        SetBkColor(device, colours->BackColorRgb);
    } else {
        SetBkMode(device, TRANSPARENT);
    }
    if (colours->FontHandle != 0) SelectObject(device, SlotAs<HFONT>(colours->FontHandle));
    SetTextColor(device, colours->ForeColorRgb);
    // A button's surround is its parent's background.
    const uint32_t brush = m.id == WM_CTLCOLORBTN ? m.record->BackBrush : colours->BackBrush;
    return static_cast<LRESULT>(brush);
}

LRESULT OnEraseBackground(const Message& m) {
    if (CallApp(m) != 0) return 1;
    RuntimeRecord& r = *m.record;
    auto* device = reinterpret_cast<HDC>(m.wParam);  // the device context to erase
    if (IsForm(r)) {
        PaintFormBackground(m.window, device, r);
        return 1;
    }
    switch (r.Type) {
        case class_code::Label: return IsTransparentLabel(r) ? 1 : CallDefault(m);
        case class_code::Image: return 1;  // an image covers itself
        case class_code::PictureBox:
            // Painting off-screen, the picture paints everything through its own bitmap at WM_PAINT.
            if (r.PaintsOffscreen == 0) PaintPicture(r, device, 1, 0);
            return 1;
        case class_code::GroupBox:
        case class_code::Animation: FillClient(m.window, device, r.BackBrush); return 1;
        default: return CallDefault(m);
    }
}

LRESULT OnPaint(const Message& m) {
    RuntimeRecord& r = *m.record;
    const bool labelOrImage = r.Type == class_code::Label || r.Type == class_code::Image;
    if (CallApp(m) != 0) {
        if (labelOrImage) SendToWindow(m.window, WM_NCPAINT, 1, 0);
        RedrawTransparentLabelFrom(GetWindow(m.window, GW_HWNDPREV));
        return 0;
    }
    if (!PaintRuntimeWindow(r, nullptr, 0)) CallDefault(m);
    if (PaintsAsLabel(r)) SendToWindow(m.window, WM_NCPAINT, 1, 0);
    if (r.Type == class_code::GroupBox || r.Type == class_code::PictureBox) {
        HWND firstChild = GetWindow(m.window, GW_CHILD);
        if (firstChild != nullptr) RedrawTransparentLabelFrom(GetWindow(firstChild, GW_HWNDLAST));
    }
    RedrawTransparentLabelFrom(GetWindow(m.window, GW_HWNDPREV));
    return 0;
}

LRESULT OnPrintClient(const Message& m) {
    if (CallApp(m) != 0) return 0;
    auto* device = reinterpret_cast<HDC>(m.wParam);  // the device context to print into
    if (device == nullptr || !PaintRuntimeWindow(*m.record, device, m.lParam)) return CallDefault(m);
    return 0;
}

LRESULT OnSysColorChange(const Message& m) {
    RuntimeRecord& r = *m.record;
    // Written back, the colours are resolved again: system colours give the new values and
    // brushes.
    SetBackColor(m.window, r.BackColor);
    SetForeColor(m.window, r.ForeColor);
    SetLineStyle(m.window, r.LineStyle);
    for (HWND child = GetWindow(m.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        SendToWindow(child, WM_SYSCOLORCHANGE, m.wParam, m.lParam);
        InvalidateRect(child, nullptr, TRUE);
    }
    RepaintNow(m.window, true);
    if (IsForm(r) || r.Type == class_code::PictureBox || r.Type == class_code::GroupBox) return CallApp(m);
    return CallDefault(m);
}

LRESULT OnThemeChanged(const Message& m) {
    if (IsForm(*m.record) && OsLevel >= os_level::Nt5x && manifestPresent != 0) {
        LoadThemeSupport();
        RedrawWindow(m.window, nullptr, nullptr, kFullRedrawAndPaint);
        DoEvents();
        if (!StillBound(m)) return 0;
    }
    return Generic(m);
}

}  // namespace runtime
