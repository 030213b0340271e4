#pragma once
// The runtime window procedure's colour and painting rows.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnCtlColor(const Message& m);  // every WM_CTLCOLOR... message
LRESULT OnEraseBackground(const Message& m);
LRESULT OnPaint(const Message& m);
LRESULT OnPrintClient(const Message& m);  // the runtime's own painting into a given context
LRESULT OnSysColorChange(const Message& m);
LRESULT OnThemeChanged(const Message& m);

// The transparent-sibling rule: from `window` (included) through the windows above it
// (GW_HWNDPREV), the first transparent label is invalidated without erasing, so that a
// transparent label lying over another control is drawn again after that control.
void RedrawTransparentLabelFrom(HWND window);

}  // namespace runtime
