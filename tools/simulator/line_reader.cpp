#include "tools/simulator/line_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <algorithm>
#include <cstring>
#include <thread>

namespace simulator {

namespace {

// How long the reader waits for a byte before it looks again at a stop or a tool change.
constexpr int kIdleMs = 20;
constexpr int kQuietMs = 20;

}  // namespace

int64_t NowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

bool LineReader::Open(const std::string& path, std::string& error) {
    if (path.empty()) {
        fd_ = STDIN_FILENO;
    } else {
        // O_NOCTTY: the line must not become our controlling terminal.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) {
            error = "cannot open " + path + ": " + std::strerror(errno);
            return false;
        }
        ownFd_ = true;
    }
    termios settings{};
    if (isatty(fd_) && tcgetattr(fd_, &settings) == 0) {
        // Every byte as it comes: no line editing, no echo, no translation of CR or LF.
        cfmakeraw(&settings);
        tcsetattr(fd_, TCSANOW, &settings);
    }
    return true;
}

LineReader::~LineReader() {
    if (ownFd_ && fd_ >= 0) ::close(fd_);
}

void LineReader::Run(LineState& state, const LineReading& reading, const std::atomic<bool>& stop) {
    using Clock = std::chrono::steady_clock;
    // An 8N1 byte is ten bits on the wire: a start bit, eight data bits, a stop bit.
    const auto byteTime = reading.baud > 0 ? std::chrono::nanoseconds(10'000'000'000LL / reading.baud)
                                           : std::chrono::nanoseconds(0);
    Clock::time_point lineFree = Clock::now();  // when the line could carry the next byte
    uint64_t count = 0;
    char buffer[4096];
    const auto closeDue = [&] { return reading.closeAfter && count >= *reading.closeAfter; };
    while (!stop.load() && !closeDue()) {
        pollfd wait{fd_, POLLIN, 0};
        // A byte that is there at once was waiting behind the last one: it follows it on the
        // line. One that has to be waited for starts when it comes.
        const bool waiting = poll(&wait, 1, 0) > 0;
        if (!waiting) {
            // A tool change waits for the line to be quiet this long: then every byte written
            // ahead of it has come through (the pseudo-terminal pair forwards within a
            // millisecond or so) and has been taken.
            const bool toolChange = state.ToolChangePending();
            const int ready = poll(&wait, 1, toolChange ? kQuietMs : kIdleMs);
            if (ready < 0 && errno != EINTR) break;
            if (ready == 0 && toolChange) state.ApplyPendingTool();
            if (ready <= 0) continue;
        }
        std::size_t want = reading.baud > 0 ? 1 : sizeof buffer;
        if (reading.closeAfter) want = std::min<uint64_t>(want, *reading.closeAfter - count);
        const ssize_t got = ::read(fd_, buffer, want);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        // End of file, or EIO from a pseudo-terminal whose other end has gone.
        if (got <= 0) {
            state.SetStatus(LineStatus::Ended);
            return;
        }
        int64_t arrivedUs = NowUs();
        if (reading.baud > 0) {
            // The line is busy for the byte's ten bits. Deadlines are absolute: a late wake-up
            // does not slow the bytes that follow, and the byte is logged at the time its last
            // bit came, not at the time this thread woke up.
            lineFree = (waiting ? lineFree : std::max(lineFree, Clock::now())) + byteTime;
            std::this_thread::sleep_until(lineFree);
            const auto late = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - lineFree);
            arrivedUs = NowUs() - std::max<int64_t>(0, late.count());
        }
        count = state.Feed(std::string_view(buffer, static_cast<std::size_t>(got)), arrivedUs);
    }
    if (closeDue()) {
        // Our end of the line goes away, as a driver that is switched off mid-line.
        ::close(fd_);
        fd_ = -1;
        state.SetStatus(LineStatus::Closed);
    }
}

}  // namespace simulator
