#include "tools/simulator/simulator_options.h"

#include <limits>

namespace simulator {

const char kUsage[] =
    "usage: mt-simulator [--line PATH] [--http PORT] [--port-file FILE] [--baud N]\n"
    "                    [--close-after N] [--log FILE] [--svg FILE] [--png FILE]\n"
    "  --line PATH       read step bytes from PATH (a pseudo-terminal end); default stdin\n"
    "  --http PORT       serve the live view and the state on 127.0.0.1:PORT (0: any free\n"
    "                    port); keeps serving after the line ends, until SIGINT or SIGTERM\n"
    "  --port-file FILE  write the served port number to FILE\n"
    "  --baud N          read no faster than an 8N1 line at N baud carries bytes (N/10 a second)\n"
    "  --close-after N   close the line after N bytes\n"
    "  --log FILE        one line per byte: number, byte, X, Y, time in microseconds\n"
    "  --svg FILE, --png FILE  pictures of the tool path, written at the end\n";

namespace {

// Decimal digits only, within `max`.
std::optional<uint64_t> Number(std::string_view text, uint64_t max) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (max - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string_view>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            parsed.help = true;
            continue;
        }
        const bool known = name == "--line" || name == "--http" || name == "--port-file" ||
                           name == "--baud" || name == "--close-after" || name == "--log" ||
                           name == "--svg" || name == "--png";
        if (!known) {
            parsed.error = "unknown option " + std::string(name);
            return parsed;
        }
        if (i + 1 >= args.size()) {
            parsed.error = std::string(name) + " needs a value";
            return parsed;
        }
        const std::string_view value = args[++i];
        const auto bad = [&] {
            parsed.error = "bad value for " + std::string(name) + ": " + std::string(value);
            return parsed;
        };
        if (name == "--http") {
            const auto port = Number(value, std::numeric_limits<uint16_t>::max());
            if (!port) return bad();
            o.httpPort = static_cast<uint16_t>(*port);
        } else if (name == "--baud") {
            // 50 baud is the slowest line there is; 4 Mbaud more than any serial adapter.
            const auto baud = Number(value, 4'000'000);
            if (!baud || *baud < 50) return bad();
            o.baud = static_cast<uint32_t>(*baud);
        } else if (name == "--close-after") {
            const auto count = Number(value, std::numeric_limits<uint64_t>::max());
            if (!count) return bad();
            o.closeAfter = *count;
        } else {
            if (value.empty()) return bad();
            std::string& target = name == "--line"        ? o.line
                                  : name == "--port-file" ? o.portFile
                                  : name == "--log"       ? o.log
                                  : name == "--svg"       ? o.svg
                                                          : o.png;
            target = std::string(value);
        }
    }
    if (o.line == "-") o.line.clear();
    return parsed;
}

}  // namespace simulator
