#include "runtime/process/wait_cursor.h"

#include "runtime/process/application.h"

namespace runtime {

int32_t waitCursorActive = 0;

int32_t BeginWaitCursor(HWND window) {
    if (waitCursorActive != 0) return 0;
    waitCursorActive = 1;
    SetCursor(waitCursor);
    SetCapture(window);
    return 1;
}

int32_t EndWaitCursor() {
    const int32_t wasActive = waitCursorActive;
    if (wasActive != 0) {
        SetCursor(arrowCursor);
        waitCursorActive = 0;
    }
    ReleaseCapture();
    return wasActive != 0 ? 1 : 0;
}

}  // namespace runtime
