// The setters of place, size, docking, window state, enabling and the window styles behind
// scroll bars and reading order.

#include "runtime/property/property_layout.h"

#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/build/modal_state.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_support.h"
#include "runtime/property/property_table.h"
#include "runtime/property/property_windows.h"

namespace runtime {

namespace {

void Reframe(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

uint32_t StyleOf(HWND window, int index) { return static_cast<uint32_t>(GetWindowValue(window, index)); }

void SetStyleOf(HWND window, int index, uint32_t style) {
    SetWindowValue(window, index, static_cast<LONG_PTR>(style));
}

enum class Axis { Horizontal, Vertical };

// Moves the window along one axis to `value` (scale-mode units), the other coordinate kept.
int32_t MoveAlong(HWND window, Axis axis, int32_t value) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::AnyWindow, value);
    if (record == nullptr || DockFixesPosition(record->Type, record->DockSide)) return 0;
    RECT place{};
    if (WindowRectInParent(window, &place) < 0) return 0;
    int32_t x = place.left;
    int32_t y = place.top;
    if (axis == Axis::Horizontal) {
        record->Left = value;
        x = TwipsToPixelsX(value, record->ScaleMode);
    } else {
        record->Top = value;
        y = TwipsToPixelsY(value, record->ScaleMode);
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Refresh(window);
    return 1;
}

// Resizes the window along one axis to `value` (scale-mode units), the other dimension kept.
int32_t StretchAlong(HWND window, Axis axis, int32_t value) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::AnyWindow, value);
    if (record == nullptr) return 0;
    const bool fixed = axis == Axis::Horizontal ? DockFixesWidth(record->Type, record->DockSide)
                                                : DockFixesHeight(record->Type, record->DockSide);
    RECT rect{};
    if (fixed || !GetWindowRect(window, &rect)) return 0;
    int32_t width = rect.right - rect.left;
    int32_t height = rect.bottom - rect.top;
    if (axis == Axis::Horizontal) {
        record->Width = value;
        width = TwipsToPixelsX(value, record->ScaleMode);
    } else {
        record->Height = value;
        height = TwipsToPixelsY(value, record->ScaleMode);
    }
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Relayout(*record, window);
    Refresh(window);
    return 1;
}

}  // namespace

int32_t SetAlign(HWND window, int32_t side) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::Align, side);
    if (record == nullptr) return 0;
    record->DockSide = side;
    const DockShape docked = DockedShape(
        side, DockShape{record->Width, record->Height, record->Left, record->Top, StyleOf(window, GWL_STYLE)});
    record->Width = docked.width;
    record->Height = docked.height;
    record->Left = docked.left;
    record->Top = docked.top;
    SetStyleOf(window, GWL_STYLE, docked.style);
    if (record->Type == class_code::Rebar) record->Style = docked.style;
    // The window takes the swapped size with it: the record reads its size back from the
    // window whenever the window moves, which would otherwise undo the swap.
    SetWindowPos(window, nullptr, 0, 0, TwipsToPixelsX(docked.width, record->ScaleMode),
                 TwipsToPixelsY(docked.height, record->ScaleMode), SWP_NOZORDER | SWP_FRAMECHANGED);
    // The parent's docked controls are laid out again, also when this one left its side.
    SendToWindow(window, FRM_RELAYOUT, relayout::ParentsChildren, 0);
    return 1;
}

int32_t SetAutoSize(HWND window, int32_t autoSize) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::AutoSize, autoSize);
    if (record == nullptr) return 0;
    record->AutoSize = autoSize;
    AutoSizeControl(record);
    return 1;
}

int32_t SetLeft(HWND window, int32_t left) { return MoveAlong(window, Axis::Horizontal, left); }
int32_t SetTop(HWND window, int32_t top) { return MoveAlong(window, Axis::Vertical, top); }
int32_t SetWidth(HWND window, int32_t width) { return StretchAlong(window, Axis::Horizontal, width); }
int32_t SetHeight(HWND window, int32_t height) { return StretchAlong(window, Axis::Vertical, height); }

int32_t SetWindowState(HWND window, int32_t state) {
    RuntimeRecord* form = SetterTarget(window, setter_rule::WindowState, state);
    if (form == nullptr) return 0;
    // A modal form cannot be hidden, as with SetVisible: its owner would stay disabled with
    // nothing on the screen to end the modal state.
    if (state == window_state::Hidden && IsShownModally(form)) return 0;
    form->WindowState = state;
    ShowWindow(window, state + 1);
    Refresh(window);
    return 1;
}

int32_t SetEnabled(HWND window, int32_t enabled) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    const BOOL on = enabled != 0 ? TRUE : FALSE;
    EnableWindow(window, on);
    record->Enabled = on;
    record->Style = StyleOf(window, GWL_STYLE);
    if (record->OwnerForm != 0) {
        SendToWindow(SlotAs<HWND>(record->OwnerForm), FRM_FOCUSNEXT, 0, reinterpret_cast<LPARAM>(window));
    }
    if (record->Type == class_code::GroupBox || record->Type == class_code::PictureBox) {
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (FindWindowRecord(child) != nullptr) SetEnabled(child, enabled);
        }
    }
    if (IsWindowVisible(window)) UpdateWindow(window);
    return 1;
}

int32_t SetScrollBars(HWND window, int32_t bars) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::ScrollBars, bars);
    if (record == nullptr) return 0;
    record->ScrollBars = bars;
    // An MDI frame's scroll bars are its client's: the frame itself never shows any.
    HWND target =
        record->Type == form_kind::MdiFrame && record->MdiClient != 0 ? SlotAs<HWND>(record->MdiClient) : window;
    SetStyleOf(target, GWL_STYLE, ScrollBarStyle(StyleOf(target, GWL_STYLE), bars));
    Reframe(target);
    return 1;
}

int32_t SetRightToLeft(HWND window, int32_t rightToLeft) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::RightToLeft, rightToLeft);
    if (record == nullptr) return 0;
    record->RightToLeft = rightToLeft;
    SetStyleOf(window, GWL_EXSTYLE, ReadingOrderExStyle(StyleOf(window, GWL_EXSTYLE), rightToLeft));
    Reframe(window);
    return 1;
}

}  // namespace runtime
