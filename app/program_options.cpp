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
    "  --ramp START_MS,STEPS  (1-10000, 1-100000)";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Hands out the blank-separated arguments one at a time.
class ArgumentReader {
public:
    explicit ArgumentReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& argument) {
        while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
        if (rest_.empty()) return false;
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

// Four dotted decimal parts of 0 to 255, in host byte order.
bool ReadAddress(std::string_view text, std::uint32_t& out) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        const bool last = part == 3;
        if (last != (dot == std::string_view::npos)) return false;
        const std::string_view digits = text.substr(0, dot);
        std::uint32_t value = 0;
        if (digits.size() > 3 || !ReadNumber(digits, 0, 255, value)) return false;
        address = (address << 8) | value;
        text.remove_prefix(last ? text.size() : dot + 1);
    }
    out = address;
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

enum class Switch : std::uint8_t { Port, Bind, NoStepBoxes, Baud, Limits, Backlog, Ramp, Count };

struct SwitchInfo {
    std::string_view name;
    bool takesValue;
};

constexpr SwitchInfo kSwitches[] = {
    {"--port", true}, {"--bind", true}, {"--no-step-boxes", false}, {"--baud", true}, {"--limits", true},
    {"--backlog", true}, {"--ramp", true},
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
    case Switch::Bind: return ReadAddress(value, options.bindAddress);
    case Switch::Baud: return ReadNumber(value, kMinBaud, kMaxBaud, options.baud);
    case Switch::Limits:
        options.limited = ReadPair(value, {0, kMaxLimit}, options.xMax, {0, kMaxLimit}, options.yMax);
        return options.limited;
    case Switch::Backlog: return ReadNumber(value, kMinBacklog, kMaxBacklog, options.backlog);
    case Switch::Ramp:
        options.ramped = ReadPair(value, {kMinRampStartMs, kMaxRampStartMs}, options.rampStartMs,
                                  {kMinRampSteps, kMaxRampSteps}, options.rampSteps);
        return options.ramped;
    case Switch::NoStepBoxes:
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
        if (which == Switch::NoStepBoxes) {
            result.options.stepBoxes = false;
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

}  // namespace app
