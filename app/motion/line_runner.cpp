// Planning and stepping a line through the four step outputs.
#include "app/motion/motion.h"

motion::LinePlan linePlan{};

namespace {

// Set while a line is being stepped. Debug boxes dispatch messages, so another movement
// request can arrive mid-line; its steps would interleave with ours on the wire.
bool lineRunning = false;

void MakeStep(motion::StepOutput step) {
    switch (step) {
    case motion::StepOutput::XPlus: StepXPlus(); break;
    case motion::StepOutput::XMinus: StepXMinus(); break;
    case motion::StepOutput::YPlus: StepYPlus(); break;
    case motion::StepOutput::YMinus: StepYMinus(); break;
    }
}

}  // namespace

bool LineInProgress() {
    return lineRunning;
}

bool PlanLine() {
    if (lineRunning) return false;
    linePlan = motion::ComputeLinePlan(motionRegisters);
    return RunLineSteps();
}

bool RunLineSteps() {
    if (lineRunning || !motion::IsWithinReach(linePlan)) return false;
    lineRunning = true;
    // The sequence holds its own copy of the plan: whatever happens inside a debug box
    // cannot change the line in progress.
    motion::StepSequence steps(linePlan);
    motion::StepOutput step{};
    while (steps.Next(step)) MakeStep(step);
    lineRunning = false;
    return true;
}
