#pragma once
// A message box owned by a form, and the form's activation once the box has gone.

#include <windows.h>

namespace runtime {

// Shows a message box owned by `owner` and returns its answer. Once the box has gone, the owner
// form is the active window again with the focus on the control it remembers (see
// ReactivateAfterBox), however the box was closed.
int ShowOwnedBox(HWND owner, const char* text, const char* caption, UINT flags);

// After a box owned by `form` has ended: when the form can take the focus (a visible, enabled,
// not minimised runtime form), it is focused anew while it is the foreground window, and
// brought back to the foreground when the system left the foreground to nobody (no window, or
// the desktop). A window that another program brought to the foreground meanwhile keeps it.
void ReactivateAfterBox(HWND form);

}  // namespace runtime
