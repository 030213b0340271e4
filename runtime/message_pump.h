#pragma once
// Processing what is waiting in the thread's message queue without waiting for more.

namespace runtime {

// Takes every message out of the thread's queue, translates and dispatches it, and returns as
// soon as the queue is empty.
void DoEvents();

}  // namespace runtime
