#pragma once
// The runtime's text mode: whether the texts it owns are ANSI (system code page) or wide
// (UTF-16), and with it which member of every A/W pair of system and runtime functions runs.

#include <cstdint>

namespace runtime {

// 0 ANSI, 1 wide. Fixed by the runtime's start-up before any runtime window exists (its only
// writer) and never changed afterwards.
extern int32_t wideMode;

// Runs `body` with a value of the mode's text unit, char{} in ANSI mode and wchar_t{} in wide
// mode, so that a body written once as a template over the unit works on the runtime's texts.
template <class Body>
decltype(auto) WithTextUnit(Body&& body) {
    if (wideMode != 0) return body(wchar_t{});
    return body(char{});
}

}  // namespace runtime
