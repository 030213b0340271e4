#include "runtime/message_pump.h"

#include <windows.h>

#include "runtime/text/text_mode.h"

namespace runtime {

int32_t DoEvents() {
    MSG message{};
    for (;;) {
        const BOOL got = wideMode != 0 ? PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)
                                       : PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        if (!got) return 1;
        // The quit message belongs to the loop that waits for it; taken here, it would be lost.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return 0;
        }
        TranslateMessage(&message);
        if (wideMode != 0) {
            DispatchMessageW(&message);
        } else {
            DispatchMessageA(&message);
        }
    }
}

}  // namespace runtime
