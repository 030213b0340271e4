#pragma once
// The machine as the serial line drives it: one byte per motor step ("A" X-, "B" X+, "C" Y-,
// "D" Y+), the position it reaches, and the tool path as the corners it turned, in runs of the
// tool's state (the program's output hook tells it). Platform-free.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace simulator {

struct Point {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// One motor step of one axis, as a line byte names it.
enum class Step : uint8_t { XMinus, XPlus, YMinus, YPlus };

// The step a line byte stands for; none for any other byte.
std::optional<Step> StepOfByte(uint8_t byte);

// What the line has carried so far.
struct LineCounts {
    uint64_t bytes = 0;                 // every byte, steps or not
    uint64_t steps = 0;                 // bytes "A" to "D"
    std::array<uint64_t, 4> byStep{};   // indexed by Step
    uint64_t otherBytes = 0;            // bytes that are no step
    int64_t firstByteUs = 0;            // wall-clock time of the first byte (0: none yet)
    int64_t lastByteUs = 0;             // wall-clock time of the last byte (0: none yet)
};

// A stretch of the path made with the tool in one state: from vertex `first` of the path's
// vertices to the next run's first vertex (the last run: to the path's end). `cut`: the tool
// was on (a non-zero value), or its state not known; otherwise the moves are travel.
struct PathRun {
    std::size_t first = 0;
    bool cut = true;
    friend bool operator==(const PathRun&, const PathRun&) = default;
};

// The path as its pictures draw it: the vertices in order, and the runs over them.
struct PathPicture {
    std::vector<Point> vertices;
    std::vector<PathRun> runs;
};

class ToolPath {
public:
    // Past this many corners the path keeps its end point only: a picture of the path, not a
    // record of every step (the step log has those).
    static constexpr std::size_t kMaxCorners = 2'000'000;

    ToolPath() { Reset({}); }

    // Takes one line byte received at `timeUs` (microseconds of wall-clock time).
    // Returns the step it made, if any.
    std::optional<Step> Feed(uint8_t byte, int64_t timeUs);
    // Starts again at `start`: no steps, no bytes, a path of one point. The tool keeps its state.
    void Reset(Point start);
    // The tool's new value: the moves from here on are the cut (non-zero) or travel (0). The
    // point where it changed is a vertex of the path.
    void SetTool(uint32_t value);
    // The tool's last value; none before the first.
    std::optional<uint32_t> Tool() const { return tool_; }

    const Point& Position() const { return position_; }
    const LineCounts& Counts() const { return counts_; }
    // The path: the start, every corner (a point where the direction of travel changed) and
    // the position.
    std::vector<Point> Vertices() const;
    std::size_t VertexCount() const { return corners_.size() + (corners_.back() == position_ ? 0 : 1); }
    PathPicture Picture() const { return {Vertices(), runs_}; }
    bool Truncated() const { return truncated_; }

private:
    Point position_;
    std::vector<Point> corners_;  // the start and the corners, without the position
    std::vector<PathRun> runs_;   // never empty; each starts at a corner
    std::optional<uint32_t> tool_;
    std::optional<Step> lastStep_;
    LineCounts counts_;
    bool truncated_ = false;
};

}  // namespace simulator
