#pragma once
// The runtime window procedure's keyboard rows: keys and characters at forms and controls, the
// navigation keys that controls hand to their form (FRM_NAVKEY), and the system commands with
// the Alt+letter search.

#include <windows.h>

#include <cstdint>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnKeyDown(const Message& m);
LRESULT OnChar(const Message& m);
LRESULT OnNavKey(const Message& m);
LRESULT OnSysCommand(const Message& m);

// Alt with `character` at `window`: in the window's form, the first visible, enabled control
// after the focused one (wrapping round) whose caption carries the mnemonic is clicked (push
// button, check box, option button) or focused; a tab control whose tab carries it has that tab
// selected. Returns the control, or null when none matched or the form went meanwhile.
HWND MnemonicFocus(HWND window, uint32_t character);

}  // namespace runtime
