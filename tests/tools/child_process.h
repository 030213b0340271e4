#pragma once
// A program run by a host test: its own process, its output gathered in a file, always ended
// (and reaped) by the time the object goes. Every wait is bounded.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace testtools {

class ChildProcess {
public:
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` with `args`; standard input reads `input` (then its end), or nothing.
    bool Start(const std::string& program, const std::vector<std::string>& args,
               const std::optional<std::string>& input = std::nullopt);
    bool Running();
    // The exit code; 128 + the signal when a signal ended it; -1 when it is still running
    // after `limit` (it is then killed).
    int Wait(std::chrono::milliseconds limit);
    // SIGTERM, then SIGKILL after 5 s; the exit code as Wait gives it.
    int Stop();
    // What it wrote on standard output and standard error so far.
    std::string Output() const;

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string outputPath_;
};

}  // namespace testtools
