#pragma once
// Reading the serial line: a pseudo-terminal end, a file or standard input, at the pace of a
// real line when a speed is given. POSIX.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/simulator/line_state.h"

namespace simulator {

struct LineReading {
    uint32_t baud = 0;                   // 0: as fast as the bytes come
    std::optional<uint64_t> closeAfter;  // close the line after this many bytes
};

// Wall-clock time in microseconds, the clock of the byte times.
int64_t NowUs();

class LineReader {
public:
    // Opens `path` (empty: standard input) for reading; a terminal is put in raw mode.
    // `error` tells why when it fails.
    bool Open(const std::string& path, std::string& error);
    ~LineReader();

    // Reads and feeds `state` until the line ends, is closed after its byte count, or `stop`
    // is set (checked at least every 100 ms). Applies a pending tool change once the line is
    // quiet. Sets the line's status on the way out.
    void Run(LineState& state, const LineReading& reading, const std::atomic<bool>& stop);

private:
    int fd_ = -1;
    bool ownFd_ = false;
};

}  // namespace simulator
