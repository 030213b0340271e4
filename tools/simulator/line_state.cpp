#include "tools/simulator/line_state.h"

#include <cinttypes>

#include "tools/simulator/path_picture.h"

namespace simulator {

const char* NameOf(LineStatus status) {
    switch (status) {
    case LineStatus::Open: return "open";
    case LineStatus::Ended: return "ended";
    case LineStatus::Closed: return "closed";
    }
    return "open";
}

LineState::~LineState() {
    if (log_ != nullptr) std::fclose(log_);
}

bool LineState::OpenLog(const std::string& path) {
    std::lock_guard<std::mutex> hold(lock_);
    log_ = std::fopen(path.c_str(), "w");
    if (log_ == nullptr) return false;
    std::fputs("# byte-number byte x y time-us\n", log_);
    return true;
}

uint64_t LineState::Feed(std::string_view bytes, int64_t timeUs) {
    std::lock_guard<std::mutex> hold(lock_);
    for (char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        const bool step = path_.Feed(byte, timeUs).has_value();
        if (log_ == nullptr) continue;
        const Point& p = path_.Position();
        if (step) {
            std::fprintf(log_, "%" PRIu64 " %c %" PRId64 " %" PRId64 " %" PRId64 "\n", path_.Counts().bytes,
                         c, p.x, p.y, timeUs);
        } else {
            std::fprintf(log_, "%" PRIu64 " 0x%02x - - %" PRId64 "\n", path_.Counts().bytes, byte, timeUs);
        }
    }
    if (log_ != nullptr) std::fflush(log_);
    ++version_;
    return path_.Counts().bytes;
}

void LineState::Reset(Point start) {
    std::lock_guard<std::mutex> hold(lock_);
    path_.Reset(start);
    ++version_;
    if (log_ != nullptr) {
        std::fprintf(log_, "# reset %" PRId64 " %" PRId64 "\n", start.x, start.y);
        std::fflush(log_);
    }
}

void LineState::SetStatus(LineStatus status) {
    std::lock_guard<std::mutex> hold(lock_);
    status_ = status;
    ++version_;
    // No byte comes any more: a change waiting for the line takes effect now.
    if (status_ != LineStatus::Open) ApplyPendingToolLocked();
}

void LineState::ChangeTool(uint32_t value, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> hold(lock_);
    // One change at a time, in the order they came.
    toolApplied_.wait_for(hold, limit, [this] { return !pendingTool_; });
    pendingTool_ = value;
    if (status_ != LineStatus::Open ||
        !toolApplied_.wait_for(hold, limit, [this] { return !pendingTool_; })) {
        ApplyPendingToolLocked();
    }
}

bool LineState::ToolChangePending() const {
    std::lock_guard<std::mutex> hold(lock_);
    return pendingTool_.has_value();
}

void LineState::ApplyPendingTool() {
    std::lock_guard<std::mutex> hold(lock_);
    ApplyPendingToolLocked();
}

void LineState::ApplyPendingToolLocked() {
    if (!pendingTool_) return;
    path_.SetTool(*pendingTool_);
    if (log_ != nullptr) {
        std::fprintf(log_, "# tool %u\n", *pendingTool_);
        std::fflush(log_);
    }
    pendingTool_.reset();
    ++version_;
    toolApplied_.notify_all();
}

std::string LineState::Json() const {
    std::lock_guard<std::mutex> hold(lock_);
    const LineCounts& n = path_.Counts();
    const Point& p = path_.Position();
    const std::optional<uint32_t> tool = path_.Tool();
    const std::string toolText = tool ? std::to_string(*tool) : "null";
    char json[768];
    std::snprintf(json, sizeof json,
                  "{\"x\":%" PRId64 ",\"y\":%" PRId64 ",\"steps\":%" PRIu64 ",\"bytes\":%" PRIu64
                  ",\"other_bytes\":%" PRIu64 ",\"by_byte\":{\"A\":%" PRIu64 ",\"B\":%" PRIu64
                  ",\"C\":%" PRIu64 ",\"D\":%" PRIu64 "},\"first_byte_us\":%" PRId64
                  ",\"last_byte_us\":%" PRId64 ",\"vertices\":%zu,\"line\":\"%s\",\"tool\":%s,"
                  "\"version\":%" PRIu64 "}",
                  p.x, p.y, n.steps, n.bytes, n.otherBytes, n.byStep[0], n.byStep[1], n.byStep[2],
                  n.byStep[3], n.firstByteUs, n.lastByteUs, path_.VertexCount(), NameOf(status_),
                  toolText.c_str(), version_);
    return json;
}

std::string LineState::Svg(std::size_t limit) const {
    std::lock_guard<std::mutex> hold(lock_);
    return PathSvg(Thinned(path_.Picture(), limit));
}

std::string LineState::Png() const {
    std::lock_guard<std::mutex> hold(lock_);
    return PathPng(path_.Picture(), path_.Counts().steps);
}


Point LineState::Position() const {
    std::lock_guard<std::mutex> hold(lock_);
    return path_.Position();
}

}  // namespace simulator
