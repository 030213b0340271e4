#include "tests/support/serial_peer.h"

#include "tests/support/window_messages.h"

namespace testsupport {

SerialPeer::SerialPeer(const std::string& device)
    : port_(CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        0, nullptr)) {
    if (!port_.valid()) return;
    // Each ReadFile returns at once with what is there, or after 20 ms with nothing.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = 20;
    SetCommTimeouts(port_.get(), &timeouts);
}

std::string SerialPeer::ReadUntil(std::size_t count, DWORD timeoutMs) {
    const Stopwatch watch;
    while (IsOpen() && received_.size() < count && watch.ElapsedMs() < timeoutMs) {
        char chunk[256];
        DWORD got = 0;
        if (!ReadFile(port_.get(), chunk, sizeof chunk, &got, nullptr)) break;
        received_.append(chunk, got);
    }
    std::string taken;
    taken.swap(received_);
    return taken;
}

void SerialPeer::Drain(DWORD forMs) {
    ReadUntil(SIZE_MAX, forMs);
}

}  // namespace testsupport
