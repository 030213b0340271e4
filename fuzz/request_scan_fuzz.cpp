// The token scan of a movement request over arbitrary bytes: it reads nothing behind the
// request (the address sanitizer sees a copy of exactly its size), never sleeps longer than the
// step delay allows, runs a line only at a CR, and nothing behind the line's CR changes what it
// does. A planned line from the scanned registers stays within the planner's reach or is
// refused.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "app/motion/line_plan.h"
#include "app/motion/motion_scan.h"
#include "app/request_buffer.h"
#include "fuzz/fuzz_check.h"

namespace {

// Any field numbers: the scan only hands them back.
constexpr motion::DisplayFields kFields{1, 2, 3, 4, 5};

class CountingEffects final : public motion::ScanEffects {
public:
    void ShowValue(int32_t field, uint32_t value) override {
        trace += "s" + std::to_string(field) + ":" + std::to_string(value) + ";";
    }
    void Pause(uint32_t milliseconds) override {
        FUZZ_CHECK(motion::IsAcceptableDelay(milliseconds), "a pause of %u ms", milliseconds);
        trace += "p" + std::to_string(milliseconds) + ";";
    }
    std::string trace;
};

struct ScanRun {
    motion::MotionRegisters registers;
    motion::ScanResult result{};
    std::string trace;
};

ScanRun Scan(std::string_view bytes, const motion::MotionRegisters& start) {
    // A heap block of exactly the request's size: one byte read too far is an error.
    const std::unique_ptr<char[]> copy(new char[bytes.size() + (bytes.empty() ? 1 : 0)]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    ScanRun run;
    run.registers = start;
    CountingEffects effects;
    run.result = motion::ScanRequestLine({copy.get(), bytes.size()}, kFields, run.registers, effects);
    run.trace = std::move(effects.trace);
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > app::kRequestBufferSize) return 0;
    const std::string_view request(reinterpret_cast<const char*>(data), size);
    const motion::MotionRegisters start{};
    const ScanRun whole = Scan(request, start);
    FUZZ_CHECK(!whole.result.runLine || whole.result.reachedLineEnd, "a line run without a CR");
    FUZZ_CHECK(motion::IsAcceptableDelay(whole.registers.stepDelay), "delay %u",
               whole.registers.stepDelay);

    // The first byte is never examined, so a CR there ends nothing.
    const std::size_t lineEnd = request.find('\r', 1);
    if (lineEnd != std::string_view::npos) {
        const ScanRun line = Scan(request.substr(0, lineEnd + 1), start);
        FUZZ_CHECK(line.registers == whole.registers && line.trace == whole.trace &&
                       line.result.runLine == whole.result.runLine,
                   "bytes behind the CR changed the scan: [%s] against [%s]", line.trace.c_str(),
                   whole.trace.c_str());
    }
    const motion::LinePlan plan = motion::ComputeLinePlan(whole.registers);
    if (motion::IsWithinReach(plan)) {
        FUZZ_CHECK(plan.direction >= 1 && plan.direction <= 8, "direction %u", plan.direction);
        const motion::DirectionInfo& direction = motion::DirectionOf(plan);
        const std::uint64_t major = direction.xMajor ? plan.deltaX : plan.deltaY;
        const std::uint64_t minor = direction.xMajor ? plan.deltaY : plan.deltaX;
        FUZZ_CHECK(minor <= major, "minor %llu above major %llu",
                   static_cast<unsigned long long>(minor), static_cast<unsigned long long>(major));
        FUZZ_CHECK(plan.minorSteps == minor, "%u cycles for a minor displacement of %llu",
                   plan.minorSteps, static_cast<unsigned long long>(minor));
    }
    return 0;
}
