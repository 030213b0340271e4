#pragma once
// Where and how the web front listens unless the program's switches say otherwise.
// Platform-free.

#include <cstdint>

namespace web {

// TCP port 80, of every address.
inline constexpr std::uint16_t kHttpPort = 80;
// Connections the system may queue for the listener before they are accepted.
inline constexpr std::uint32_t kDefaultBacklog = 5;

}  // namespace web
