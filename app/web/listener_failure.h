#pragma once
// What the operator is told when the listener cannot be opened. Platform-free.

#include <cstddef>
#include <cstdint>
#include <span>

namespace web {

// The step of opening the listener that failed.
enum class ListenerStep : std::uint8_t { Socket = 1, Select, Bind, Listen };

// Socket error numbers the notice names in words (WSAEACCES, WSAEADDRINUSE).
inline constexpr int kErrorAccessDenied = 10013;
inline constexpr int kErrorAddressInUse = 10048;

struct ListenerFailure {
    std::uint16_t port;
    ListenerStep step;
    int error;  // the socket library's error number at that step
};

// Writes the notice's text, NUL-terminated and cut to `text`'s size: the port, the reason in
// words (in use by another program, access denied, or an unexpected error) and the step with
// the error number. Returns the number of bytes before the NUL.
std::size_t FormatListenerFailure(const ListenerFailure& failure, std::span<char> text);

}  // namespace web
