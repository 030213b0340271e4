// The line planner and the order of its steps.
#include "app/motion/line_plan.h"
#include "tests/motion/motion_test_print.h"
#include "tests/support/impossible_states.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using motion::LinePlan;
using motion::MotionRegisters;
using motion::StepOutput;

MotionRegisters Line(uint32_t prevX, uint32_t curX, uint32_t prevY, uint32_t curY) {
    return MotionRegisters{prevX, curX, prevY, curY, 0, 0, 1, 0};
}

// The step bytes of a plan, as they go to the serial port.
std::string StepBytes(const LinePlan& plan) {
    std::string bytes;
    motion::StepSequence steps(plan);
    StepOutput step{};
    while (steps.Next(step)) bytes += motion::InfoOf(step).byte;
    return bytes;
}

struct PlanCase {
    MotionRegisters line;
    LinePlan plan;
    const char* bytes;
};

TEST(LinePlan, DirectionsQuotientsAndStepBytes) {
    const PlanCase cases[] = {
        // Every direction code, each with a 2:1 ratio.
        {Line(0, 4, 0, 2), {4, 2, 1, 2, 2, 0}, "BBDBBD"},
        {Line(0, 2, 0, 4), {2, 4, 2, 2, 2, 0}, "DDBDDB"},
        {Line(0, 4, 4, 2), {4, 2, 3, 2, 2, 0}, "BBCBBC"},
        {Line(0, 2, 4, 0), {2, 4, 4, 2, 2, 0}, "CCBCCB"},
        {Line(4, 0, 0, 2), {4, 2, 5, 2, 2, 0}, "AADAAD"},
        {Line(2, 0, 0, 4), {2, 4, 6, 2, 2, 0}, "DDADDA"},
        {Line(4, 0, 2, 0), {4, 2, 7, 2, 2, 0}, "AACAAC"},
        {Line(2, 0, 4, 0), {2, 4, 8, 2, 2, 0}, "CCACCA"},
        {Line(0, 6, 0, 3), {6, 3, 1, 3, 2, 0}, "BBDBBDBBD"},
        // Ties go to Y.
        {Line(0, 5, 0, 5), {5, 5, 2, 5, 1, 0}, "DBDBDBDBDB"},
        {Line(3, 0, 3, 0), {3, 3, 8, 3, 1, 0}, "CACACA"},
        // Remainders: one extra major step in `remainder` cycles, spread over the line.
        {Line(0, 10, 0, 3), {10, 3, 1, 3, 3, 1}, "BBBDBBBBDBBBD"},
        {Line(0, 3, 0, 10), {3, 10, 2, 3, 3, 1}, "DDDBDDDDBDDDB"},
        {Line(0, 7, 0, 4), {7, 4, 1, 4, 1, 3}, "BBDBBDBDBBD"},
        {Line(10, 8, 10, 3), {2, 7, 8, 2, 3, 1}, "CCCCACCCA"},
        // One axis only, and no move at all.
        {Line(0, 3, 0, 0), {3, 0, 3, 0, 3, 0}, "BBB"},
        {Line(5, 2, 7, 7), {3, 0, 7, 0, 3, 0}, "AAA"},
        {Line(0, 0, 0, 2), {0, 2, 6, 0, 2, 0}, "DD"},
        {Line(9, 9, 4, 1), {0, 3, 8, 0, 3, 0}, "CCC"},
        {Line(12, 12, 30, 30), {0, 0, 8, 0, 0, 0}, ""},
        // Negative values compare as unsigned: -10 to -7 is three steps forward.
        {Line(0xFFFFFFF6u, 0xFFFFFFF9u, 0, 1), {3, 1, 1, 1, 3, 0}, "BBBD"},
    };
    for (const auto& c : cases) {
        const LinePlan plan = motion::ComputeLinePlan(c.line);
        SCOPED_TRACE(testing::PrintToString(c.line));
        EXPECT_EQ(plan, c.plan);
        EXPECT_TRUE(motion::IsWithinReach(plan)) << testing::PrintToString(plan);
        EXPECT_EQ(StepBytes(plan), c.bytes);
    }
}

TEST(LinePlan, DisplacementsOf2To31StepsAreOutOfReach) {
    struct ReachCase {
        MotionRegisters line;
        bool withinReach;
    };
    const ReachCase cases[] = {
        {Line(0, 0x7FFFFFFFu, 0, 0), true},
        {Line(0, 0, 0x7FFFFFFFu, 0), true},
        {Line(0, 0x80000000u, 0, 0), false},
        {Line(0, 0, 0x80000000u, 0), false},
        {Line(0, 0xFFFFFFFFu, 0, 1), false},  // target -1 from 0
        {Line(5, 0, 0, 0xFFFFFFF9u), false},  // target Y -7
        {Line(0xFFFFFFFFu, 0, 0, 0), false},  // from -1 back to 0 goes the long way
        {Line(0xFFFFFFF6u, 0xFFFFFFF9u, 0xFFFFFFFFu, 0xFFFFFFF0u), true},
    };
    for (const auto& c : cases) {
        const LinePlan plan = motion::ComputeLinePlan(c.line);
        EXPECT_EQ(motion::IsWithinReach(plan), c.withinReach)
            << testing::PrintToString(c.line) << " planned as " << testing::PrintToString(plan);
    }
}

std::vector<StepOutput> StepsOf(const LinePlan& plan) {
    std::vector<StepOutput> all;
    motion::StepSequence steps(plan);
    StepOutput step{};
    while (steps.Next(step)) all.push_back(step);
    return all;
}

// Checks the shape of the steps of a line:
//  - it ends at the target, with exactly the major and minor displacements;
//  - it uses only the direction's major and minor outputs;
//  - every cycle is `q` or `q + 1` major steps followed by one minor step;
//  - while the machine is in minor row b (between its b-th and (b+1)-th minor step), the ideal
//    line crosses that row between major positions b*D/m and (b+1)*D/m; the major position
//    stays less than one step outside that stretch.
// Returns the first fault found, or "" when the line is sound.
std::string CheckLineShape(const LinePlan& plan, const std::vector<StepOutput>& steps) {
    const motion::DirectionInfo& dir = motion::DirectionOf(plan);
    const uint64_t major = dir.xMajor ? plan.deltaX : plan.deltaY;
    const uint64_t minor = dir.xMajor ? plan.deltaY : plan.deltaX;
    uint64_t a = 0;  // major steps made
    uint64_t b = 0;  // minor steps made
    uint64_t run = 0;
    uint64_t longRuns = 0;
    auto where = [&] { return " at major " + std::to_string(a) + ", minor " + std::to_string(b); };
    for (const StepOutput step : steps) {
        if (step == dir.majorStep) {
            ++a;
            ++run;
        } else if (step == dir.minorStep) {
            if (run != plan.majorPerMinor && run != plan.majorPerMinor + 1ull)
                return "cycle of " + std::to_string(run) + " major steps" + where();
            if (run == plan.majorPerMinor + 1ull) ++longRuns;
            run = 0;
            ++b;
        } else {
            return "foreign step output" + where();
        }
        if (a > major || b > minor) return "overshoot" + where();
        // In integers: b*D - m < a*m < (b+1)*D + m.
        if (minor > 0 && (a * minor + minor <= b * major || a * minor >= (b + 1) * major + minor))
            return "position a step or more off the line" + where();
    }
    if (a != major || b != minor) return "line ends early" + where();
    if (minor > 0 && longRuns != plan.remainder)
        return std::to_string(longRuns) + " cycles with an extra step, remainder " +
               std::to_string(plan.remainder);
    return "";
}

// A line stopped after its first `made` steps leaves the machine at the start moved by them.
// A direction code outside 1..8 cannot come from the planner. Test builds hear of it; in the
// product nothing is heard, and either way such a plan is out of reach and gives no step.
TEST(LinePlan, ADirectionOutsideTheTableIsReportedAndStepsNothing) {
    for (const bool listening : {true, false}) {
        for (const uint32_t direction : {0u, 9u, 0xFFFFFFFFu}) {
            SCOPED_TRACE(testing::Message() << (listening ? "test build" : "product") << ", direction " << direction);
            const testsupport::ImpossibleStates states(listening);
            const auto& heard = testsupport::ImpossibleStates::Heard();
            const LinePlan plan{5, 3, direction, 3, 1, 2};
            EXPECT_FALSE(motion::IsWithinReach(plan));
            EXPECT_EQ(StepBytes(plan), "") << "steps of a plan without a direction";
            EXPECT_EQ(&motion::DirectionOf(plan), &motion::kDirections.back());
            ASSERT_EQ(heard.size(), listening ? 2u : 0u) << "reports heard";
            for (const auto& state : heard) EXPECT_EQ(state.condition, "!HasDirection(plan)");
        }
    }
}

TEST(StepTally, PositionReachedByTheStepsMade) {
    const struct {
        MotionRegisters line;
        int made;
        uint32_t x;
        uint32_t y;
    } cases[] = {
        {Line(3, 53, 0, 0), 0, 3, 0},                // stopped before the first step
        {Line(0, 4, 0, 2), 3, 2, 1},                 // "BBD"
        {Line(10, 8, 10, 3), 5, 9, 6},               // "CCCCA"
        {Line(0, 6, 0, 3), 9, 6, 3},                 // every step: the target
        {Line(2, 0, 1, 0), 2, 0, 1},                 // "AA" of "AAC"
        {Line(0, 0xFFFFFFFFu, 0, 0), 0, 0, 0},       // out of reach, never started
        {Line(1, 0, 0, 0), 1, 0, 0},                 // one step back
    };
    for (const auto& c : cases) {
        const LinePlan plan = motion::ComputeLinePlan(c.line);
        motion::StepSequence steps(plan);
        motion::StepTally tally;
        StepOutput step{};
        for (int i = 0; i < c.made && steps.Next(step); ++i) tally.Count(step);
        EXPECT_EQ(tally.ReachedX(c.line.prevX), c.x) << testing::PrintToString(c.line) << " after " << c.made;
        EXPECT_EQ(tally.ReachedY(c.line.prevY), c.y) << testing::PrintToString(c.line) << " after " << c.made;
    }
}

TEST(StepSequence, EveryLineUpTo40By40StaysOnItsLine) {
    for (uint32_t dx = 0; dx <= 40; ++dx) {
        for (uint32_t dy = 0; dy <= 40; ++dy) {
            // All four quadrants, starting from 100, 100.
            const MotionRegisters lines[] = {
                Line(100, 100 + dx, 100, 100 + dy), Line(100, 100 + dx, 100, 100 - dy),
                Line(100, 100 - dx, 100, 100 + dy), Line(100, 100 - dx, 100, 100 - dy)};
            for (const auto& line : lines) {
                const LinePlan plan = motion::ComputeLinePlan(line);
                EXPECT_EQ(CheckLineShape(plan, StepsOf(plan)), "") << testing::PrintToString(plan);
            }
        }
    }
}

TEST(StepSequence, LongLinesStayOnTheirLine) {
    const MotionRegisters lines[] = {
        Line(0, 1000000, 0, 999999), Line(0, 1000003, 0, 17),      Line(0, 7890, 0, 123457),
        Line(0, 999983, 0, 2),       Line(2000000, 0, 0, 1999999), Line(0, 65536, 0, 65535),
        Line(0, 3, 0, 2000000),
    };
    for (const auto& line : lines) {
        const LinePlan plan = motion::ComputeLinePlan(line);
        EXPECT_EQ(CheckLineShape(plan, StepsOf(plan)), "") << testing::PrintToString(plan);
    }
}

// The shape check must catch what other rules for the extra steps would give.
TEST(StepSequence, ShapeCheckRejectsBadlyPlacedSteps) {
    const LinePlan plan = motion::ComputeLinePlan(Line(0, 15, 0, 10));
    ASSERT_EQ(plan, (LinePlan{15, 10, 1, 10, 1, 5}));
    struct BadLine {
        const char* bytes;
        const char* fault;
    };
    const BadLine bad[] = {
        {"BBDBBDBBDBBDBBDBDBDBDBDBD", "position a step or more off the line"},  // first cycles
        {"BDBDBDBDBDBBDBBDBBDBBDBBD", "position a step or more off the line"},  // last cycles
        {"DBBDBBDBBDBBDBBDBDBDBDBDB", "cycle of 0 major steps"},
        {"BBDBDBBDBDBBDBDBBDBDBBD", "line ends early"},
        {"BBDBDBBDBDBBDBDBBDBDBBDBDA", "foreign step output"},
    };
    for (const auto& line : bad) {
        std::vector<StepOutput> steps;
        for (const char byte : std::string(line.bytes)) {
            for (std::size_t i = 0; i < motion::kStepOutputs.size(); ++i)
                if (motion::kStepOutputs[i].byte == byte) steps.push_back(StepOutput(i));
        }
        EXPECT_EQ(CheckLineShape(plan, steps).rfind(line.fault, 0), 0u)
            << line.bytes << " gave \"" << CheckLineShape(plan, steps) << "\"";
    }
    EXPECT_EQ(CheckLineShape(plan, StepsOf(plan)), "");
}

}  // namespace
