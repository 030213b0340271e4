#pragma once
// One message of a runtime window (a window that has a record), and the three ways of
// finishing it that the runtime window procedure and the property interface share. App calls the form's application procedure with the message
// exactly as received; default runs the window's default procedure; generic is App, then the
// default when App returned 0.

#include <windows.h>

#include "runtime/template/template_record.h"

namespace runtime {

struct Message {
    HWND window;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    RuntimeRecord* record;  // never null
};

// The record's application procedure with the message; 0 when the record has none.
LRESULT CallApp(const Message& message);

// The default procedure of the window's kind: DefFrameProc with the MDI client for an MDI
// frame, DefMDIChildProc for an MDI child form, DefWindowProc for other forms and pictures,
// the system BUTTON procedure for a group box, and a control's own class procedure (slot 252).
LRESULT CallDefault(const Message& message);

// App; when it returned 0, the default.
LRESULT Generic(const Message& message);

// Whether the window still exists with the same record: the application may destroy a window
// while it handles one of its messages, and a form's record goes with it.
bool StillBound(const Message& message);

// Kinds of records the rows tell apart.
bool IsForm(const RuntimeRecord& record);
bool IsMainForm(const RuntimeRecord& record);

inline HWND WindowOf(const RuntimeRecord& record) { return SlotAs<HWND>(record.Window); }

}  // namespace runtime
