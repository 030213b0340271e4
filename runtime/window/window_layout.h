#pragma once
// The runtime window procedure's rows of size, position, layout and settings.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnSize(const Message& m);
LRESULT OnMove(const Message& m);
LRESULT OnWindowPosChanged(const Message& m);
LRESULT OnShowWindow(const Message& m);
LRESULT OnStyleChanged(const Message& m);
LRESULT OnRelayout(const Message& m);
LRESULT OnSettingChange(const Message& m);

}  // namespace runtime
