#pragma once
// Stand-ins for what the runtime's start-up provides (the Application record, the OS level,
// the class names, the kept system procedures, the runtime window procedure and the calls in
// the text mode), under the names start-up gives them, until the builder is joined with it.

#include <windows.h>

#include <cstdint>

#include "runtime/text_mode.h"

namespace runtime {

struct ApplicationRecord {
    uint32_t Accel;
    uint32_t CommandLine;
    uint32_t FileName;
    uint32_t Description;
    uint32_t Instance;
    uint32_t MainWindow;
};
extern ApplicationRecord Application;
extern int32_t OsLevel;
extern HCURSOR arrowCursor;
extern HCURSOR waitCursor;
extern WNDPROC buttonClassProc;

enum class RuntimeClass : int32_t { MdiFrame, MdiChild, Window, Dialog, MdiClient, Group, Picture };
const void* RuntimeClassName(RuntimeClass which);

LRESULT CALLBACK RuntimeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK ChildSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
extern WNDPROC ipFieldProc;

inline LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefWindowProcW(window, message, wParam, lParam)
                         : DefWindowProcA(window, message, wParam, lParam);
}
inline LRESULT CallProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? CallWindowProcW(procedure, window, message, wParam, lParam)
                         : CallWindowProcA(procedure, window, message, wParam, lParam);
}
inline LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? SendMessageW(window, message, wParam, lParam)
                         : SendMessageA(window, message, wParam, lParam);
}
inline LONG_PTR GetWindowValue(HWND window, int index) {
    return wideMode != 0 ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}
inline LONG_PTR SetWindowValue(HWND window, int index, LONG_PTR value) {
    return wideMode != 0 ? SetWindowLongPtrW(window, index, value)
                         : SetWindowLongPtrA(window, index, value);
}
inline WNDPROC AsWindowProc(LONG_PTR value) { return reinterpret_cast<WNDPROC>(value); }
inline LONG_PTR FromWindowProc(WNDPROC procedure) { return reinterpret_cast<LONG_PTR>(procedure); }

}  // namespace runtime
