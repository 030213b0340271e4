#pragma once
// The program's opt-in command-line switches. Platform-free: the start-up reads the arguments
// through ParseProgramOptions and only carries the result out.
//
//   --port N             listen on TCP port N (1 to 65535) instead of 80
//   --bind ADDR          listen on one IPv4 address only (for instance 127.0.0.1)
//   --no-step-boxes      step without the "nDebug" box before every step
//   --baud N             on connect, set the serial line to N baud, 8N1
//   --limits XMAX,YMAX   refuse a line whose target leaves 0..XMAX x 0..YMAX
//   --backlog N          let the system queue N connections not yet accepted (default 5)
//   --api                answer the operator API's /pos and /halt
//   --hook DLL           drive the output port through the Out32 of this port-access library
//   --allow NETS         serve only peers of these IPv4 networks (ADDR[/BITS],...)
//   --ramp START_MS,STEPS  start and end every line at one step per START_MS, the speed
//                        rising to the line's own over its first STEPS steps and falling
//                        back over its last
//
// A value with blanks in it (a library's path) is given in double quotes.
// Without switches the program runs exactly as it always did.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "app/web/allow_list.h"
#include "app/web/listen_defaults.h"

namespace app {

struct ProgramOptions {
    std::uint16_t port = web::kHttpPort;
    std::uint32_t bindAddress = 0;  // host byte order; 0 is every address
    bool stepBoxes = true;
    std::uint32_t baud = 0;         // 0: the port's line settings are left as they are
    bool limited = false;
    std::uint32_t xMax = 0;
    std::uint32_t yMax = 0;
    std::uint32_t backlog = web::kDefaultBacklog;  // connections the system queues before the accept
    bool operatorApi = false;       // /pos and /halt are answered
    std::string_view hookLibrary{}; // the port-access library (a view into the arguments); empty: none
    web::AllowList allow{};         // empty: every peer is served
    bool ramped = false;
    std::uint32_t rampStartMs = 0;
    std::uint32_t rampSteps = 0;

    friend bool operator==(const ProgramOptions&, const ProgramOptions&) = default;
};

// The range of --baud.
inline constexpr std::uint32_t kMinBaud = 50;
inline constexpr std::uint32_t kMaxBaud = 4000000;
// The range of --backlog (without it, web::kDefaultBacklog). Bursts of connections beyond the
// backlog wait for the peer's retransmission (a second or more), so a server that many
// browsers or pre-connections reach at once wants more.
inline constexpr std::uint32_t kMinBacklog = 1;
inline constexpr std::uint32_t kMaxBacklog = 4096;
// The ranges of --ramp's two values.
inline constexpr std::uint32_t kMinRampStartMs = 1;
inline constexpr std::uint32_t kMaxRampStartMs = 10000;
inline constexpr std::uint32_t kMinRampSteps = 1;
inline constexpr std::uint32_t kMaxRampSteps = 100000;
// The largest --limits value: a line may not be longer than the planner's reach anyway.
inline constexpr std::uint32_t kMaxLimit = 0x7FFFFFFFu;

enum class OptionsError : std::uint8_t {
    None,
    Unknown,       // not a switch of the program
    MissingValue,  // a switch that takes a value came last
    BadValue,      // its value is malformed or out of range
    Repeated,      // given twice
};

struct OptionsResult {
    ProgramOptions options;
    OptionsError error = OptionsError::None;
    std::string_view argument;  // the refused switch, a view into the arguments
    std::string_view value;     // its refused value (BadValue only)
};

// Reads the arguments (the command line less the program's name), separated by blanks or
// tabs. The first refused argument ends the reading.
OptionsResult ParseProgramOptions(std::string_view arguments);

// The exit code of a program whose command line was refused.
inline constexpr int kRefusedCommandLineExitCode = 2;

// The refusal box's text: what was refused, and the switches the program accepts. Written
// NUL-terminated and cut to `text`; returns the bytes before the NUL.
std::size_t FormatOptionsRefusal(const OptionsResult& refused, std::span<char> text);

// Why the library of --hook was refused.
enum class HookRefusal : std::uint8_t {
    NotLoaded,  // the system could not load it (`error`: its error number)
    NoOut32,    // it exports no routine named exactly "Out32"
};

// The system's error numbers the refusal names in words.
inline constexpr int kErrorModuleNotFound = 126;  // ERROR_MOD_NOT_FOUND
inline constexpr int kErrorBadFormat = 193;       // ERROR_BAD_EXE_FORMAT: not a 32-bit library

// The refusal box's text for the library of --hook: the library and the reason. Written as
// FormatOptionsRefusal writes.
std::size_t FormatHookRefusal(std::string_view library, HookRefusal refusal, int error,
                              std::span<char> text);

}  // namespace app
