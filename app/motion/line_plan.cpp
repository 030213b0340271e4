#include "app/motion/line_plan.h"

#include "runtime/base/report_if.h"

namespace motion {

namespace {

uint32_t DirectionCode(bool xPositive, bool yPositive, bool xMajor) {
    uint32_t code = 0;
    for (std::size_t i = 0; i < kDirections.size() && code == 0; ++i) {
        const DirectionInfo& d = kDirections[i];
        if (d.xPositive == xPositive && d.yPositive == yPositive && d.xMajor == xMajor) {
            code = static_cast<uint32_t>(i + 1);
        }
    }
    // The table holds every combination. Were one missing, code 0 leaves the plan out of
    // reach, so that nothing is stepped.
    ReportIf(code == 0);
    return code;
}

bool HasDirection(const LinePlan& plan) {
    return plan.direction >= 1 && plan.direction <= kDirections.size();
}

}  // namespace

LinePlan ComputeLinePlan(const MotionRegisters& r) {
    LinePlan plan{};
    // Equal values count as negative: a one-axis move along X is code 3 or 7.
    const bool xPositive = r.curX > r.prevX;
    const bool yPositive = r.curY > r.prevY;
    plan.deltaX = xPositive ? r.curX - r.prevX : r.prevX - r.curX;
    plan.deltaY = yPositive ? r.curY - r.prevY : r.prevY - r.curY;
    const bool xMajor = plan.deltaX > plan.deltaY;  // Y on a tie
    const uint32_t major = xMajor ? plan.deltaX : plan.deltaY;
    plan.minorSteps = xMajor ? plan.deltaY : plan.deltaX;
    if (plan.minorSteps == 0) {
        plan.majorPerMinor = major;
        plan.remainder = 0;
    } else {
        plan.majorPerMinor = major / plan.minorSteps;
        plan.remainder = major % plan.minorSteps;
    }
    plan.direction = DirectionCode(xPositive, yPositive, xMajor);
    return plan;
}

bool IsWithinReach(const LinePlan& plan) {
    return plan.deltaX <= kMaxDisplacement && plan.deltaY <= kMaxDisplacement && HasDirection(plan);
}

const DirectionInfo& DirectionOf(const LinePlan& plan) {
    // Only a plan that ComputeLinePlan did not make has another code.
    if (ReportIf(!HasDirection(plan))) return kDirections.back();
    return kDirections[plan.direction - 1];
}

StepSequence::StepSequence(const LinePlan& plan)
    : major_(StepOutput::XPlus),
      minor_(StepOutput::XPlus),
      majorPerMinor_(plan.majorPerMinor),
      cyclesLeft_(plan.minorSteps),
      majorLeft_(0),
      minorPending_(false),
      extraStride_(2ull * plan.remainder),
      extraLimit_(2ull * plan.minorSteps),
      extraError_(plan.minorSteps) {
    // Without a direction no output is known to be right, and a wrong step spoils the work:
    // such a plan has no steps at all.
    if (ReportIf(!HasDirection(plan))) {
        cyclesLeft_ = 0;
        return;
    }
    major_ = kDirections[plan.direction - 1].majorStep;
    minor_ = kDirections[plan.direction - 1].minorStep;
    // A one-axis line has no cycles: only its major steps.
    if (plan.minorSteps == 0) majorLeft_ = plan.majorPerMinor;
}

void StepSequence::BeginCycle() {
    --cyclesLeft_;
    majorLeft_ = majorPerMinor_;
    // After k cycles the extra steps made are round(k * remainder / minorSteps), which keeps
    // the major position within half a step of the ideal line at every cycle's end.
    extraError_ += extraStride_;
    if (extraError_ >= extraLimit_) {
        extraError_ -= extraLimit_;
        ++majorLeft_;
    }
    minorPending_ = true;
}

bool StepSequence::Next(StepOutput& step) {
    for (;;) {
        if (majorLeft_ > 0) {
            --majorLeft_;
            step = major_;
            return true;
        }
        if (minorPending_) {
            minorPending_ = false;
            step = minor_;
            return true;
        }
        if (cyclesLeft_ == 0) return false;
        BeginCycle();
    }
}

}  // namespace motion
