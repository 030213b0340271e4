#pragma once
// Readable failure messages for the motion records in host and Windows tests.

#include "app/motion/line_plan.h"
#include "app/motion/motion_state.h"

#include <ostream>

namespace motion {

inline void PrintTo(const MotionRegisters& r, std::ostream* os) {
    *os << "{X " << r.prevX << "->" << r.curX << ", Y " << r.prevY << "->" << r.curY << ", Z "
        << r.prevZ << "->" << r.curZ << ", e=" << r.executeFlag << ", p=" << r.stepDelay << "}";
}

inline void PrintTo(const MachinePosition& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

inline void PrintTo(const LinePlan& p, std::ostream* os) {
    *os << "{dx " << p.deltaX << ", dy " << p.deltaY << ", code " << p.direction << ", minor "
        << p.minorSteps << ", q " << p.majorPerMinor << ", r " << p.remainder << "}";
}

}  // namespace motion
