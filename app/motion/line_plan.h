#pragma once
// Planning a straight X/Y line and the order of its steps. Platform-free.

#include "app/motion/motion_state.h"

#include <array>
#include <cstdint>

namespace motion {

// The four step outputs: one step of one motor in one direction each.
enum class StepOutput : uint8_t { XPlus, XMinus, YPlus, YMinus };

struct StepOutputInfo {
    char byte;             // sent on the serial port
    uint32_t debugNumber;  // shown in the step's debug box
};

// Indexed by StepOutput.
inline constexpr std::array<StepOutputInfo, 4> kStepOutputs = {{
    {'B', 0},  // XPlus
    {'A', 1},  // XMinus
    {'D', 2},  // YPlus
    {'C', 3},  // YMinus
}};

constexpr const StepOutputInfo& InfoOf(StepOutput step) {
    return kStepOutputs[static_cast<std::size_t>(step)];
}

struct DirectionInfo {
    bool xPositive;
    bool yPositive;
    bool xMajor;
    StepOutput majorStep;
    StepOutput minorStep;
};

// Direction codes 1 to 8 (index code - 1). The major axis is the one with the larger
// displacement, Y on a tie.
inline constexpr std::array<DirectionInfo, 8> kDirections = {{
    {true, true, true, StepOutput::XPlus, StepOutput::YPlus},      // 1
    {true, true, false, StepOutput::YPlus, StepOutput::XPlus},     // 2
    {true, false, true, StepOutput::XPlus, StepOutput::YMinus},    // 3
    {true, false, false, StepOutput::YMinus, StepOutput::XPlus},   // 4
    {false, true, true, StepOutput::XMinus, StepOutput::YPlus},    // 5
    {false, true, false, StepOutput::YPlus, StepOutput::XMinus},   // 6
    {false, false, true, StepOutput::XMinus, StepOutput::YMinus},  // 7
    {false, false, false, StepOutput::YMinus, StepOutput::XMinus}, // 8
}};

// The plan of one line.
struct LinePlan {
    uint32_t deltaX;         // absolute X displacement
    uint32_t deltaY;         // absolute Y displacement
    uint32_t direction;      // 1 to 8, see kDirections
    uint32_t minorSteps;     // minor displacement = number of cycles
    uint32_t majorPerMinor;  // major div minor; the whole major displacement when minor is 0
    uint32_t remainder;      // major mod minor; 0 when minor is 0

    friend bool operator==(const LinePlan&, const LinePlan&) = default;
};
static_assert(sizeof(LinePlan) == 24, "six 32-bit fields");

// Displacements of 2^31 steps or more come from negative or out-of-range targets read as
// unsigned numbers; such a line would drive a motor for days into its end stop.
inline constexpr uint32_t kMaxDisplacement = 0x7FFFFFFFu;

// Plans the line from (prevX, prevY) to (curX, curY), comparing and subtracting unsigned.
LinePlan ComputeLinePlan(const MotionRegisters& registers);

// Whether a plan may be stepped: both displacements below 2^31 and a valid direction.
bool IsWithinReach(const LinePlan& plan);

// The steps a plan makes, on both axes together (below 2^32 for a plan within reach).
constexpr uint32_t StepCount(const LinePlan& plan) {
    return plan.deltaX + plan.deltaY;
}

// The direction of a plan. A code outside 1..8 cannot come from ComputeLinePlan: it is
// reported (ReportIf) and reads as the last direction.
const DirectionInfo& DirectionOf(const LinePlan& plan);

// The steps a line has made on each output, so that a line stopped part way leaves the axis
// registers where the machine really is.
class StepTally {
public:
    void Count(StepOutput step) { ++made_[static_cast<std::size_t>(step)]; }
    uint32_t Made(StepOutput step) const { return made_[static_cast<std::size_t>(step)]; }
    uint32_t Total() const { return made_[0] + made_[1] + made_[2] + made_[3]; }
    // The X and Y positions reached from (startX, startY), modulo 2^32 like the registers.
    uint32_t ReachedX(uint32_t startX) const {
        return startX + Made(StepOutput::XPlus) - Made(StepOutput::XMinus);
    }
    uint32_t ReachedY(uint32_t startY) const {
        return startY + Made(StepOutput::YPlus) - Made(StepOutput::YMinus);
    }

private:
    std::array<uint32_t, 4> made_{};
};

// The steps of a plan, one at a time: `minorSteps` cycles of `majorPerMinor` major steps,
// one more major step in `remainder` of them, and one minor step. The extra steps are spread
// evenly (rounded Bresenham), so the position never strays a whole step from the ideal line.
// Works on its own copy of the plan; needs no memory however long the line is. A plan whose
// direction code is outside 1..8 is reported (ReportIf) and gives no step.
class StepSequence {
public:
    explicit StepSequence(const LinePlan& plan);

    // Gives the next step; false when the line is complete.
    bool Next(StepOutput& step);

private:
    void BeginCycle();

    StepOutput major_;
    StepOutput minor_;
    uint64_t majorPerMinor_;
    uint64_t cyclesLeft_;
    uint64_t majorLeft_;   // major steps left in the current cycle
    bool minorPending_;    // the current cycle's minor step is still to come
    uint64_t extraStride_;  // 2 * remainder
    uint64_t extraLimit_;   // 2 * minorSteps
    uint64_t extraError_;   // starts at minorSteps: rounding to the nearest step
};

}  // namespace motion
