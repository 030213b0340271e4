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

// The line in progress, or the last one stepped: where it started, the steps it made, and the
// steps it planned. Read by the operator API while the line steps.
struct SteppedLine {
    uint32_t startX = 0;
    uint32_t startY = 0;
    motion::StepTally tally;
    uint32_t total = 0;
};
constinit SteppedLine steppedLine{};

constinit StopHandler stopHandler = nullptr;

}  // namespace

void SetStopHandler(StopHandler handler) {
    stopHandler = handler;
}

void AnnounceStop() {
    if (stopHandler != nullptr) stopHandler();
}

void CountStepMade(motion::StepOutput step) {
    if (lineRunning) steppedLine.tally.Count(step);
}

LineProgress CurrentLineProgress() {
    return LineProgress{steppedLine.tally.Total(), steppedLine.total};
}

motion::MachinePosition CurrentPosition() {
    if (!lineRunning) return machinePosition;
    return motion::MachinePosition{steppedLine.tally.ReachedX(steppedLine.startX),
                                   steppedLine.tally.ReachedY(steppedLine.startY)};
}

bool LineInProgress() {
    return lineRunning;
}

void RequestLineStop() {
    if (!lineRunning || lineStopRequested) return;
    lineStopRequested = true;
    AnnounceStop();
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
    steppedLine = SteppedLine{motionRegisters.prevX, motionRegisters.prevY, {}, motion::StepCount(linePlan)};
    const uint32_t startX = steppedLine.startX;
    const uint32_t startY = steppedLine.startY;
    const motion::StepTally& tally = steppedLine.tally;
    // The sequence holds its own copy of the plan: whatever happens inside a debug box
    // cannot change the line in progress.
    motion::StepSequence steps(linePlan);
    motion::StepOutput step{};
    while (!lineStopRequested && steps.Next(step)) {
        MakeStep(step);  // counts the step once it is made
    }
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
