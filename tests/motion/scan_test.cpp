// The token scan of a movement request, driven through a recording host.
#include "app/motion/motion_scan.h"
#include "app/request_buffer.h"
#include "tests/motion/motion_test_print.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using motion::MotionRegisters;

// The fields the scan is handed, as the main form numbers them: the execute flag 1000, the delay
// 1004, X 1008, Y 1007, Z 1006.
constexpr motion::DisplayFields kFields{1000, 1004, 1008, 1007, 1006};

// Records every effect the scan asks for, in order, as "show <field> <value>" and
// "pause <ms>".
class RecordingEffects final : public motion::ScanEffects {
public:
    void ShowValue(int32_t field, uint32_t value) override {
        events.push_back("show " + std::to_string(field) + " " + std::to_string(value));
    }
    void Pause(uint32_t milliseconds) override {
        events.push_back("pause " + std::to_string(milliseconds));
    }
    std::vector<std::string> events;
};

// The request is copied into a heap block of exactly its size, so that a scan reading one
// byte too far is caught by the address sanitizer.
struct ExactBytes {
    explicit ExactBytes(std::string_view text)
        : size(text.size()), bytes(new char[text.size() == 0 ? 1 : text.size()]) {
        std::memcpy(bytes.get(), text.data(), text.size());
    }
    std::string_view view() const { return {bytes.get(), size}; }
    std::size_t size;
    std::unique_ptr<char[]> bytes;
};

struct ScanCase {
    const char* name;
    std::string request;
    MotionRegisters start;
    MotionRegisters expected;
    std::vector<std::string> events;
    bool reachedLineEnd;
    bool runLine;
};

void RunCase(const ScanCase& c) {
    SCOPED_TRACE(c.name);
    MotionRegisters registers = c.start;
    RecordingEffects effects;
    const ExactBytes request(c.request);
    const motion::ScanResult result = motion::ScanRequestLine(request.view(), kFields, registers, effects);
    EXPECT_EQ(registers, c.expected);
    EXPECT_EQ(effects.events, c.events);
    EXPECT_EQ(result.reachedLineEnd, c.reachedLineEnd);
    EXPECT_EQ(result.runLine, c.runLine);
}

TEST(ScanRequestLine, TokensShiftRegistersAndShowTheirValues) {
    const ScanCase cases[] = {
        {"two axes, flag not set", "GET /s?X100&Y50 HTTP/1.1\r\n", {},
         {.curX = 100, .curY = 50}, {"show 1008 100", "show 1007 50"}, true, false},
        {"value bytes are scanned again", "GET /s?X12Y5 HTTP/1.1\r\n", {},
         {.curX = 1615, .curY = 5}, {"show 1008 1615", "show 1007 5"}, true, false},
        {"'=' is worth 13", "GET /s?X=5 HTTP/1.1\r\n", {}, {.curX = 135},
         {"show 1008 135"}, true, false},
        {"minus shows as unsigned", "GET /s?X-7& HTTP/1.1\r\n", {}, {.curX = 4294967289u},
         {"show 1008 4294967289"}, true, false},
        {"two X tokens", "GET /s?X3&X8 HTTP/1.1\r\n", {.curX = 1}, {.prevX = 3, .curX = 8},
         {"show 1008 3", "show 1008 8"}, true, false},
        {"Z is shown in its field", "GET /s?Z9&Z4 HTTP/1.1\r\n", {}, {.prevZ = 9, .curZ = 4},
         {"show 1006 9", "show 1006 4"}, true, false},
        {"an X value beginning with Y", "GET /s?XY5 HTTP/1.1\r\n", {},
         {.curX = 415, .curY = 5}, {"show 1008 415", "show 1007 5"}, true, false},
        {"execute flag runs the line", "GET /s?e=1&X6&Y3 HTTP/1.1\r\n", {},
         {.curX = 6, .curY = 3, .executeFlag = 1},
         {"show 1000 1", "show 1008 6", "show 1007 3"}, true, true},
        {"an e= value beginning with X", "GET /s?e=X2 HTTP/1.1\r\n", {},
         {.curX = 2, .executeFlag = 402}, {"show 1000 402", "show 1008 2"}, true, true},
        {"flag kept from an earlier request", "GET /s?X5 HTTP/1.1\r\n", {.executeFlag = 7},
         {.curX = 5, .executeFlag = 7}, {"show 1008 5"}, true, true},
        {"e=0 still shifts", "GET /s?e=0&X5 HTTP/1.1\r\n", {.curX = 2, .executeFlag = 1},
         {.prevX = 2, .curX = 5}, {"show 1000 0", "show 1008 5"}, true, false},
        {"delay is shown, then slept", "GET /s?p=250&X1 HTTP/1.1\r\n", {},
         {.curX = 1, .stepDelay = 250}, {"show 1004 250", "pause 250", "show 1008 1"}, true,
         false},
        {"largest delay", "GET /s?p=10000 HTTP/1.1\r\n", {},
         {.stepDelay = 10000}, {"show 1004 10000", "pause 10000"}, true, false},
    };
    for (const auto& c : cases) RunCase(c);
}

TEST(ScanRequestLine, OnlyExactTokensOfTheRequestLineCount) {
    const MotionRegisters start{1, 2, 3, 4, 5, 6, 0, 9};
    const ScanCase cases[] = {
        {"lower-case axes and upper-case e/p", "GET /s?x5&y6&z7&E=1&P=8 HTTP/1.1\r\n", start,
         start, {}, true, false},
        {"e and p without '='", "GET /s?e1&p5&pe HTTP/1.1\r\n", start, start, {}, true, false},
        {"'p' then 'e='", "GET /s?pe=1 HTTP/1.1\r\n", start,
         {1, 2, 3, 4, 5, 6, 1, 9}, {"show 1000 1"}, true, true},
        {"headers are not scanned",
         "GET /s?X7 HTTP/1.1\r\nHost: X9\r\nX-A: p=100&e=1\r\n\r\nY4", start,
         {2, 7, 3, 4, 5, 6, 0, 9}, {"show 1008 7"}, true, false},
        {"the first byte is never examined", "X7 \r", start, start, {}, true, false},
        {"a CR as first byte is skipped", "\rX7\r", start, {2, 7, 3, 4, 5, 6, 0, 9},
         {"show 1008 7"}, true, false},
        {"empty request", "", start, start, {}, false, false},
        {"one byte", "\r", start, start, {}, false, false},
    };
    for (const auto& c : cases) RunCase(c);
}

// A refused delay keeps the one in force, shows it again and pauses not at all.
TEST(ScanRequestLine, RefusesDelaysAboveTenSecondsAndWithBit31Set) {
    const ScanCase cases[] = {
        {"10,001 ms", "GET /s?p=10001 HTTP/1.1\r\n", {.stepDelay = 40}, {.stepDelay = 40},
         {"show 1004 40"}, true, false},
        {"20,000 ms", "GET /s?p=20000&X1 HTTP/1.1\r\n", {.stepDelay = 0}, {.curX = 1},
         {"show 1004 0", "show 1008 1"}, true, false},
        {"digits running into letters", "GET /s?p=5abc HTTP/1.1\r\n", {.stepDelay = 9},
         {.stepDelay = 9}, {"show 1004 9"}, true, false},
        {"eleven digits", "GET /s?p=99999999999 HTTP/1.1\r\n", {.stepDelay = 9},
         {.stepDelay = 9}, {"show 1004 9"}, true, false},
        {"-1 would never end", "GET /s?p=-1 HTTP/1.1\r\n", {.stepDelay = 40},
         {.stepDelay = 40}, {"show 1004 40"}, true, false},
        {"2^31", "GET /s?p=2147483648 HTTP/1.1\r\n", {.stepDelay = 7}, {.stepDelay = 7},
         {"show 1004 7"}, true, false},
        {"refused, then accepted", "GET /s?p=-5&p=6 HTTP/1.1\r\n", {.stepDelay = 3},
         {.stepDelay = 6}, {"show 1004 3", "show 1004 6", "pause 6"}, true, false},
    };
    for (const auto& c : cases) RunCase(c);
}

// Bytes that stop before a CR: whatever was read stays and shows, but nothing is run.
TEST(ScanRequestLine, WithoutCarriageReturnKeepsValuesAndRunsNothing) {
    const ScanCase cases[] = {
        {"no CR at all", "GET /s?e=1&X5&Y6 HTTP/1.1", {}, {.curX = 5, .curY = 6, .executeFlag = 1},
         {"show 1000 1", "show 1008 5", "show 1007 6"}, false, false},
        {"value runs into the end", "GET /s?e=1&X12", {}, {.curX = 12, .executeFlag = 1},
         {"show 1000 1", "show 1008 12"}, false, false},
        {"minus at the end", "GET /s?Y-", {.curY = 4}, {.prevY = 4, .curY = 0},
         {"show 1007 0"}, false, false},
        {"p= at the end", "GET /s?p=", {.stepDelay = 5}, {}, {"show 1004 0", "pause 0"}, false,
         false},
        {"e at the end is an ordinary byte", "GET /s?X1&e", {.executeFlag = 1},
         {.curX = 1, .executeFlag = 1}, {"show 1008 1"}, false, false},
    };
    for (const auto& c : cases) RunCase(c);
}

TEST(ScanRequestLine, FullBufferWithoutCarriageReturn) {
    std::string request = "GET /s?e=1&p=0&";
    request.resize(app::kRequestBufferSize - 4, '&');
    request += "Y777";
    ASSERT_EQ(request.size(), app::kRequestBufferSize);
    RunCase({"1024 bytes ending in a value", request, {},
             {.curY = 777, .executeFlag = 1},
             {"show 1000 1", "show 1004 0", "pause 0", "show 1007 777"}, false, false});

    request.back() = '\r';
    RunCase({"1024 bytes ending in CR", request, {}, {.curY = 77, .executeFlag = 1},
             {"show 1000 1", "show 1004 0", "pause 0", "show 1007 77"}, true, true});
}

TEST(ScanRequestLine, RegistersPersistAndShiftOnlyWhenMentioned) {
    MotionRegisters registers{};
    RecordingEffects effects;
    const char* requests[] = {
        "GET /s?X10&Y20 HTTP/1.1\r\n",
        "GET /s?e=1&X30 HTTP/1.1\r\n",
        "GET /s?e=0&Y5&Z2 HTTP/1.1\r\n",
        "GET /s?p=3 HTTP/1.1\r\n",
    };
    const MotionRegisters after[] = {
        {0, 10, 0, 20, 0, 0, 0, 0},
        {10, 30, 0, 20, 0, 0, 1, 0},
        {10, 30, 20, 5, 0, 2, 0, 0},
        {10, 30, 20, 5, 0, 2, 0, 3},
    };
    for (std::size_t i = 0; i < std::size(requests); ++i) {
        SCOPED_TRACE(requests[i]);
        motion::ScanRequestLine(requests[i], kFields, registers, effects);
        EXPECT_EQ(registers, after[i]);
    }
}

}  // namespace
