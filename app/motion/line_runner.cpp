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

// The line is behind the machine: the next line starts where it stands. Left as they were,
// the pair would step this line's displacement again for an axis the next request does not
// mention, and the axis would no longer say where the machine is. A value that a request
// inside the line's boxes recorded stays: a line still to come, from where this one ended.
void SettleAxis(uint32_t& previous, uint32_t& current, uint32_t target, uint32_t reached) {
    if (current == target) current = reached;
    previous = reached;
}

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
    // that is not where the machine stands comes from a value recorded once without executing
    // it, and a line from there could be of any length. (A machine that stands outside, the
    // limits set after it got there or the operator having declared it there, may come back.)
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
    const uint32_t targetX = motionRegisters.curX;
    const uint32_t targetY = motionRegisters.curY;
    const motion::StepTally& tally = steppedLine.tally;
    // The sequence holds its own copy of the plan: whatever happens inside a debug box
    // cannot change the line in progress.
    motion::StepSequence steps(linePlan);
    BeginLinePacing(steppedLine.total);
    motion::StepOutput step{};
    while (!lineStopRequested && steps.Next(step)) {
        MakeStep(step);  // counts the step once it is made
    }
    EndLinePacing();
    // The machine stands where the steps made took it: the line's target, unless it stopped.
    machinePosition = motion::MachinePosition{tally.ReachedX(startX), tally.ReachedY(startY)};
    SettleAxis(motionRegisters.prevX, motionRegisters.curX, targetX, machinePosition.x);
    SettleAxis(motionRegisters.prevY, motionRegisters.curY, targetY, machinePosition.y);
    lineRunning = false;
    lineStopRequested = false;
    return true;
}

}  // namespace motion
