#pragma once
// The process-wide state of motion control, as plain records. Platform-free.

#include <cstdint>

namespace motion {

// Axis registers, execute flag and step delay. All start at 0 and keep their values from one
// request to the next. Values are the 32-bit patterns that ParseDecimal returns; the planner
// reads the axis registers as unsigned numbers.
struct MotionRegisters {
    uint32_t prevX = 0;
    uint32_t curX = 0;
    uint32_t prevY = 0;
    uint32_t curY = 0;
    uint32_t prevZ = 0;
    uint32_t curZ = 0;
    uint32_t executeFlag = 0;  // non-zero: step the line when the request line ends
    uint32_t stepDelay = 0;    // milliseconds slept after every step and after a "p=" token

    friend bool operator==(const MotionRegisters&, const MotionRegisters&) = default;
};
static_assert(sizeof(MotionRegisters) == 32, "eight 32-bit registers");

// The area a line's target must stay in when limits are set: 0..xMax by 0..yMax, compared as
// unsigned numbers, so a negative target is outside.
struct LineLimits {
    bool active = false;
    uint32_t xMax = 0;
    uint32_t yMax = 0;

    constexpr bool Contains(uint32_t x, uint32_t y) const { return !active || (x <= xMax && y <= yMax); }
};

// Where the machine stands: the end of the last line stepped (or where a stopped line left
// it), or the position the operator declared, whichever came last; (0, 0) at start. The axis
// registers may say otherwise: a request that does not execute shifts them without moving
// anything.
struct MachinePosition {
    uint32_t x = 0;
    uint32_t y = 0;

    friend bool operator==(const MachinePosition&, const MachinePosition&) = default;
};

// Where the machine stands after a request that stepped nothing. An axis whose two values agree
// is a position the operator declares ("e=0&X0&Y0" sent twice): the machine stands there now.
// An axis whose values differ holds a line still to be stepped (a value recorded once) and
// declares nothing.
constexpr MachinePosition DeclaredPosition(const MotionRegisters& r, MachinePosition standing) {
    if (r.prevX == r.curX) standing.x = r.curX;
    if (r.prevY == r.curY) standing.y = r.curY;
    return standing;
}

// The opt-in speed ramp at both ends of every line: from one step per startMs up to the line's
// own pace over its first `steps` steps, and back down over its last ones.
struct StepRamp {
    bool active = false;
    uint32_t startMs = 0;
    uint32_t steps = 0;
};

// How lines are stepped, fixed at start-up from the program's switches. The defaults are the
// program as it always ran.
struct MotionSettings {
    bool stepBoxes = true;  // an "nDebug" box before every step
    uint32_t baud = 0;      // on connect: this speed and 8N1; 0 leaves the line settings alone
    LineLimits limits;
    StepRamp ramp;
};

}  // namespace motion
