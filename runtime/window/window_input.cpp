// Keyboard, focus, activation, mouse and cursor rows of the runtime window procedure. Each row
// is generic until the runtime's keyboard navigation, focus memory, default button, capture and
// cursor rules fill it in.

#include "runtime/window/window_input.h"


namespace runtime {

LRESULT OnKeyDown(const Message& m) { return Generic(m); }
LRESULT OnChar(const Message& m) { return Generic(m); }
LRESULT OnSysCommand(const Message& m) { return Generic(m); }
LRESULT OnSetFocus(const Message& m) { return Generic(m); }
LRESULT OnNcActivate(const Message& m) { return Generic(m); }
LRESULT OnNcButtonDown(const Message& m) { return Generic(m); }
LRESULT OnMdiActivate(const Message& m) { return Generic(m); }
LRESULT OnGetDefId(const Message& m) { return Generic(m); }
LRESULT OnSetDefId(const Message& m) { return Generic(m); }
LRESULT OnSetCheck(const Message& m) { return Generic(m); }
LRESULT OnEnable(const Message& m) { return Generic(m); }
LRESULT OnSetCursor(const Message& m) { return Generic(m); }
LRESULT OnNcHitTest(const Message& m) { return Generic(m); }
LRESULT OnLButtonDown(const Message& m) { return Generic(m); }
LRESULT OnLButtonUp(const Message& m) { return Generic(m); }
LRESULT OnLButtonDblClk(const Message& m) { return Generic(m); }
LRESULT OnRButtonDown(const Message& m) { return Generic(m); }
LRESULT OnRButtonDblClk(const Message& m) { return Generic(m); }
LRESULT OnMouseMove(const Message& m) { return Generic(m); }
LRESULT OnMouseLeave(const Message& m) { return Generic(m); }
LRESULT OnScroll(const Message& m) { return Generic(m); }
LRESULT OnNavKey(const Message& m) { return Generic(m); }
LRESULT OnFocusChanged(const Message& m) { return Generic(m); }
LRESULT OnFocusNext(const Message& m) { return Generic(m); }

}  // namespace runtime
