#include "app/motion/step_pacing.h"

#include <algorithm>
#include <cmath>

namespace motion {

namespace {

constexpr uint64_t kUsPerMs = 1000;

uint32_t ClampedUs(uint64_t us) {
    return static_cast<uint32_t>(std::min<uint64_t>(us, UINT32_MAX));
}

}  // namespace

uint32_t PauseAfterStepUs(const StepRamp& ramp, uint32_t pauseMs, uint64_t stepCount, uint64_t step) {
    const uint32_t pauseUs = ClampedUs(pauseMs * kUsPerMs);
    // At a pause of 0 the ramp rises to 1 ms, the fastest pace it can time.
    const uint32_t fastestMs = std::max<uint32_t>(pauseMs, 1);
    if (!ramp.active || ramp.steps == 0 || ramp.startMs <= fastestMs) return pauseUs;
    // Counted from the nearer end: the pause after step k rises with k and falls with the steps
    // left after it, and the last step's (none are left) is the first step's.
    const uint64_t fromStart = std::max<uint64_t>(step, 1);
    const uint64_t fromEnd = step < stepCount ? stepCount - step : 1;
    const uint64_t k = std::min(fromStart, fromEnd);
    if (k > ramp.steps) return pauseUs;
    const uint32_t startUs = ClampedUs(ramp.startMs * kUsPerMs);
    if (k == 1) return startUs;
    const double v0 = 1.0 / ramp.startMs;
    const double v1 = 1.0 / fastestMs;
    const double speedSquared = v0 * v0 + (v1 * v1 - v0 * v0) * static_cast<double>(k - 1) / ramp.steps;
    const auto us = static_cast<uint64_t>(std::llround(kUsPerMs / std::sqrt(speedSquared)));
    return ClampedUs(std::clamp<uint64_t>(us, fastestMs * kUsPerMs, startUs));
}

bool StepDeadlines::AwaitStep(PaceEffects& effects, uint32_t pauseAfterUs) {
    if (effects.Stopped()) return false;
    int64_t now = 0;
    if (anchored_) {
        for (;;) {
            now = effects.NowUs();
            const int64_t ask = due_ - now - lateness_;
            if (ask <= 0) break;
            const WaitEnd end = effects.Wait(ask);
            if (end == WaitEnd::TooShort) break;
            if (end == WaitEnd::Elapsed) LearnLateness(effects.NowUs() - now - ask);
            if (effects.Stopped()) return false;
        }
    }
    if (pauseAfterUs == 0) {
        anchored_ = false;
        return true;
    }
    if (!anchored_) {
        now = effects.NowUs();
        due_ = now;
    } else if (now - due_ >= static_cast<int64_t>(pauseAfterUs)) {
        // The next step would be late too: the line goes on from this step's time.
        due_ = now;
    }
    due_ += pauseAfterUs;
    anchored_ = true;
    return true;
}

void StepDeadlines::LearnLateness(int64_t lateUs) {
    if (lateUs > kMaxWaitLatenessUs) return;
    // A running mean over the last few waits; a wait that ended early counts too (a host that
    // rounds its waits ends some early, some late).
    lateness_ = std::clamp<int64_t>(lateness_ + (lateUs - lateness_) / 4, 0, kMaxWaitLatenessUs);
}

}  // namespace motion
