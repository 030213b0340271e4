#pragma once
// The runtime window procedure's focus and activation rows: focus memory, the default push
// button's look, DM_GETDEFID/DM_SETDEFID, option groups and enabling.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnSetFocus(const Message& m);
LRESULT OnFocusChanged(const Message& m);
LRESULT OnFocusNext(const Message& m);
LRESULT OnNcActivate(const Message& m);
LRESULT OnNcButtonDown(const Message& m);  // WM_NCLBUTTONDOWN and WM_NCRBUTTONDOWN
LRESULT OnMdiActivate(const Message& m);
LRESULT OnGetDefId(const Message& m);
LRESULT OnSetDefId(const Message& m);
LRESULT OnSetCheck(const Message& m);
LRESULT OnEnable(const Message& m);

// Gives the focus back to the control the form remembers; when it remembers none (or one that
// is gone), to its first tab stop (the checked option of a group), else to the form itself.
void FocusRememberedControl(RuntimeRecord& form);

}  // namespace runtime
