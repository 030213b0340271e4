#pragma once
// The simulator's command line. Platform-free.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simulator {

struct Options {
    std::string line;                  // the line's device or file; empty: standard input
    std::optional<uint16_t> httpPort;  // serve the live view on 127.0.0.1 (0: any free port)
    std::string portFile;              // where to write the port actually served
    uint32_t baud = 0;                 // read no faster than an 8N1 line at this speed (0: no limit)
    std::optional<uint64_t> closeAfter;  // close the line after this many bytes
    std::string log;                   // step log file
    std::string svg;                   // path pictures written at the end
    std::string png;
};

struct ParsedOptions {
    Options options;
    bool help = false;
    std::string error;  // names the switch at fault; empty when the command line is good
};

ParsedOptions ParseOptions(const std::vector<std::string_view>& args);

extern const char kUsage[];

}  // namespace simulator
