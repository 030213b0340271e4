// The timing of a line's steps on Windows: the deadlines' clock and their wait, the sleep after
// a step with step boxes, and the system timer's resolution while a line pauses.
#include "app/motion/motion.h"
#include "app/motion/step_pacing.h"

#include "runtime/process/message_pump.h"

namespace motion {

namespace {

// ---- The system timer's resolution. On a stock system it ticks every 15.6 ms, and a wait of
// 1 to 15 ms lasts a whole tick; winmm asks for a finer one. The library may be missing: then
// waits keep the system's tick.

constexpr UINT kTimerPeriodMs = 1;
constexpr UINT kTimerNoError = 0;  // TIMERR_NOERROR
using TimerPeriodEntry = UINT(WINAPI*)(UINT periodMs);

struct TimerLibrary {
    TimerEntryFinder finder = GetProcAddress;
    bool lookedUp = false;
    HMODULE winmm = nullptr;  // loaded once, kept for the process
    TimerPeriodEntry beginPeriod = nullptr;
    TimerPeriodEntry endPeriod = nullptr;
    bool raised = false;  // a timeBeginPeriod is in force that timeEndPeriod must undo
};
constinit TimerLibrary timerLibrary{};

TimerPeriodEntry FindTimerEntry(const char* name) {
    // The entry is found by name; both have the type winmm exports under these names.
    return reinterpret_cast<TimerPeriodEntry>(reinterpret_cast<void*>(timerLibrary.finder(timerLibrary.winmm, name)));
}

void LookUpTimerEntries() {
    TimerLibrary& t = timerLibrary;
    if (t.lookedUp) return;
    t.lookedUp = true;
    if (t.winmm == nullptr) t.winmm = LoadLibraryA("winmm.dll");
    if (t.winmm == nullptr) return;
    t.beginPeriod = FindTimerEntry("timeBeginPeriod");
    t.endPeriod = FindTimerEntry("timeEndPeriod");
    // Both or neither: a raise that could not be undone would outlive the line.
    if (t.beginPeriod == nullptr || t.endPeriod == nullptr) t.beginPeriod = t.endPeriod = nullptr;
}

// ---- The line being paced

struct LinePacing {
    uint64_t stepCount = 0;  // of the line in progress
    uint64_t stepsPaced = 0; // steps whose pause has been set
    motion::StepDeadlines deadlines;
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
};
LinePacing linePacing{};

// The window's messages, as a modal box's loop would take them; the quit message (the window
// is gone) stops the line.
void TakeMessages() {
    if (runtime::DoEvents() == 0) RequestLineStop();
}

// Between steps that do not wait, the window's messages are looked at no more often than this:
// often enough for "!" and for requests arriving meanwhile, rarely enough that the line runs
// at the speed of its writes.
constexpr DWORD kMessageIntervalMs = 5;
DWORD lastMessageTick = 0;

// Takes what is waiting, if anything.
void TakeMessagesNow() {
    lastMessageTick = GetTickCount();
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0) TakeMessages();
}

// Microseconds since the line began. The division is split so that no product overflows.
int64_t ElapsedUs(const LARGE_INTEGER& now) {
    const LONGLONG ticks = now.QuadPart - linePacing.start.QuadPart;
    const LONGLONG frequency = linePacing.frequency.QuadPart;
    return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

class WindowPaceEffects final : public motion::PaceEffects {
public:
    int64_t NowUs() override {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return ElapsedUs(now);
    }
    // Waits last whole milliseconds (the system timer's, raised to 1 ms, and Wine's server's),
    // rounded to the nearest: a step goes about half a millisecond early or late, and its
    // deadline keeps the line's pace.
    motion::WaitEnd Wait(int64_t us) override {
        const int64_t ms = (us + 500) / 1000;
        if (ms <= 0) return motion::WaitEnd::TooShort;
        const DWORD timeout = ms < INFINITE ? static_cast<DWORD>(ms) : INFINITE - 1;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, QS_ALLINPUT) != WAIT_OBJECT_0) {
            return motion::WaitEnd::Elapsed;
        }
        TakeMessages();
        return motion::WaitEnd::Messages;
    }
    bool Stopped() override { return LineStopRequested(); }
};

// The pause after the next step of the line, which this counts.
uint32_t NextPauseUs() {
    ++linePacing.stepsPaced;
    return motion::PauseAfterStepUs(motionSettings.ramp, motionRegisters.stepDelay, linePacing.stepCount,
                                    linePacing.stepsPaced);
}

}  // namespace

TimerEntryFinder SetTimerEntryFinder(TimerEntryFinder finder) {
    RestoreTimerResolution();
    const TimerEntryFinder previous = timerLibrary.finder;
    timerLibrary.finder = finder != nullptr ? finder : GetProcAddress;
    timerLibrary.lookedUp = false;
    timerLibrary.beginPeriod = timerLibrary.endPeriod = nullptr;
    return previous;
}

void RaiseTimerResolution() {
    if (timerLibrary.raised) return;
    LookUpTimerEntries();
    timerLibrary.raised = timerLibrary.beginPeriod != nullptr && timerLibrary.beginPeriod(kTimerPeriodMs) == kTimerNoError;
}

void RestoreTimerResolution() {
    if (!timerLibrary.raised) return;
    timerLibrary.raised = false;
    timerLibrary.endPeriod(kTimerPeriodMs);
}

void ProcessPendingMessages() {
    if (GetTickCount() - lastMessageTick >= kMessageIntervalMs) TakeMessagesNow();
}

void BeginLinePacing(uint64_t stepCount) {
    linePacing = LinePacing{};
    linePacing.stepCount = stepCount;
    QueryPerformanceFrequency(&linePacing.frequency);
    QueryPerformanceCounter(&linePacing.start);
}

bool AwaitStepDue() {
    // At full speed (no pause, no ramp, no deadline running) a step needs nothing but its byte;
    // this is all that pacing adds to a step at p=0.
    if (motionRegisters.stepDelay == 0 && !motionSettings.ramp.active && !linePacing.deadlines.Pending()) {
        ++linePacing.stepsPaced;
        return true;
    }
    const bool firstStep = linePacing.stepsPaced == 0;
    const uint32_t pauseUs = NextPauseUs();
    // Before the pause is timed, whether or not its wait will be long enough to make.
    if (pauseUs != 0) RaiseTimerResolution();
    // What the request left to do (its fields' repaint, events that came meanwhile) is done
    // before the line's time starts: done after the first byte, it would make the second late.
    if (firstStep && pauseUs != 0) TakeMessagesNow();
    WindowPaceEffects effects;
    return linePacing.deadlines.AwaitStep(effects, pauseUs);
}

void SleepAfterStep() {
    const uint32_t ms = (NextPauseUs() + 500) / 1000;
    if (ms == 0) return;  // Sleep(0) would give the processor away
    RaiseTimerResolution();
    Sleep(ms);
}

void EndLinePacing() {
    // Without step boxes the line ends when a next step would be due, so that the next line's
    // first step keeps the pace too; a stopped line just stops.
    if (!motionSettings.stepBoxes && linePacing.stepsPaced != 0 && !LineStopRequested()) {
        WindowPaceEffects effects;
        linePacing.deadlines.AwaitStep(effects, 0);
    }
    RestoreTimerResolution();
}

}  // namespace motion
