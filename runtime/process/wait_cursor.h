#pragma once
// The runtime's wait cursor: the hourglass, with the mouse captured, while the runtime or the
// application works (opening a link, the crash report's look-up, a modal form's start).

#include <windows.h>

#include <cstdint>

namespace runtime {

// 1 while the wait cursor is up; the window procedure leaves the cursor alone then.
extern int32_t waitCursorActive;

// The wait cursor, with the mouse captured for `window`, until EndWaitCursor; 1 when it went
// up, 0 when it was up already.
int32_t BeginWaitCursor(HWND window);

// Puts the arrow back when the wait cursor was up (1, else 0) and always releases the capture.
int32_t EndWaitCursor();

}  // namespace runtime
