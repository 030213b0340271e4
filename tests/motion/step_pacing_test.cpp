// The deadlines of a line's steps on a fake clock, and the ramp's pauses.
#include "app/motion/line_plan.h"
#include "app/motion/step_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <vector>

namespace {

using motion::StepRamp;

// A clock that moves only when the line waits or works. A wait lasts what it was asked (in
// whole milliseconds, rounded to the nearest, with `wholeMs`, as the Windows host waits) plus
// `overshoot`; a wait too short to make is not made. A stop at `stopAt` ends the wait that
// spans it there, as "!" pressed during it would.
class FakeEffects final : public motion::PaceEffects {
public:
    int64_t NowUs() override {
        ++clockReads;
        return now;
    }
    motion::WaitEnd Wait(int64_t us) override {
        const int64_t lasts = wholeMs ? (us + 500) / 1000 * 1000 : us;
        // The line should not wait once it is stopped; were it to, the step would go at once.
        if (stopped || lasts < grain) return motion::WaitEnd::TooShort;
        const int64_t start = now;
        now += lasts + overshoot;
        if (stopAt >= 0 && now >= stopAt) {
            now = std::max(stopAt, start);
            stopped = true;
            return motion::WaitEnd::Messages;
        }
        return motion::WaitEnd::Elapsed;
    }
    bool Stopped() override { return stopped; }

    int64_t now = 0;
    int64_t grain = 1;
    bool wholeMs = false;
    int64_t overshoot = 0;
    int64_t stopAt = -1;
    bool stopped = false;
    int clockReads = 0;
};

struct DeadlineCase {
    const char* name;
    std::vector<uint32_t> pausesUs;  // after each step; the last is awaited as the line's end
    std::vector<int64_t> workUs;     // the time each step takes after its wait (its write)
    int64_t overshoot;
    int64_t grain;
    int64_t stopAt;
    std::vector<int64_t> stepAt;  // when each step went (those that went)
    int64_t endAt;                // when the line's end was reached (-1: stopped)
};

TEST(StepDeadlines, StepsGoWhenDueWhateverTheirWritesCost) {
    const DeadlineCase cases[] = {
        {"on time", {5000, 5000, 5000, 5000}, {0, 0, 0, 0}, 0, 1, -1, {0, 5000, 10000, 15000}, 20000},
        {"writes cost a millisecond each: the pace holds",
         {5000, 5000, 5000, 5000}, {1000, 1000, 1000, 1000}, 0, 1, -1, {0, 5000, 10000, 15000}, 20000},
        {"a late step does not shift the later ones",
         {5000, 5000, 5000, 5000}, {0, 8000, 0, 0}, 0, 1, -1, {0, 5000, 13000, 15000}, 20000},
        {"a step later than the next deadline re-anchors the line there, without a burst",
         {5000, 5000, 5000, 5000}, {0, 12000, 0, 0}, 0, 1, -1, {0, 5000, 17000, 22000}, 27000},
        {"a wait too short to make lets the step go early; its deadline stays",
         {5000, 5000, 5000}, {4600, 0, 0}, 0, 500, -1, {0, 4600, 10000}, 15000},
        {"varying pauses add up as they are", {20000, 10000, 2000, 2000}, {0, 0, 0, 0}, 0, 1, -1,
         {0, 20000, 30000, 32000}, 34000},
        {"a stop ends the wait at once", {5000, 5000, 5000, 5000}, {0, 0, 0, 0}, 0, 1, 7000, {0, 5000}, -1},
        {"a pause of 0 waits for nothing", {0, 0, 0}, {300, 300, 300}, 0, 1, -1, {0, 300, 600}, 900},
        {"after a pause of 0 a step anchors the line at its own time", {0, 4000, 4000}, {300, 300, 0}, 0, 1, -1,
         {0, 300, 4300}, 8300},
    };
    for (const DeadlineCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEffects effects;
        effects.overshoot = c.overshoot;
        effects.grain = c.grain;
        effects.stopAt = c.stopAt;
        motion::StepDeadlines deadlines;
        std::vector<int64_t> stepAt;
        int64_t endAt = -1;
        for (std::size_t k = 0; k < c.pausesUs.size(); ++k) {
            if (!deadlines.AwaitStep(effects, c.pausesUs[k])) break;
            stepAt.push_back(effects.now);
            effects.now += c.workUs[k];
        }
        if (stepAt.size() == c.pausesUs.size() && deadlines.AwaitStep(effects, 0)) endAt = effects.now;
        EXPECT_EQ(stepAt, c.stepAt);
        EXPECT_EQ(endAt, c.endAt);
        if (c.stopAt >= 0) {
            EXPECT_EQ(effects.now, c.stopAt) << "the wait went on after the stop";
        }
        // At full speed pacing costs a step nothing, not even a look at the clock.
        if (std::all_of(c.pausesUs.begin(), c.pausesUs.end(), [](uint32_t p) { return p == 0; })) {
            EXPECT_EQ(effects.clockReads, 0);
        }
    }
}

// Waits that end late are asked for less: the steps come back to their deadlines, and at p=1
// on a host that waits whole milliseconds (each 0.7 ms late, each write 0.3 ms) the line keeps
// its pace instead of re-anchoring at step after step (it took twice as long before).
TEST(StepDeadlines, WaitsThatEndLateAreAskedForLess) {
    const struct {
        int64_t overshoot;
        bool wholeMs;
        uint32_t pauseUs;
        int64_t writeUs;
        int steps;
    } cases[] = {
        {700, false, 5000, 0, 50}, {700, true, 1000, 300, 1000}, {1200, true, 1000, 100, 1000}, {900, true, 2000, 300, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "p " << c.pauseUs << " us, waits " << c.overshoot << " us late");
        FakeEffects effects;
        effects.overshoot = c.overshoot;
        effects.wholeMs = c.wholeMs;
        motion::StepDeadlines deadlines;
        for (int k = 0; k < c.steps; ++k) {
            ASSERT_TRUE(deadlines.AwaitStep(effects, c.pauseUs));
            if (k + 1 < c.steps) effects.now += c.writeUs;
        }
        const int64_t span = int64_t{c.steps - 1} * c.pauseUs;
        EXPECT_LE(std::abs(effects.now - span), span / 200) << "the line spanned " << effects.now << " us";
        EXPECT_GT(deadlines.WaitLatenessUs(), 0);
        EXPECT_LE(deadlines.WaitLatenessUs(), motion::StepDeadlines::kMaxWaitLatenessUs);
    }
}

struct RampCase {
    StepRamp ramp;
    uint32_t pauseMs;
    uint64_t steps;
};

// The pauses of a whole line: symmetric, falling to the middle, within START_MS and p (1 ms at
// p=0 while the ramp runs), START_MS after the first and before the last step, p after the
// ramp; the line still makes every step, and spans the sum of its pauses.
TEST(StepRampPauses, RiseAndFallSymmetricallyBetweenStartAndPause) {
    const RampCase cases[] = {
        {{true, 20, 50}, 2, 300},  {{true, 20, 50}, 2, 100}, {{true, 20, 50}, 2, 99},
        {{true, 20, 50}, 2, 60},   {{true, 20, 50}, 2, 2},   {{true, 20, 50}, 2, 1},
        {{true, 10, 5}, 0, 40},    {{true, 10000, 1}, 10, 7}, {{true, 1, 100000}, 0, 50},
        {{true, 5, 3}, 5, 20},     {{true, 3, 3}, 5, 20},    {{true, 100, 1000}, 1, 3000},
    };
    for (const RampCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "--ramp " << c.ramp.startMs << "," << c.ramp.steps << " p=" << c.pauseMs
                                        << ", " << c.steps << " steps");
        const uint32_t pUs = c.pauseMs * 1000;
        const uint32_t fastestUs = std::max<uint32_t>(c.pauseMs, 1) * 1000;
        const bool ramps = c.ramp.startMs * 1000 > fastestUs;
        const uint32_t startUs = ramps ? c.ramp.startMs * 1000 : pUs;
        std::vector<uint32_t> pauses;
        for (uint64_t k = 1; k <= c.steps; ++k) pauses.push_back(motion::PauseAfterStepUs(c.ramp, c.pauseMs, c.steps, k));
        EXPECT_EQ(pauses.back(), startUs) << "after the last step";
        const std::size_t intervals = pauses.size() - 1;
        for (std::size_t j = 0; j < intervals; ++j) {
            const uint64_t k = j + 1;
            const uint64_t fromEnd = std::min<uint64_t>(k, c.steps - k);
            EXPECT_EQ(pauses[j], pauses[intervals - 1 - j]) << "after step " << k << ": not symmetric";
            EXPECT_LE(pauses[j], startUs) << "after step " << k;
            if (fromEnd <= c.ramp.steps && ramps) {
                EXPECT_GE(pauses[j], fastestUs) << "after step " << k;
            } else {
                EXPECT_EQ(pauses[j], pUs) << "after step " << k << ": beyond the ramp";
            }
            if (j > 0 && 2 * k <= c.steps) {
                EXPECT_LE(pauses[j], pauses[j - 1]) << "rising after step " << k;
            }
        }
        if (intervals > 0) {
            EXPECT_EQ(pauses.front(), startUs) << "after the first step";
        }

        // The same pauses pace the whole line on the fake clock: every step is made, and the
        // first and last bytes are the sum of the pauses between them apart.
        const motion::LinePlan plan = motion::ComputeLinePlan({0, static_cast<uint32_t>(c.steps), 0, 0, 0, 0, 1, 0});
        motion::StepSequence sequence(plan);
        FakeEffects effects;
        motion::StepDeadlines deadlines;
        motion::StepOutput step{};
        uint64_t made = 0;
        int64_t first = -1;
        int64_t last = -1;
        while (sequence.Next(step) && deadlines.AwaitStep(effects, pauses[made])) {
            ++made;
            last = effects.now;
            if (first < 0) first = last;
        }
        int64_t span = 0;
        for (std::size_t j = 0; j < intervals; ++j) span += pauses[j];
        EXPECT_EQ(made, c.steps);
        EXPECT_EQ(last - first, span);
    }
}

// Values worked by hand from v_k^2 = v0^2 + (v1^2 - v0^2)(k - 1)/STEPS, to the microsecond.
TEST(StepRampPauses, FollowConstantAcceleration) {
    const struct {
        RampCase line;
        uint64_t step;
        uint32_t pauseUs;
    } cases[] = {
        {{{true, 20, 50}, 2, 300}, 2, 11586},   // 1 / sqrt(1/400 + (1/4 - 1/400) / 50)
        {{{true, 20, 50}, 2, 300}, 26, 2814},
        {{{true, 20, 50}, 2, 300}, 50, 2020},
        {{{true, 20, 50}, 2, 300}, 51, 2000},   // the first pause at full speed
        {{{true, 20, 50}, 2, 300}, 250, 2020},  // falling: 50 steps before the end
        {{{true, 20, 50}, 2, 300}, 299, 20000},
        {{{true, 20, 50}, 2, 60}, 30, 2617},    // a short line peaks at its middle
        {{{true, 10, 5}, 0, 40}, 5, 1117},      // at p=0 the ramp runs towards 1 ms ...
        {{{true, 10, 5}, 0, 40}, 6, 0},         // ... and then there is no pause
        {{{false, 20, 50}, 2, 300}, 1, 2000},   // no ramp
    };
    for (const auto& c : cases) {
        EXPECT_EQ(motion::PauseAfterStepUs(c.line.ramp, c.line.pauseMs, c.line.steps, c.step), c.pauseUs)
            << "--ramp " << c.line.ramp.startMs << "," << c.line.ramp.steps << " p=" << c.line.pauseMs << ", step "
            << c.step << " of " << c.line.steps;
    }
}

}  // namespace
