// raw_serial: the floor for the step stream under the same platform. Opens a port by name and
// writes COUNT bytes to it, one WriteFile of one byte each, as fast as the calls go.
//
//   raw_serial.exe PORT COUNT

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: raw_serial PORT COUNT\n");
        return 2;
    }
    const HANDLE port = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "raw_serial: cannot open %s\n", argv[1]);
        return 1;
    }
    const long count = std::atol(argv[2]);
    const char steps[] = "BADC";
    for (long i = 0; i < count; ++i) {
        DWORD written = 0;
        if (!WriteFile(port, &steps[(i / 64) % 4], 1, &written, nullptr) || written != 1) {
            std::fprintf(stderr, "raw_serial: write %ld failed\n", i);
            return 1;
        }
    }
    CloseHandle(port);
    return 0;
}
