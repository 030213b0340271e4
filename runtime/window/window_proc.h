#pragma once
// The runtime window procedure, which serves every window the form runtime creates: the forms,
// the runtime's group boxes and pictures, and the standard controls that the builder takes
// over. Start-up hands its address to class registration (runtime/process/runtime_classes.h).
//
// Every message starts with the window's record (FindWindowRecord). The form's application
// procedure (the record's WindowProc, "App") is called with the message exactly as received:
// 0 lets the runtime and the system default go on, non-zero ends the message with that value.
// The record under construction (pendingRecord, runtime/build/form_builder.h) is taken by the
// window's first WM_NCCREATE, which enters the window in the window table; from then on the
// window procedure owns a form's record and frees it when the window is gone.

#include <windows.h>

namespace runtime {

LRESULT CALLBACK RuntimeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace runtime
