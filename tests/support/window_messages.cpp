#include "tests/support/window_messages.h"

#include <algorithm>
#include <utility>

namespace testsupport {

namespace {

thread_local MessageRecorder* activeRecorder = nullptr;

int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

MessageRecorder::MessageRecorder(std::vector<UINT> kinds)
    : previous_(activeRecorder), kinds_(std::move(kinds)) {
    activeRecorder = this;
}

MessageRecorder::~MessageRecorder() {
    for (const Watched& w : watched_) {
        if (w.subclassedHere && IsWindow(w.window)) {
            // Gives the window its own procedure back.
            SetWindowLongPtrA(w.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.original));
        }
    }
    activeRecorder = previous_;
}

const MessageRecorder::Watched* MessageRecorder::Find(HWND window) const {
    for (const Watched& w : watched_)
        if (w.window == window) return &w;
    return nullptr;
}

void MessageRecorder::Watch(HWND window) {
    for (const MessageRecorder* r = previous_; r; r = r->previous_) {
        if (const Watched* outer = r->Find(window)) {
            watched_.push_back(Watched{window, outer->original, false});
            return;
        }
    }
    // The procedure pointer travels as a LONG_PTR through the window's slot.
    const auto original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageRecorder::RecordingProc)));
    watched_.push_back(Watched{window, original, true});
}

std::vector<int> MessageRecorder::ControlIds() const {
    std::vector<int> ids;
    for (const RecordedMessage& m : messages_) ids.push_back(m.controlId);
    return ids;
}

LRESULT CALLBACK MessageRecorder::RecordingProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) noexcept {
    WNDPROC original = nullptr;
    for (MessageRecorder* r = activeRecorder; r; r = r->previous_) {
        const Watched* w = r->Find(window);
        if (!w) continue;
        original = w->original;
        if (std::find(r->kinds_.begin(), r->kinds_.end(), message) != r->kinds_.end())
            r->messages_.push_back(RecordedMessage{GetDlgCtrlID(window), message, wParam});
    }
    if (!original) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(original, window, message, wParam, lParam);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const Stopwatch watch;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        const double left = timeoutMs - watch.ElapsedMs();
        if (left <= 0) return false;
        // Short slices: `done` may also come true without a message (data on a device).
        const DWORD slice = left < 10 ? static_cast<DWORD>(left) + 1 : 10;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

namespace {

OneShotTimer* activeTimer = nullptr;

}  // namespace

OneShotTimer::OneShotTimer(UINT delayMs, std::function<void()> act) : act_(std::move(act)) {
    activeTimer = this;
    timer_ = SetTimer(nullptr, 0, delayMs, &OneShotTimer::OnTimer);
}

OneShotTimer::~OneShotTimer() {
    KillTimer(nullptr, timer_);
    if (activeTimer == this) activeTimer = nullptr;
}

void CALLBACK OneShotTimer::OnTimer(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    KillTimer(nullptr, timer);
    OneShotTimer* self = activeTimer;
    if (self == nullptr || self->timer_ != timer || self->fired_) return;
    self->fired_ = true;
    self->act_();
}

Stopwatch::Stopwatch() : start_(Ticks()) {}

double Stopwatch::ElapsedMs() const {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Ticks() - start_) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace testsupport
