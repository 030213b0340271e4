#include "app/program_options.h"

#include "app/bounded_text.h"

namespace app {

namespace {

constexpr std::string_view kUsage =
    "Optiuni acceptate:\r\n"
    "  --port N  (1-65535)\r\n"
    "  --bind ADRESA  (de ex. 127.0.0.1)\r\n"
    "  --no-step-boxes\r\n"
    "  --baud N\r\n"
    "  --limits XMAX,YMAX\r\n"
    "  --backlog N  (1-4096)\r\n"
    "  --api\r\n"
    "  --hook BIBLIOTECA.dll\r\n"
    "  --allow ADRESA[/BITI][,...]\r\n"
    "  --ramp START_MS,STEPS  (1-10000, 1-100000)";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Hands out the blank-separated arguments one at a time. An argument that opens with a double
// quote runs to the next one (or to the end), blanks and all, without its quotes: the way a
// path with blanks is given on a Windows command line.
class ArgumentReader {
public:
    explicit ArgumentReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& argument) {
        while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
        if (rest_.empty()) return false;
        if (rest_.front() == '"') {
            rest_.remove_prefix(1);
            const std::size_t close = rest_.find('"');
            argument = rest_.substr(0, close);
            rest_.remove_prefix(close == std::string_view::npos ? rest_.size() : close + 1);
            return true;
        }
        std::size_t end = 0;
        while (end < rest_.size() && !IsBlank(rest_[end])) ++end;
        argument = rest_.substr(0, end);
        rest_.remove_prefix(end);
        return true;
    }

private:
    std::string_view rest_;
};

// A decimal number of digits "0" to "9" only, within [low, high].
bool ReadNumber(std::string_view text, std::uint32_t low, std::uint32_t high, std::uint32_t& out) {
    if (text.empty() || text.size() > 10) return false;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value < low || value > high) return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

struct Range {
    std::uint32_t low;
    std::uint32_t high;
};

// Two numbers "A,B", each within its range.
bool ReadPair(std::string_view text, Range firstRange, std::uint32_t& first, Range secondRange, std::uint32_t& second) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return false;
    return ReadNumber(text.substr(0, comma), firstRange.low, firstRange.high, first) &&
           ReadNumber(text.substr(comma + 1), secondRange.low, secondRange.high, second);
}

enum class Switch : std::uint8_t { Port, Bind, NoStepBoxes, Baud, Limits, Backlog, Api, Hook, Allow, Ramp, Count };

struct SwitchInfo {
    std::string_view name;
    bool takesValue;
};

constexpr SwitchInfo kSwitches[] = {
    {"--port", true}, {"--bind", true}, {"--no-step-boxes", false}, {"--baud", true}, {"--limits", true},
    {"--backlog", true}, {"--api", false}, {"--hook", true}, {"--allow", true}, {"--ramp", true},
};
static_assert(std::size(kSwitches) == static_cast<std::size_t>(Switch::Count));

bool FindSwitch(std::string_view name, Switch& found) {
    for (std::size_t i = 0; i < std::size(kSwitches); ++i) {
        if (kSwitches[i].name == name) {
            found = static_cast<Switch>(i);
            return true;
        }
    }
    return false;
}

bool ApplyValue(Switch which, std::string_view value, ProgramOptions& options) {
    switch (which) {
    case Switch::Port: {
        std::uint32_t port = 0;
        if (!ReadNumber(value, 1, 65535, port)) return false;
        options.port = static_cast<std::uint16_t>(port);
        return true;
    }
    case Switch::Bind: return web::ParseIpv4Address(value, options.bindAddress);
    case Switch::Baud: return ReadNumber(value, kMinBaud, kMaxBaud, options.baud);
    case Switch::Limits:
        options.limited = ReadPair(value, {0, kMaxLimit}, options.xMax, {0, kMaxLimit}, options.yMax);
        return options.limited;
    case Switch::Backlog: return ReadNumber(value, kMinBacklog, kMaxBacklog, options.backlog);
    case Switch::Hook:
        // Whether it is a library with an Out32 only the system can tell, at start-up.
        options.hookLibrary = value;
        return !value.empty();
    case Switch::Allow: return web::ParseAllowList(value, options.allow);
    case Switch::Ramp:
        options.ramped = ReadPair(value, {kMinRampStartMs, kMaxRampStartMs}, options.rampStartMs,
                                  {kMinRampSteps, kMaxRampSteps}, options.rampSteps);
        return options.ramped;
    case Switch::NoStepBoxes:
    case Switch::Api:
    case Switch::Count: break;
    }
    return false;
}

OptionsResult Refuse(OptionsResult result, OptionsError error, std::string_view argument,
                     std::string_view value = {}) {
    result.error = error;
    result.argument = argument;
    result.value = value;
    return result;
}

}  // namespace

OptionsResult ParseProgramOptions(std::string_view arguments) {
    OptionsResult result;
    ArgumentReader reader(arguments);
    bool seen[static_cast<std::size_t>(Switch::Count)] = {};
    std::string_view argument;
    while (reader.Next(argument)) {
        Switch which{};
        if (!FindSwitch(argument, which)) return Refuse(result, OptionsError::Unknown, argument);
        bool& given = seen[static_cast<std::size_t>(which)];
        if (given) return Refuse(result, OptionsError::Repeated, argument);
        given = true;
        if (!kSwitches[static_cast<std::size_t>(which)].takesValue) {
            if (which == Switch::NoStepBoxes) result.options.stepBoxes = false;
            if (which == Switch::Api) result.options.operatorApi = true;
            continue;
        }
        std::string_view value;
        if (!reader.Next(value)) return Refuse(result, OptionsError::MissingValue, argument);
        if (!ApplyValue(which, value, result.options)) {
            return Refuse(result, OptionsError::BadValue, argument, value);
        }
    }
    return result;
}

std::size_t FormatOptionsRefusal(const OptionsResult& refused, std::span<char> text) {
    BoundedText out(text);
    switch (refused.error) {
    case OptionsError::None: break;
    case OptionsError::Unknown: out << "Optiune necunoscuta: " << refused.argument; break;
    case OptionsError::MissingValue: out << "Lipseste valoarea pentru " << refused.argument; break;
    case OptionsError::BadValue:
        out << "Valoare gresita pentru " << refused.argument << ": " << refused.value;
        break;
    case OptionsError::Repeated: out << "Optiune data de doua ori: " << refused.argument; break;
    }
    out << "\r\n\r\n" << kUsage;
    return out.length();
}

std::size_t FormatHookRefusal(std::string_view library, HookRefusal refusal, int error,
                              std::span<char> text) {
    BoundedText out(text);
    if (refusal == HookRefusal::NoOut32) {
        out << "Biblioteca pentru --hook nu are functia Out32: " << library;
        return out.length();
    }
    switch (error) {
    case kErrorModuleNotFound: out << "Nu exista biblioteca pentru --hook: "; break;
    case kErrorBadFormat: out << "Biblioteca pentru --hook nu este una Windows pe 32 de biti: "; break;
    default: out << "Nu s-a putut incarca biblioteca pentru --hook: "; break;
    }
    out << library << "\r\n(eroare " << static_cast<std::uint32_t>(error) << ")";
    return out.length();
}

}  // namespace app
