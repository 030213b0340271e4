#pragma once
// The runtime window procedure, which serves every window the form runtime creates, and its
// two companions: the MDI-client procedure of the BKMDICLIENT class and the child subclass
// procedure of the inner windows of combo boxes and IP-address controls.
//
// Every message starts with the window's record (FindWindowRecord). The form's application
// procedure (the record's WindowProc, "App") is called with the message exactly as received:
// 0 lets the runtime and the system default go on, non-zero ends the message with that value.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

LRESULT CALLBACK RuntimeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK MdiClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK ChildSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The record under construction (pendingRecord, runtime/form_builder.h) is taken by the
// window's first WM_NCCREATE, which enters the window in the window table; from then on the
// window procedure owns a form's record and frees it when the window is gone.

// The system EDIT procedure of the four fields of IP-address controls, kept by the builder when
// it subclasses them (the fields' own user data is the control's).
extern WNDPROC ipFieldProc;

// The owner-drawn push button under the mouse whose leaving is being tracked (hot look); null
// for none. Cleared with one atomic exchange when the mouse leaves it.
extern HWND hotButton;

// Operations that other parts of the runtime use.

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

// The window's rectangle: for a form that is not an MDI child in screen coordinates, for any
// other window in its parent's client coordinates (width and height kept). 1 when done; -1 for
// a window without a record, a failed GetWindowRect or a child without a parent.
int32_t WindowRectInParent(HWND window, RECT* rectangle);

// The next control of the form in tab order that IsTabStop accepts, searching by Index from
// `start` (runtime/tab_order.h) forwards or, with `backwards`, backwards; the form's own window
// when none is accepted. The arrow and initial flags are handed to IsTabStop.
HWND NextTabStop(HWND form, int32_t start, int32_t backwards, int32_t arrow, int32_t initial);

// Whether keyboard navigation may stop at `control`, and where: null unless the control is
// visible and enabled. With `initial`, an option button stands for the checked option button
// among its siblings (null when none is checked). With `arrow`, an option button is accepted
// and clicked on the way. Otherwise the control itself when its TabStop is set.
HWND IsTabStop(HWND control, int32_t arrow, int32_t initial);

// Gives a push button the look of the form's default button or takes it away: stores the flag
// (slot 36), sets or clears BS_DEFPUSHBUTTON unless the button is owner-drawn, and invalidates
// the button without erasing.
void SetButtonDefaultLook(RuntimeRecord* button, int32_t on);

// Lays out the window's docked children (runtime/dock_layout.h) in its client area and moves
// an MDI frame's client into the area left free.
void DockLayout(RuntimeRecord* record);

}  // namespace runtime
