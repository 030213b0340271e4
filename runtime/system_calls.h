#pragma once
// The system functions that come in ANSI and wide forms, called in the form that the runtime's
// text mode chooses. (Named apart from the system's own A/W macros.)

#include <windows.h>

#include "runtime/text/text_mode.h"

namespace runtime {

inline LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefWindowProcW(window, message, wParam, lParam)
                         : DefWindowProcA(window, message, wParam, lParam);
}

inline LRESULT DefaultFrameProc(HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefFrameProcW(window, client, message, wParam, lParam)
                         : DefFrameProcA(window, client, message, wParam, lParam);
}

inline LRESULT DefaultMdiChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefMDIChildProcW(window, message, wParam, lParam)
                         : DefMDIChildProcA(window, message, wParam, lParam);
}

inline LRESULT CallProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? CallWindowProcW(procedure, window, message, wParam, lParam)
                         : CallWindowProcA(procedure, window, message, wParam, lParam);
}

inline LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? SendMessageW(window, message, wParam, lParam)
                         : SendMessageA(window, message, wParam, lParam);
}

inline BOOL PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? PostMessageW(window, message, wParam, lParam)
                         : PostMessageA(window, message, wParam, lParam);
}

inline LONG_PTR GetWindowValue(HWND window, int index) {
    return wideMode != 0 ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

inline LONG_PTR SetWindowValue(HWND window, int index, LONG_PTR value) {
    return wideMode != 0 ? SetWindowLongPtrW(window, index, value)
                         : SetWindowLongPtrA(window, index, value);
}

inline ULONG_PTR GetClassValue(HWND window, int index) {
    return wideMode != 0 ? GetClassLongPtrW(window, index) : GetClassLongPtrA(window, index);
}

inline ULONG_PTR SetClassValue(HWND window, int index, LONG_PTR value) {
    return wideMode != 0 ? SetClassLongPtrW(window, index, value)
                         : SetClassLongPtrA(window, index, value);
}

// A window procedure kept in a 32-bit slot or in a window's user data.
inline WNDPROC AsWindowProc(LONG_PTR value) {
    // Slots and user data hold the procedure's address as an integer; on the 32-bit target
    // the round trip through LONG_PTR is exact.
    return reinterpret_cast<WNDPROC>(value);
}

inline LONG_PTR FromWindowProc(WNDPROC procedure) { return reinterpret_cast<LONG_PTR>(procedure); }

}  // namespace runtime
