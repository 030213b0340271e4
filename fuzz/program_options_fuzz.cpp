// The command line's switches and their numbers over arbitrary text: an accepted command line
// holds values within their ranges and reads the same when written out again; a refused one
// names an argument taken from the command line itself, and its box text always fits.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/program_options.h"
#include "fuzz/allow_list_text.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string CommandLineOf(const app::ProgramOptions& options) {
    std::string line = "--port " + std::to_string(options.port);
    const std::uint32_t a = options.bindAddress;
    line += " --bind " + std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." +
            std::to_string((a >> 8) & 255) + "." + std::to_string(a & 255);
    if (!options.stepBoxes) line += " --no-step-boxes";
    if (options.baud != 0) line += " --baud " + std::to_string(options.baud);
    if (options.limited) {
        line += " --limits " + std::to_string(options.xMax) + "," + std::to_string(options.yMax);
    }
    if (options.backlog != web::kDefaultBacklog) {
        line += " --backlog " + std::to_string(options.backlog);
    }
    if (options.operatorApi) line += " --api";
    // A value read from quotes holds no quote; one read without them holds no blank.
    if (!options.hookLibrary.empty()) {
        const bool quoted = options.hookLibrary.find('"') == std::string_view::npos;
        line += " --hook " + std::string(quoted ? "\"" : "") + std::string(options.hookLibrary) + (quoted ? "\"" : "");
    }
    if (options.allow.count != 0) line += " --allow " + AllowListText(options.allow);
    if (options.ramped) {
        line += " --ramp " + std::to_string(options.rampStartMs) + "," + std::to_string(options.rampSteps);
    }
    return line;
}

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() ||
           (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view arguments(reinterpret_cast<const char*>(data), size);
    const app::OptionsResult result = app::ParseProgramOptions(arguments);

    char box[160];
    const std::size_t written = app::FormatOptionsRefusal(result, box);
    FUZZ_CHECK(written < sizeof box && box[written] == '\0', "%zu bytes written", written);

    if (result.error != app::OptionsError::None) {
        FUZZ_CHECK(Inside(result.argument, arguments) && Inside(result.value, arguments),
                   "the refused argument is not a part of the command line");
        return 0;
    }
    const app::ProgramOptions& options = result.options;
    FUZZ_CHECK(options.port >= 1, "port %u", options.port);
    FUZZ_CHECK(options.baud == 0 || (options.baud >= app::kMinBaud && options.baud <= app::kMaxBaud),
               "baud %u", options.baud);
    FUZZ_CHECK(!options.limited || (options.xMax <= app::kMaxLimit && options.yMax <= app::kMaxLimit),
               "limits %u,%u", options.xMax, options.yMax);
    FUZZ_CHECK(options.backlog >= app::kMinBacklog && options.backlog <= app::kMaxBacklog,
               "backlog %u", options.backlog);
    FUZZ_CHECK(!options.ramped || (options.rampStartMs >= app::kMinRampStartMs && options.rampStartMs <= app::kMaxRampStartMs &&
                                   options.rampSteps >= app::kMinRampSteps && options.rampSteps <= app::kMaxRampSteps),
               "ramp %u,%u", options.rampStartMs, options.rampSteps);

    const std::string again = CommandLineOf(options);
    const app::OptionsResult reread = app::ParseProgramOptions(again);
    FUZZ_CHECK(reread.error == app::OptionsError::None && reread.options == options,
               "\"%s\" does not read back as what it was written from", again.c_str());
    return 0;
}
