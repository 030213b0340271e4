#include "tools/simulator/tool_path.h"

namespace simulator {

std::optional<Step> StepOfByte(uint8_t byte) {
    switch (byte) {
    case 'A': return Step::XMinus;
    case 'B': return Step::XPlus;
    case 'C': return Step::YMinus;
    case 'D': return Step::YPlus;
    default: return std::nullopt;
    }
}

std::optional<Step> ToolPath::Feed(uint8_t byte, int64_t timeUs) {
    ++counts_.bytes;
    if (counts_.firstByteUs == 0) counts_.firstByteUs = timeUs;
    counts_.lastByteUs = timeUs;
    const std::optional<Step> step = StepOfByte(byte);
    if (!step) {
        ++counts_.otherBytes;
        return std::nullopt;
    }
    // The point before a change of direction is a corner of the path.
    if (lastStep_ && *lastStep_ != *step) {
        if (corners_.size() < kMaxCorners) corners_.push_back(position_);
        else truncated_ = true;
    }
    switch (*step) {
    case Step::XMinus: --position_.x; break;
    case Step::XPlus: ++position_.x; break;
    case Step::YMinus: --position_.y; break;
    case Step::YPlus: ++position_.y; break;
    }
    lastStep_ = step;
    ++counts_.steps;
    ++counts_.byStep[static_cast<std::size_t>(*step)];
    return step;
}

void ToolPath::Reset(Point start) {
    position_ = start;
    corners_.assign(1, start);
    lastStep_.reset();
    counts_ = LineCounts{};
    truncated_ = false;
}

std::vector<Point> ToolPath::Vertices() const {
    std::vector<Point> vertices = corners_;
    if (!(vertices.back() == position_)) vertices.push_back(position_);
    return vertices;
}

}  // namespace simulator
