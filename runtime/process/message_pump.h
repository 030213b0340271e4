#pragma once
// The one message pump of the runtime: the main loop, the modal loop of a form and DoEvents all
// take the thread's messages through it, so the choice between the ANSI and the wide message
// functions is made here alone.

#include <windows.h>

#include <cstdint>

namespace runtime {

// How a pump runs.
struct PumpRules {
    // Take only what waits and end when the queue is empty, instead of waiting for messages.
    bool untilEmpty = false;
    // End as soon as this window is gone (checked before each message); null for none.
    HWND whileWindow = nullptr;
    // A quit message is put back for the loop that waits for it, instead of ending this pump
    // with its code.
    bool keepQuit = false;
    // Offered each message first; a message it translates is not dispatched. The commands go to
    // `acceleratorWindow`, or, when that is null, to the main window at that moment.
    HACCEL accelerators = nullptr;
    HWND acceleratorWindow = nullptr;
    // Called with each message before it is offered and dispatched; null for none.
    void (*beforeDispatch)(const MSG& message, HWND whileWindow) = nullptr;
};

// Why a pump ended, and the code of a quit message it took.
struct PumpEnd {
    enum class Reason { Quit, Empty, WindowGone, Error } reason;
    WPARAM code;
};

// Takes, translates and dispatches the thread's messages by the rules until one of them ends
// the pump.
PumpEnd PumpMessages(const PumpRules& rules);

// Takes every message out of the thread's queue, translates and dispatches it, and returns 1 as
// soon as the queue is empty. A quit message ends the pumping and is put back for the message
// loop that waits for it; then 0.
int32_t DoEvents();

}  // namespace runtime
