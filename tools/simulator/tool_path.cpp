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
    runs_.assign(1, PathRun{0, !tool_ || *tool_ != 0});
    lastStep_.reset();
    counts_ = LineCounts{};
    truncated_ = false;
}

void ToolPath::SetTool(uint32_t value) {
    tool_ = value;
    const bool cut = value != 0;
    if (runs_.back().cut == cut) return;
    if (!(corners_.back() == position_)) {
        if (corners_.size() >= kMaxCorners) {
            truncated_ = true;
            return;
        }
        corners_.push_back(position_);
        // The point is a vertex already: the next step's turn adds none there.
        lastStep_.reset();
    }
    const std::size_t at = corners_.size() - 1;
    if (runs_.back().first != at) {
        runs_.push_back(PathRun{at, cut});
        return;
    }
    // No move since the last change: that run has none of its own and takes the new state.
    runs_.back().cut = cut;
    if (runs_.size() > 1 && runs_[runs_.size() - 2].cut == cut) runs_.pop_back();
}

std::vector<Point> ToolPath::Vertices() const {
    std::vector<Point> vertices = corners_;
    if (!(vertices.back() == position_)) vertices.push_back(position_);
    return vertices;
}

}  // namespace simulator
