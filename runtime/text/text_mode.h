#pragma once
// The runtime's text mode: whether the texts it owns are ANSI (system code page) or wide
// (UTF-16), and with it which member of every A/W pair of system and runtime functions runs.

#include <cstdint>

namespace runtime {

// 0 ANSI, 1 wide. Fixed by the runtime's start-up before any runtime window exists (its only
// writer) and never changed afterwards.
extern int32_t wideMode;

}  // namespace runtime
