#pragma once
// The runtime window procedure's rows of commands, notifications, owner-drawn items and the
// runtime's private queries.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnCommand(const Message& m);  // WM_COMMAND
LRESULT OnNotify(const Message& m);   // WM_NOTIFY
LRESULT OnDrawItem(const Message& m);
LRESULT OnMeasureItem(const Message& m);
LRESULT OnMeasureType(const Message& m);
LRESULT OnGetRecord(const Message& m);
LRESULT OnGetThemeLibrary(const Message& m);
LRESULT OnGetThemeActive(const Message& m);

}  // namespace runtime
