#pragma once
// The far end of a serial line in tests: opens a device (for instance the second end of a
// pseudo-terminal pair mapped to a COM name) and reads what arrives, never waiting longer
// than asked.

#include "tests/support/files.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace testsupport {

class SerialPeer {
public:
    explicit SerialPeer(const std::string& device);

    bool IsOpen() const { return port_.valid(); }
    // Reads until `count` bytes have arrived in total (counting bytes read earlier and not
    // yet taken) or `timeoutMs` passes; returns all bytes gathered and not taken before.
    std::string ReadUntil(std::size_t count, DWORD timeoutMs);
    // Reads and drops whatever arrives within `forMs`.
    void Drain(DWORD forMs);

private:
    UniqueHandle port_;
    std::string received_;
};

}  // namespace testsupport
