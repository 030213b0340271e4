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

// Runs `act` once, `delayMs` after construction, from a thread timer: only a message loop
// dispatches it (the test's pump, a box's modal loop, or a running line that processes the
// window's messages), so `act` happens as an operator's action or a socket event would.
// Killed with its owner if it has not fired. One at a time.
class OneShotTimer {
public:
    OneShotTimer(UINT delayMs, std::function<void()> act);
    ~OneShotTimer();
    OneShotTimer(const OneShotTimer&) = delete;
    OneShotTimer& operator=(const OneShotTimer&) = delete;

    bool Fired() const { return fired_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) noexcept;

    UINT_PTR timer_ = 0;
    std::function<void()> act_;
    bool fired_ = false;
};

// Milliseconds since construction, from the performance counter.
class Stopwatch {
public:
    Stopwatch();
    double ElapsedMs() const;

private:
    int64_t start_;
};

}  // namespace testsupport
