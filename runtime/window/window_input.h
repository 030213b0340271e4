#pragma once
// The runtime window procedure's keyboard, focus, activation, mouse and cursor rows.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnKeyDown(const Message& m);
LRESULT OnChar(const Message& m);
LRESULT OnSysCommand(const Message& m);
LRESULT OnSetFocus(const Message& m);
LRESULT OnNcActivate(const Message& m);
LRESULT OnNcButtonDown(const Message& m);  // WM_NCLBUTTONDOWN and WM_NCRBUTTONDOWN
LRESULT OnMdiActivate(const Message& m);
LRESULT OnGetDefId(const Message& m);
LRESULT OnSetDefId(const Message& m);
LRESULT OnSetCheck(const Message& m);
LRESULT OnEnable(const Message& m);
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
LRESULT OnNavKey(const Message& m);
LRESULT OnFocusChanged(const Message& m);
LRESULT OnFocusNext(const Message& m);

}  // namespace runtime
