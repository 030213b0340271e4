#pragma once
// Operations of the runtime window procedure that its rows share and the keyboard navigation
// will use: finding the form's buttons and tab stops, the default-button look, the dock layout
// and the nudge that sends a window through a round of size messages.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

// The number of controls of the form in tab order: every child window with a record, counted
// depth first through group boxes, pictures and rebars.
int32_t CountControls(HWND form);

// The control of the form whose Index is `index` (searched as CountControls counts); null when
// there is none.
HWND ControlWithIndex(HWND form, int32_t index);

// Push buttons, check boxes and option buttons: the controls a click or a mnemonic presses.
constexpr bool IsButtonKind(int32_t type) {
    return type == class_code::PushButton || type == class_code::CheckBox || type == class_code::OptionButton;
}

// Text boxes and rich text boxes.
constexpr bool IsEditKind(int32_t type) { return type == class_code::TextBox || type == class_code::RichTextBox; }

// Labels, group boxes, images, toolbars, status bars, progress bars, pagers and rebars cannot
// keep the focus: given it, they hand it on to the next tab stop.
bool PassesFocusOn(int32_t type);

// Depth-first over the child windows, descending into group boxes, pictures and rebars: the
// first push button whose cancel flag (which 1) or default flag (which 2) is set; 0 when none.
HWND FindFormButton(HWND window, int32_t which);
namespace form_button {
constexpr int32_t Cancel = 1;
constexpr int32_t Default = 2;
}  // namespace form_button

// The control with the lowest Index whose TabStop, Visible and Enabled are all set, among
// the form's controls and the children of its group boxes, pictures and rebars; the form's
// own window when there is none.
HWND FirstTabStop(const RuntimeRecord* form);

// The next control of the form in tab order that IsTabStop accepts, searching by Index from
// `start` (runtime/window/tab_order.h) forwards or, with `backwards`, backwards; the form's own window
// when none is accepted. The arrow and initial flags are handed to IsTabStop.
HWND NextTabStop(HWND form, int32_t start, int32_t backwards, int32_t arrow, int32_t initial);

// Whether keyboard navigation may stop at `control`, and where: null unless the control is
// visible and enabled, and never at a control that passes the focus on. With `initial`, an
// option button stands for the checked option button among its siblings (null when none is checked). With `arrow`, an option button is accepted
// and clicked on the way. Otherwise the control itself when its TabStop is set.
HWND IsTabStop(HWND control, int32_t arrow, int32_t initial);

// Gives a push button the look of the form's default button or takes it away: stores the flag
// (slot 36), sets or clears BS_DEFPUSHBUTTON unless the button is owner-drawn, and invalidates
// the button without erasing.
void SetButtonDefaultLook(RuntimeRecord* button, int32_t on);

// Lays out the window's docked children (runtime/window/dock_layout.h) in its client area and moves
// an MDI frame's client into the area left free.
void DockLayout(RuntimeRecord* record);

// Moves the window one pixel wider and higher and back, so that it goes through a full round
// of size messages with its final size; back with SetWindowPos (frame changed) when
// `frameChanged` is set, else with MoveWindow.
void NudgeWindowSize(HWND window, int32_t frameChanged);

}  // namespace runtime
