#pragma once
// The runtime's pointer check. Public runtime functions touch the first byte of each text or
// buffer argument on entry, so that a bad pointer faults there, while the call site of the
// public function is on record: the crash report then names the application's line that made
// the call instead of the runtime's own code.

#include <cstdint>

namespace runtime {

// The call site of the check under way: the code address to which the checking public
// function will return (the instruction in its caller right after the call); null when no
// check runs. Checks do not nest: every check clears it when done.
extern const void* volatile pendingCheckSite;

// 1 at load; the crash report clears it when it starts (at most one report per process).
// While it is set, the ANSI members of FormatNumber and FindChar check their pointers too.
extern volatile int32_t reportPending;

// Records `callSite`, reads the byte at `address` and, when `forWrite` is non-zero, writes it
// back unchanged; then clears the record. No handler surrounds the access: an unreadable or
// unwritable address faults here, with the call site on record.
//
// A public function passes its own return address, __builtin_return_address(0), taken in its
// own body; such functions are kept out of line ([[gnu::noinline]]) so that the address is the
// one in the application's code.
void CheckPointer(const void* address, int32_t forWrite, const void* callSite);

}  // namespace runtime
