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

#include "runtime/template_record.h"

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

}  // namespace runtime
