#pragma once
// Watching and pumping window messages in tests.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace testsupport {

struct RecordedMessage {
    int controlId;  // GetDlgCtrlID of the window that received it
    UINT message;
    WPARAM wParam;
};

// Subclasses the windows given to Watch and records, in order, every message of the kinds
// asked for (for instance WM_ENABLE) that reaches them. The windows get their own procedures
// back when the recorder is destroyed. Recorders nest: the newest one records.
class MessageRecorder {
public:
    explicit MessageRecorder(std::vector<UINT> kinds);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void Watch(HWND window);
    const std::vector<RecordedMessage>& messages() const { return messages_; }
    // The identifiers of the windows that received the recorded messages, in order.
    std::vector<int> ControlIds() const;

private:
    struct Watched {
        HWND window;
        WNDPROC original;      // the window's own procedure
        bool subclassedHere;   // false when an outer recorder already watched it
    };
    const Watched* Find(HWND window) const;
    static LRESULT CALLBACK RecordingProc(HWND, UINT, WPARAM, LPARAM) noexcept;

    MessageRecorder* previous_ = nullptr;
    std::vector<UINT> kinds_;
    std::vector<Watched> watched_;
    std::vector<RecordedMessage> messages_;
};

// Dispatches the calling thread's messages until `done` gives true or `timeoutMs` passes.
// Returns whether `done` came true.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Milliseconds since construction, from the performance counter.
class Stopwatch {
public:
    Stopwatch();
    double ElapsedMs() const;

private:
    int64_t start_;
};

}  // namespace testsupport
