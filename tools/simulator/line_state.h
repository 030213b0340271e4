#pragma once
// What the simulator knows, shared by the thread that reads the line and the threads that
// serve the live view: the tool path, the line's state and the step log, under one lock.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "tools/simulator/tool_path.h"

namespace simulator {

enum class LineStatus { Open, Ended, Closed };  // Ended: the far end went; Closed: by us

class LineState {
public:
    LineState() = default;
    ~LineState();
    LineState(const LineState&) = delete;
    LineState& operator=(const LineState&) = delete;

    // Opens the step log (one line per byte); false when it cannot be written.
    bool OpenLog(const std::string& path);

    // Takes bytes that arrived at `timeUs`; returns the byte count so far.
    uint64_t Feed(std::string_view bytes, int64_t timeUs);
    void Reset(Point start);
    void SetStatus(LineStatus status);

    // A new value of the tool (the output hook's), taking effect behind every step byte that
    // reached the line before it: the reader applies it once the line is quiet (see
    // ToolChangePending), and this returns then. A line that stays busy longer than `limit`
    // gets it at once; so does a line that has ended.
    void ChangeTool(uint32_t value, std::chrono::milliseconds limit);
    // Whether a tool change waits for the line to be quiet.
    bool ToolChangePending() const;
    // The reader: nothing has arrived for a while, so every byte written before the change has
    // been taken.
    void ApplyPendingTool();

    // The state as one JSON object (see the README of the simulator's folder).
    std::string Json() const;
    // Pictures of the path; `limit` thins the SVG's vertices (0: all).
    std::string Svg(std::size_t limit = 0) const;
    std::string Png() const;
    Point Position() const;

private:
    void ApplyPendingToolLocked();

    mutable std::mutex lock_;
    std::condition_variable toolApplied_;
    std::optional<uint32_t> pendingTool_;
    ToolPath path_;
    LineStatus status_ = LineStatus::Open;
    uint64_t version_ = 0;  // grows with every change, so a viewer knows when to redraw
    std::FILE* log_ = nullptr;
};

const char* NameOf(LineStatus status);

}  // namespace simulator
