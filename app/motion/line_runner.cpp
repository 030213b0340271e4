// Planning and stepping a line through the four step outputs.
#include "app/motion/motion.h"

namespace motion {

motion::LinePlan linePlan{};
motion::MachinePosition machinePosition{};

namespace {

// Set while a line is being stepped. Debug boxes dispatch messages, so another movement
// request can arrive mid-line; its steps would interleave with ours on the wire.
bool lineRunning = false;
// Set by a stop during the line; the line ends before its next step.
bool lineStopRequested = false;

}  // namespace

bool LineInProgress() {
    return lineRunning;
}

void RequestLineStop() {
    if (lineRunning) lineStopRequested = true;
}

bool LineStopRequested() {
    return lineStopRequested;
}

bool PlanLine() {
    if (lineRunning) return false;
    // The area is a rectangle: a line whose two ends lie in it stays in it. A start outside it
    // comes from values a request recorded without executing them, not from where the machine
    // stands, and a line from there could be of any length. (A machine that stands outside,
    // the limits set after it got there, may still come back.)
    const motion::LineLimits& limits = motionSettings.limits;
    const bool startsWhereTheMachineStands = motionRegisters.prevX == machinePosition.x &&
                                             motionRegisters.prevY == machinePosition.y;
    const bool startAllowed =
        startsWhereTheMachineStands || limits.Contains(motionRegisters.prevX, motionRegisters.prevY);
    if (!startAllowed || !limits.Contains(motionRegisters.curX, motionRegisters.curY)) return false;
    linePlan = motion::ComputeLinePlan(motionRegisters);
    return RunLineSteps();
}

bool RunLineSteps() {
    if (lineRunning || !motion::IsWithinReach(linePlan)) return false;
    lineRunning = true;
    lineStopRequested = false;
    const uint32_t startX = motionRegisters.prevX;
    const uint32_t startY = motionRegisters.prevY;
    // The sequence holds its own copy of the plan: whatever happens inside a debug box
    // cannot change the line in progress.
    motion::StepSequence steps(linePlan);
    motion::StepTally tally;
    BeginLinePacing(uint64_t{linePlan.deltaX} + linePlan.deltaY);
    motion::StepOutput step{};
    while (!lineStopRequested && steps.Next(step)) {
        if (MakeStep(step)) tally.Count(step);
    }
    EndLinePacing();
    if (lineStopRequested) {
        // The machine stands where the steps made took it, not at the line's target.
        motionRegisters.curX = tally.ReachedX(startX);
        motionRegisters.curY = tally.ReachedY(startY);
    }
    // The line is behind the machine: the next line starts where it stands. Left as they were,
    // the pairs would step this line's displacement again for an axis the next request does
    // not mention, and X and Y would no longer say where the machine is.
    motionRegisters.prevX = motionRegisters.curX;
    motionRegisters.prevY = motionRegisters.curY;
    machinePosition = motion::MachinePosition{motionRegisters.curX, motionRegisters.curY};
    lineRunning = false;
    lineStopRequested = false;
    return true;
}

}  // namespace motion
