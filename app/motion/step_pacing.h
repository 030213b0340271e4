#pragma once
// When each step of a line goes: the pause after every step (with the opt-in ramp) and the
// deadlines that pace a line without step boxes. Platform-free: the clock and the wait come
// from the host (PaceEffects).

#include "app/motion/motion_state.h"

#include <cstdint>

namespace motion {

// The pause after step `step` (1 to `stepCount`) of a line, in microseconds, at `pauseMs` per
// step. Without a ramp it is pauseMs. With one, the speed rises with constant acceleration
// from 1/startMs over the line's first ramp.steps steps (the pause after step k is 1/v_k, with
// v_k^2 = v0^2 + (v1^2 - v0^2) * (k - 1) / steps) and falls the same way over its last ones, so
// that the pauses are symmetric and the one before the last step is startMs again; a line too
// short for both rises to its middle. The pause after the last step is startMs, the speed the
// next line starts from. No pause is below pauseMs; at 0 the ramp runs to 1 ms, then 0.
uint32_t PauseAfterStepUs(const StepRamp& ramp, uint32_t pauseMs, uint64_t stepCount, uint64_t step);

// How a wait of the host ended.
enum class WaitEnd : uint8_t {
    TooShort,  // the time asked for is below what the host can wait: nothing was waited
    Elapsed,   // the time has passed
    Messages,  // the window's messages came first and were processed
};

// What pacing needs from its host: a clock, a wait that processes the window's messages, and
// whether the line has been stopped (by one of those messages).
class PaceEffects {
public:
    virtual int64_t NowUs() = 0;
    // Waits about `us` microseconds (more than 0), processing the window's messages.
    virtual WaitEnd Wait(int64_t us) = 0;
    virtual bool Stopped() = 0;

protected:
    ~PaceEffects() = default;
};

// The deadlines of one line's steps: each step is due a pause after the deadline of the step
// before it, so a pause is measured from when its step was due, not from after its byte, and a
// line of N steps spans the sum of its pauses however long each write takes. A late step goes
// at once and leaves the later deadlines where they are; a step so late that the next one is
// due already re-anchors them at its own time, so that the line does not burst to catch up.
//
// A system's waits tend to end late (the timer's tick, the scheduler), and at short pauses that
// lateness alone would re-anchor the line again and again, each time losing the time it was
// late. So the deadlines learn how late a wait that ran its course ends, and ask for that much
// less; a step then goes as often a little early as a little late.
class StepDeadlines {
public:
    // Waits until the next step is due (the first goes at once) and sets the deadline of the
    // one after it, `pauseAfterUs` later. False when the line was stopped before or during the
    // wait. The line's end is awaited the same way, as a step that is not made.
    bool AwaitStep(PaceEffects& effects, uint32_t pauseAfterUs);
    // Whether the next step has a deadline to wait for; not after a pause of 0, when it goes
    // at once whatever the clock says.
    bool Pending() const { return anchored_; }
    // How late a wait is expected to end, in microseconds (0 up to kMaxWaitLatenessUs).
    int64_t WaitLatenessUs() const { return lateness_; }

    // A wait later than this was held up by something else (another program, a burst of
    // messages): it says nothing about how late waits end.
    static constexpr int64_t kMaxWaitLatenessUs = 2000;

private:
    void LearnLateness(int64_t lateUs);

    // Whether due_ holds the next step's deadline. Not before the first step, and not after a
    // pause of 0: the next step then goes at once and anchors the line at its own time.
    bool anchored_ = false;
    int64_t due_ = 0;
    int64_t lateness_ = 0;
};

}  // namespace motion
