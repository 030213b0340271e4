// The program's command-line switches: each one, values at their edges, unknown, malformed
// and repeated switches, and the text of the refusal box.
#include "app/program_options.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

namespace app {

void PrintTo(const ProgramOptions& o, std::ostream* os) {
    *os << "{port " << o.port << ", bind " << o.bindAddress << ", boxes " << o.stepBoxes << ", baud "
        << o.baud << ", limits " << (o.limited ? "" : "off ") << o.xMax << "," << o.yMax
        << ", backlog " << o.backlog << ", api " << o.operatorApi << ", hook \"" << o.hookLibrary
        << "\", allow " << o.allow.count << " entries, ramp " << (o.ramped ? "" : "off ") << o.rampStartMs << ","
        << o.rampSteps << "}";
}

}  // namespace app

namespace {

using app::OptionsError;
using app::ProgramOptions;

constexpr ProgramOptions kDefault{};

ProgramOptions With(void (*change)(ProgramOptions&)) {
    ProgramOptions options;
    change(options);
    return options;
}

struct Case {
    const char* arguments;
    OptionsError error;
    const char* argument;  // the refused switch ("" when accepted)
    const char* value;     // the refused value
    ProgramOptions options;  // compared when accepted
};

TEST(ProgramOptions, EachSwitchWithItsValuesAtTheEdges) {
    const Case cases[] = {
        {"", OptionsError::None, "", "", kDefault},
        {" \t ", OptionsError::None, "", "", kDefault},
        {"--port 1", OptionsError::None, "", "", With([](ProgramOptions& o) { o.port = 1; })},
        {"--port 65535", OptionsError::None, "", "", With([](ProgramOptions& o) { o.port = 65535; })},
        {"--port 08080", OptionsError::None, "", "", With([](ProgramOptions& o) { o.port = 8080; })},
        {"--bind 127.0.0.1", OptionsError::None, "", "", With([](ProgramOptions& o) { o.bindAddress = 0x7F000001; })},
        {"--bind 255.255.255.255", OptionsError::None, "", "",
         With([](ProgramOptions& o) { o.bindAddress = 0xFFFFFFFF; })},
        {"--bind 0.0.0.0", OptionsError::None, "", "", kDefault},
        {"--no-step-boxes", OptionsError::None, "", "", With([](ProgramOptions& o) { o.stepBoxes = false; })},
        {"--baud 50", OptionsError::None, "", "", With([](ProgramOptions& o) { o.baud = 50; })},
        {"--baud 4000000", OptionsError::None, "", "", With([](ProgramOptions& o) { o.baud = 4000000; })},
        {"--limits 0,0", OptionsError::None, "", "", With([](ProgramOptions& o) { o.limited = true; })},
        {"--limits 2147483647,5", OptionsError::None, "", "", With([](ProgramOptions& o) {
             o.limited = true;
             o.xMax = 2147483647;
             o.yMax = 5;
         })},
        {"--backlog 1", OptionsError::None, "", "", With([](ProgramOptions& o) { o.backlog = 1; })},
        {"--backlog 4096", OptionsError::None, "", "", With([](ProgramOptions& o) { o.backlog = 4096; })},
        {"--ramp 1,1", OptionsError::None, "", "", With([](ProgramOptions& o) {
             o.ramped = true;
             o.rampStartMs = 1;
             o.rampSteps = 1;
         })},
        {"--ramp 10000,100000", OptionsError::None, "", "", With([](ProgramOptions& o) {
             o.ramped = true;
             o.rampStartMs = 10000;
             o.rampSteps = 100000;
         })},
        {"\t--port 8080  --bind 127.0.0.1 --no-step-boxes --baud 9600 --limits 100,200 ", OptionsError::None,
         "", "", ProgramOptions{8080, 0x7F000001, false, 9600, true, 100, 200}},
        {"--api", OptionsError::None, "", "", With([](ProgramOptions& o) { o.operatorApi = true; })},
        {"--hook inpout32.dll", OptionsError::None, "", "", With([](ProgramOptions& o) { o.hookLibrary = "inpout32.dll"; })},
        // A value in double quotes keeps its blanks; the quotes are not part of it.
        {"--hook \"C:\\Program Files\\io\\inpout32.dll\" --api", OptionsError::None, "", "",
         With([](ProgramOptions& o) {
             o.hookLibrary = "C:\\Program Files\\io\\inpout32.dll";
             o.operatorApi = true;
         })},
        {"--allow 127.0.0.2,10.0.0.0/8", OptionsError::None, "", "", With([](ProgramOptions& o) {
             o.allow.entries[0] = {0x7F000002, 0xFFFFFFFF};
             o.allow.entries[1] = {0x0A000000, 0xFF000000};
             o.allow.count = 2;
         })},
    };
    for (const Case& c : cases) {
        const app::OptionsResult result = app::ParseProgramOptions(c.arguments);
        EXPECT_EQ(result.error, c.error) << "\"" << c.arguments << "\" refused " << result.argument;
        EXPECT_EQ(result.options, c.options) << "\"" << c.arguments << "\"";
    }
}

TEST(ProgramOptions, UnknownMalformedMissingAndRepeatedSwitchesAreRefused) {
    const Case cases[] = {
        {"--port 0", OptionsError::BadValue, "--port", "0", {}},
        {"--port 65536", OptionsError::BadValue, "--port", "65536", {}},
        {"--port 8o", OptionsError::BadValue, "--port", "8o", {}},
        {"--port -1", OptionsError::BadValue, "--port", "-1", {}},
        {"--port 99999999999", OptionsError::BadValue, "--port", "99999999999", {}},
        {"--port", OptionsError::MissingValue, "--port", "", {}},
        {"--port --bind 127.0.0.1", OptionsError::BadValue, "--port", "--bind", {}},
        {"--bind 256.0.0.1", OptionsError::BadValue, "--bind", "256.0.0.1", {}},
        {"--bind 1.2.3", OptionsError::BadValue, "--bind", "1.2.3", {}},
        {"--bind 1.2.3.4.5", OptionsError::BadValue, "--bind", "1.2.3.4.5", {}},
        {"--bind 1..3.4", OptionsError::BadValue, "--bind", "1..3.4", {}},
        {"--bind 0001.2.3.4", OptionsError::BadValue, "--bind", "0001.2.3.4", {}},
        {"--bind localhost", OptionsError::BadValue, "--bind", "localhost", {}},
        {"--baud 49", OptionsError::BadValue, "--baud", "49", {}},
        {"--baud 4000001", OptionsError::BadValue, "--baud", "4000001", {}},
        {"--baud 9600x", OptionsError::BadValue, "--baud", "9600x", {}},
        {"--limits 2147483648,1", OptionsError::BadValue, "--limits", "2147483648,1", {}},
        {"--limits 100", OptionsError::BadValue, "--limits", "100", {}},
        {"--limits 100,", OptionsError::BadValue, "--limits", "100,", {}},
        {"--limits ,5", OptionsError::BadValue, "--limits", ",5", {}},
        {"--limits 1,2,3", OptionsError::BadValue, "--limits", "1,2,3", {}},
        {"--limits", OptionsError::MissingValue, "--limits", "", {}},
        {"--backlog 0", OptionsError::BadValue, "--backlog", "0", {}},
        {"--backlog 4097", OptionsError::BadValue, "--backlog", "4097", {}},
        {"--backlog", OptionsError::MissingValue, "--backlog", "", {}},
        {"--ramp 0,50", OptionsError::BadValue, "--ramp", "0,50", {}},
        {"--ramp 10001,50", OptionsError::BadValue, "--ramp", "10001,50", {}},
        {"--ramp 20,0", OptionsError::BadValue, "--ramp", "20,0", {}},
        {"--ramp 20,100001", OptionsError::BadValue, "--ramp", "20,100001", {}},
        {"--ramp 20", OptionsError::BadValue, "--ramp", "20", {}},
        {"--ramp 20,50,1", OptionsError::BadValue, "--ramp", "20,50,1", {}},
        {"--ramp -20,50", OptionsError::BadValue, "--ramp", "-20,50", {}},
        {"--ramp", OptionsError::MissingValue, "--ramp", "", {}},
        {"--verbose", OptionsError::Unknown, "--verbose", "", {}},
        {"-port 80", OptionsError::Unknown, "-port", "", {}},
        {"--PORT 80", OptionsError::Unknown, "--PORT", "", {}},
        {"--port=80", OptionsError::Unknown, "--port=80", "", {}},
        {"--port 80 extra", OptionsError::Unknown, "extra", "", {}},
        {"--port 80 --port 81", OptionsError::Repeated, "--port", "", {}},
        {"--no-step-boxes --baud 9600 --no-step-boxes", OptionsError::Repeated, "--no-step-boxes", "", {}},
        {"--api --api", OptionsError::Repeated, "--api", "", {}},
        {"--api 1", OptionsError::Unknown, "1", "", {}},
        {"--hook", OptionsError::MissingValue, "--hook", "", {}},
        {"--hook \"\"", OptionsError::BadValue, "--hook", "", {}},
        {"--hook a.dll --hook b.dll", OptionsError::Repeated, "--hook", "", {}},
        {"--allow 127.0.0.1/33", OptionsError::BadValue, "--allow", "127.0.0.1/33", {}},
        {"--allow 127.0.0.1,", OptionsError::BadValue, "--allow", "127.0.0.1,", {}},
        {"--allow", OptionsError::MissingValue, "--allow", "", {}},
    };
    for (const Case& c : cases) {
        const app::OptionsResult result = app::ParseProgramOptions(c.arguments);
        EXPECT_EQ(result.error, c.error) << "\"" << c.arguments << "\"";
        EXPECT_EQ(result.argument, c.argument) << "\"" << c.arguments << "\"";
        EXPECT_EQ(result.value, c.value) << "\"" << c.arguments << "\"";
    }
}

TEST(ProgramOptions, RefusalNamesWhatWasRefusedAndListsTheSwitches) {
    const std::string usage =
        "\r\n\r\nOptiuni acceptate:\r\n  --port N  (1-65535)\r\n  --bind ADRESA  (de ex. 127.0.0.1)\r\n"
        "  --no-step-boxes\r\n  --baud N\r\n  --limits XMAX,YMAX\r\n  --backlog N  (1-4096)\r\n"
        "  --api\r\n  --hook BIBLIOTECA.dll\r\n  --allow ADRESA[/BITI][,...]\r\n"
        "  --ramp START_MS,STEPS  (1-10000, 1-100000)";
    const struct {
        const char* arguments;
        std::string text;
    } cases[] = {
        {"--verbose", "Optiune necunoscuta: --verbose" + usage},
        {"--baud", "Lipseste valoarea pentru --baud" + usage},
        {"--limits 5", "Valoare gresita pentru --limits: 5" + usage},
        {"--ramp 0,50", "Valoare gresita pentru --ramp: 0,50" + usage},
        {"--bind 1.2.3.4 --bind 1.2.3.4", "Optiune data de doua ori: --bind" + usage},
    };
    for (const auto& c : cases) {
        std::array<char, 512> text{};
        const std::size_t length = app::FormatOptionsRefusal(app::ParseProgramOptions(c.arguments), text);
        EXPECT_EQ(std::string(text.data()), c.text);
        EXPECT_EQ(length, c.text.size()) << c.arguments;
    }
}

TEST(ProgramOptions, HookRefusalNamesTheLibraryAndTheReason) {
    const struct {
        app::HookRefusal refusal;
        int error;
        std::string text;
    } cases[] = {
        {app::HookRefusal::NotLoaded, 126, "Nu exista biblioteca pentru --hook: io.dll\r\n(eroare 126)"},
        {app::HookRefusal::NotLoaded, 193,
         "Biblioteca pentru --hook nu este una Windows pe 32 de biti: io.dll\r\n(eroare 193)"},
        {app::HookRefusal::NotLoaded, 5, "Nu s-a putut incarca biblioteca pentru --hook: io.dll\r\n(eroare 5)"},
        {app::HookRefusal::NoOut32, 0, "Biblioteca pentru --hook nu are functia Out32: io.dll"},
    };
    for (const auto& c : cases) {
        std::array<char, 512> text{};
        EXPECT_EQ(app::FormatHookRefusal("io.dll", c.refusal, c.error, text), c.text.size());
        EXPECT_EQ(std::string(text.data()), c.text);
    }
}

}  // namespace
