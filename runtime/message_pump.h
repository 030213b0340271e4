#pragma once
// Processing what is waiting in the thread's message queue without waiting for more: the
// property interface's DoEvents, which the window procedure uses too.

#include <cstdint>

namespace runtime {

// Takes every message out of the thread's queue, translates and dispatches it, and returns 1 as
// soon as the queue is empty. A quit message ends the pumping and is put back for the message
// loop that waits for it; then 0.
int32_t DoEvents();

}  // namespace runtime
