#pragma once
// The runtime window procedure's creation rows: binding a window to its record, completing a
// created form or dialog, and the group boxes and pictures that the runtime makes itself.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnUnboundMessage(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
LRESULT OnCreate(const Message& m);
LRESULT OnInitDialog(const Message& m);

}  // namespace runtime
