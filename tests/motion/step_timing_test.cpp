// The timing of a line on Windows: the system timer raised for a line's pauses and put back at
// its end, seen through winmm's entries as the program looks them up; the ramp's pauses after
// the bytes of a line with step boxes.
#include "tests/motion/motion_win_fixture.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using motiontest::MotionWindowTest;
using testsupport::MessageBoxHook;
using testsupport::Stopwatch;
using testsupport::TempFile;

// Every call of the stand-ins for timeBeginPeriod and timeEndPeriod, with the bytes the line
// had written by then.
struct TimerCall {
    bool begin;
    UINT periodMs;
    LONGLONG bytesWritten;
};
std::vector<TimerCall> timerCalls;

LONGLONG BytesWritten() {
    LARGE_INTEGER size{};
    return GetFileSizeEx(motion::portHandle, &size) ? size.QuadPart : -1;
}

UINT WINAPI FakeTimeBeginPeriod(UINT periodMs) {
    timerCalls.push_back({true, periodMs, BytesWritten()});
    return 0;
}

UINT WINAPI FakeTimeEndPeriod(UINT periodMs) {
    timerCalls.push_back({false, periodMs, BytesWritten()});
    return 0;
}

FARPROC WINAPI FindFakeTimerEntry(HMODULE, LPCSTR name) {
    // The stand-ins have the type of winmm's entries; the lookup hands every entry out as FARPROC.
    if (std::strcmp(name, "timeBeginPeriod") == 0) return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeTimeBeginPeriod));
    if (std::strcmp(name, "timeEndPeriod") == 0) return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeTimeEndPeriod));
    return nullptr;
}

class StepTimingTest : public MotionWindowTest {
protected:
    StepTimingTest() { timerCalls.clear(); motion::SetTimerEntryFinder(FindFakeTimerEntry); }
    ~StepTimingTest() override { motion::SetTimerEntryFinder(nullptr); }
};

// A line that pauses raises the timer to 1 ms once, before its first pause is timed (without
// boxes before the first byte, with them after it), and restores it once its last byte is out,
// whether it ran to its end or was stopped; a line without pauses leaves the timer alone.
TEST_F(StepTimingTest, TheTimerIsRaisedForALinesPausesAndRestoredAtItsEnd) {
    const struct {
        const char* name;
        bool stepBoxes;
        motion::StepRamp ramp;
        const char* tokens;
        bool stop;
        bool raised;
        LONGLONG raisedAfterBytes;
    } rows[] = {
        {"p=2 without boxes", false, {}, "e=1&p=2&X20", false, true, 0},
        {"p=0 without boxes", false, {}, "e=1&p=0&X20", false, false, 0},
        {"p=2 with boxes", true, {}, "e=1&p=2&X3", false, true, 1},
        {"p=0 with a ramp", false, {true, 5, 3}, "e=1&p=0&X20", false, true, 0},
        {"p=5, stopped midway", false, {}, "e=1&p=5&X400", true, true, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFile device("mtptm");
        Connect(device.path());
        motion::motionRegisters = {};
        motion::machinePosition = {};
        motion::motionSettings.stepBoxes = row.stepBoxes;
        motion::motionSettings.ramp = row.ramp;
        timerCalls.clear();
        MessageBoxHook hook;
        const testsupport::OneShotTimer stop(row.stop ? 300 : 60000, [&] { motion::RequestLineStop(); });
        EXPECT_TRUE(Move(row.tokens));
        const LONGLONG written = BytesWritten();
        motion::DisconnectPort(window_.hwnd());
        if (row.stop) {
            EXPECT_TRUE(stop.Fired());
            EXPECT_GT(written, 1) << "the stop came before the line paused";
            EXPECT_LT(written, 400) << "the stop came after the line";
        }
        if (!row.raised) {
            EXPECT_TRUE(timerCalls.empty()) << timerCalls.size() << " calls";
            continue;
        }
        ASSERT_EQ(timerCalls.size(), 2u) << "one raise and one restore";
        EXPECT_TRUE(timerCalls[0].begin);
        EXPECT_EQ(timerCalls[0].periodMs, 1u);
        EXPECT_EQ(timerCalls[0].bytesWritten, row.raisedAfterBytes) << "raised after that many bytes";
        EXPECT_FALSE(timerCalls[1].begin);
        EXPECT_EQ(timerCalls[1].periodMs, 1u);
        EXPECT_EQ(timerCalls[1].bytesWritten, written) << "restored before the last byte";
    }
}

// With step boxes the ramp's pauses are slept after each byte: --ramp 200,1 on a line of four
// steps pauses 200 ms after the first step and after the third (the one before the last).
TEST_F(StepTimingTest, WithStepBoxesTheRampsPausesFollowTheBytes) {
    TempFile device("mtprb");
    Connect(device.path());
    motion::motionSettings.ramp = {true, 200, 1};
    std::vector<double> boxAt;
    const Stopwatch watch;
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t) { boxAt.push_back(watch.ElapsedMs()); });
    EXPECT_TRUE(Move("e=1&p=0&X4"));
    const double lineMs = watch.ElapsedMs();
    motion::ClosePort();
    EXPECT_EQ(device.Read(), "BBBB");
    ASSERT_EQ(boxAt.size(), 4u);
    // Wine's timers are precise; a stock system's tick is raised to 1 ms for the line.
    constexpr double kSlackMs = 2;
    EXPECT_GE(boxAt[1] - boxAt[0], 200 - kSlackMs) << "after the first step";
    EXPECT_GE(boxAt[3] - boxAt[2], 200 - kSlackMs) << "before the last step";
    EXPECT_GE(lineMs - boxAt[3], 200 - kSlackMs) << "after the last step";
}

}  // namespace
