#pragma once
// The operator API's answer to /pos and /halt: a complete HTTP response of its own (status
// line, headers, a JSON body) telling where the machine stands and what its line is doing.
// Platform-free.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace web {

// What the answer reports, as the machine stands when it is written.
struct OperatorStatus {
    std::uint32_t x = 0;  // where the machine stands (during a line: where its steps took it)
    std::uint32_t y = 0;
    bool lineRunning = false;
    std::uint32_t done = 0;   // steps made of the running line (of the last line when idle)
    std::uint32_t total = 0;  // steps planned of that line
    std::uint32_t delay = 0;  // the step delay in force, in milliseconds
    bool portOpen = false;
    std::optional<std::uint32_t> tool;  // the last value given to the output hook; none without one
};

// Room for the longest answer (every number at 4294967295), with some to spare.
inline constexpr std::size_t kOperatorReplyCapacity = 384;

// Writes the answer and a NUL into `out` and returns its length: "HTTP/1.1 200 OK", Content-Type
// application/json, Content-Length, Cache-Control no-store, Connection close, then the body
//   {"x":X,"y":Y,"line":"idle"|"running","done":D,"total":T,"delay":P,"port":"open"|"closed","tool":V|null}
// with every number in unsigned decimal. 0 (and nothing written) when `out` is too small for
// the whole answer and its NUL.
std::size_t FormatOperatorReply(const OperatorStatus& status, std::span<char> out);

}  // namespace web
