#pragma once
// The runtime window procedure's mouse and cursor rows, and the cursor rule that the child
// subclass and MDI-client procedures share.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnSetCursor(const Message& m);
LRESULT OnNcHitTest(const Message& m);
LRESULT OnLButtonDown(const Message& m);
LRESULT OnLButtonUp(const Message& m);
LRESULT OnLButtonDblClk(const Message& m);
LRESULT OnRButtonDown(const Message& m);
LRESULT OnRButtonDblClk(const Message& m);
LRESULT OnMouseMove(const Message& m);
LRESULT OnMouseLeave(const Message& m);
LRESULT OnScroll(const Message& m);  // WM_HSCROLL and WM_VSCROLL

// WM_SETCURSOR at `m.window` (the receiving window): the cursor of the record of the window
// under the mouse (wParam), else of its parent, else `m.record`'s, chosen by its cursor code
// and kind, is shown through the receiving window's class cursor for this message; 1. A rebar
// may leave the choice to its own procedure, whose result is returned.
LRESULT ApplyCursorRule(const Message& m);

}  // namespace runtime
