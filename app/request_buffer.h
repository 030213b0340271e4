#pragma once
// The size of a request as the program reads it: the web front receives at most this many
// bytes of a connection, and the movement scan looks at no more. Platform-free.

#include <cstddef>

namespace app {

inline constexpr std::size_t kRequestBufferSize = 1024;

}  // namespace app
