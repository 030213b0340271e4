// Motion control driving real windows, message boxes and files under Windows.
#include "tests/motion/motion_win_fixture.h"
#include "tests/motion/motion_test_print.h"
#include "runtime/text/number_format.h"

#include <string>
#include <vector>

namespace {

using motiontest::MotionWindowTest;
using motiontest::MovementRequest;
using testsupport::MessageBoxHook;
using testsupport::MessageRecorder;
using testsupport::Stopwatch;
using testsupport::TempFile;
using Strings = std::vector<std::string>;

Strings Repeat(const Strings& part, int times) {
    Strings all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(FormatUnsigned, WritesUnsignedDecimal) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0u, "0"}, {7u, "7"}, {10u, "10"}, {4294967289u, "4294967289"}, {4294967295u, "4294967295"}};
    for (const auto& [number, text] : cases) {
        char buffer[12] = "xxxxxxxxxxx";
        runtime::text::FormatUnsigned(number, buffer);
        EXPECT_STREQ(buffer, text) << "for " << number;
    }
}

TEST(DebugOut, ShowsAnOwnerlessBoxCaptionedNDebug) {
    MessageBoxHook hook;
    motion::DebugOut(4294967295u);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].caption, "nDebug");
    EXPECT_EQ(hook.boxes()[0].text, "4294967295");
    EXPECT_EQ(hook.boxes()[0].owner, nullptr);
}

TEST_F(MotionWindowTest, LineWithoutPortShowsNineBoxesAndMakesNoPause) {
    motion::motionRegisters.stepDelay = 1000;
    MessageBoxHook hook;
    const Stopwatch watch;
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    // Nine pauses of a second would take nine seconds (nine boxes alone take a few under
    // emulation).
    EXPECT_LT(watch.ElapsedMs(), 8000.0);
    EXPECT_EQ(hook.Texts(), Repeat({"0", "0", "2"}, 3));
    EXPECT_EQ(hook.Captions(), Repeat({"nDebug"}, 9));
    for (const auto& box : hook.boxes()) EXPECT_EQ(box.owner, nullptr) << box.text;
    EXPECT_EQ(motion::linePlan, (motion::LinePlan{6, 3, 1, 3, 2, 0}));
}

// A plain file stands in for the serial device; its bytes are read back after the port is
// closed (the port holds it exclusively).
TEST_F(MotionWindowTest, FilePortReceivesOneByteAfterEachBox) {
    TempFile device("mtpf1");
    Connect(device.path());
    ASSERT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    struct Row {
        const char* tokens;
        bool stepped;
        Strings boxes;
    };
    const Row rows[] = {
        {"e=1&X4&Y2", true, {"0", "0", "2", "0", "0", "2"}},
        {"e=1&X0&Y0", true, {"1", "1", "3", "1", "1", "3"}},
        // Only Y is mentioned: the machine stands at X 0, so only Y moves.
        {"e=1&Y3", true, {"2", "2", "2"}},
        // Recorded without the flag, stepped by the next request that has it.
        {"e=0&X9", false, {}},
        {"e=1", true, Repeat({"0"}, 9)},
        // Nothing left to step: Z never steps, X and Y stand at their targets.
        {"e=1&Z5", true, {}},
    };
    std::string expectedBytes;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tokens);
        MessageBoxHook hook;
        EXPECT_EQ(Move(row.tokens), row.stepped);
        EXPECT_EQ(hook.Texts(), row.boxes);
        for (const std::string& number : row.boxes) expectedBytes += "BADC"[std::stoi(number)];
    }
    motion::ClosePort();
    EXPECT_EQ(expectedBytes, "BBDBBDAACAACDDDBBBBBBBBB");
    EXPECT_EQ(device.Read(), expectedBytes);
}

// A refused line moves nothing and leaves X and Y where the machine is, so the next line
// starts from there: after each refusal, X3 makes three steps from the origin.
TEST_F(MotionWindowTest, RefusedLinesStepNothingAndPutXAndYBack) {
    TempFile device("mtpf2");
    Connect(device.path());
    std::string noCrAtEnd = MovementRequest("e=1&X5&Y9");
    // The CR lies beyond the received length.
    const std::size_t cutBeforeCr = noCrAtEnd.find('\r');
    std::string longLine = "GET /s?e=1&X3&Y4&";
    longLine.resize(1500, '&');
    longLine += "\r\n\r\n";
    struct Row {
        const char* name;
        std::string request;
        std::size_t length;
    };
    const Row rows[] = {
        {"negative target", MovementRequest("e=1&X-5&Y2"), std::string::npos},
        {"target 2^31 away", MovementRequest("e=1&X1&Y2147483648"), std::string::npos},
        {"cut off before its CR", noCrAtEnd, cutBeforeCr},
        {"CR beyond 1024 bytes", longLine, longLine.size()},
    };
    std::string expectedBytes;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        motion::motionRegisters = {};
        motion::machinePosition = {};
        MessageBoxHook hook;
        const std::size_t length = row.length == std::string::npos ? row.request.size() : row.length;
        EXPECT_FALSE(motion::InterpretMotionRequest(window_.hwnd(), row.request.data(), length));
        EXPECT_EQ(hook.Texts(), Strings{});
        EXPECT_EQ(motion::motionRegisters, (motion::MotionRegisters{0, 0, 0, 0, 0, 0, 1, 0}));
        EXPECT_EQ(window_.Text(forms::control_id::Edit1), "0");
        EXPECT_EQ(window_.Text(forms::control_id::Edit2), "0");

        EXPECT_TRUE(Move("e=1&X3"));
        EXPECT_EQ(hook.Texts(), (Strings{"0", "0", "0"}));
        expectedBytes += "BBB";
    }
    // Without the execute flag a cut-off request only records its values.
    motion::motionRegisters = {};
    motion::machinePosition = {};
    EXPECT_FALSE(Interpret(MovementRequest("e=0&X5").substr(0, 15)));
    EXPECT_EQ(motion::motionRegisters, (motion::MotionRegisters{0, 5, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(window_.Text(forms::control_id::Edit1), "5");
    motion::ClosePort();
    EXPECT_EQ(device.Read(), expectedBytes);
}

// "!" (or the main window going away) inside a step's box ends the line: that step and the
// rest make no box, byte or pause; the line counts as stepped, and X and Y show where the
// machine stopped.
TEST_F(MotionWindowTest, StopInsideABoxEndsTheLine) {
    const struct {
        const char* name;
        std::size_t stopInBox;
        bool pressStop;  // "!"; otherwise the stop the main window asks for when it goes
        const char* tokens;
        Strings boxes;
        const char* bytes;
        uint32_t x;
        uint32_t y;
    } rows[] = {
        {"! in the first box of 50 steps", 0, true, "e=1&X50", {"0"}, "", 0, 0},
        {"window going in the third box", 2, false, "e=1&X4", {"0", "0", "0"}, "BB", 2, 0},
    };
    // Long enough that a pause after the stop shows above the scheduling noise of a loaded machine.
    constexpr uint32_t kDelay = 1000;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFile device("mtpst");
        Connect(device.path());
        motion::motionRegisters = {};
        motion::machinePosition = {};
        motion::motionRegisters.stepDelay = kDelay;
        Stopwatch sinceStop;
        MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
            if (index != row.stopInBox) return;
            if (row.pressStop) {
                EXPECT_TRUE(window_.Press(forms::control_id::btnStopCom)) << "disconnect disabled";
            } else {
                motion::RequestLineStop();
            }
            sinceStop = Stopwatch();
        });
        EXPECT_TRUE(Move(row.tokens));
        EXPECT_LT(sinceStop.ElapsedMs(), kDelay / 2.0) << "a pause or a box followed the stop";
        EXPECT_EQ(hook.Texts(), row.boxes);
        EXPECT_FALSE(motion::LineStopRequested()) << "the stop outlived its line";
        EXPECT_EQ(motion::motionRegisters.curX, row.x);
        EXPECT_EQ(motion::motionRegisters.curY, row.y);
        EXPECT_EQ(window_.Text(forms::control_id::Edit1), std::to_string(row.x));
        EXPECT_EQ(window_.Text(forms::control_id::Edit2), std::to_string(row.y));
        motion::ClosePort();
        EXPECT_EQ(device.Read(), row.bytes);
    }
    // A stop asked for between lines does not reach the next line.
    motion::RequestLineStop();
    MessageBoxHook hook;
    motion::motionRegisters = {};
    motion::machinePosition = {};
    EXPECT_TRUE(Move("e=1&X2"));
    EXPECT_EQ(hook.Texts(), (Strings{"0", "0"}));
}

TEST_F(MotionWindowTest, FieldsShowUnsignedValues) {
    struct Row {
        const char* tokens;
        int field;
        const char* shown;
    };
    const Row rows[] = {
        {"X-7&", forms::control_id::Edit1, "4294967289"},   {"Y-1&", forms::control_id::Edit2, "4294967295"},
        {"Z-2147483648", forms::control_id::Edit3, "2147483648"}, {"e=0", forms::control_id::inputLinie, "0"},
        {"p=7", forms::control_id::Edit4, "7"},             {"X=5", forms::control_id::Edit1, "135"},
        {"X12Y5", forms::control_id::Edit1, "1615"},        {"X12Y5", forms::control_id::Edit2, "5"},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(Move(row.tokens)) << row.tokens;
        EXPECT_EQ(window_.Text(row.field), row.shown) << row.tokens;
    }
}

// A field is set only when what it shows differs from the value: setting the same text again
// would repaint it ahead of the line's first step. A field the operator typed into shows the
// value again with the next request that names it.
TEST_F(MotionWindowTest, FieldsAreSetOnlyWhenTheirTextChanges) {
    using forms::control_id::Edit1;
    using forms::control_id::Edit2;
    using forms::control_id::Edit4;
    using forms::control_id::inputLinie;
    struct Row {
        const char* typedIntoX;  // the operator's text in X before the request, or nullptr
        const char* tokens;
        std::vector<int> setFields;  // the fields that received a new text, in order
        const char* shownX;
    };
    const Row rows[] = {
        {nullptr, "e=0&p=0&X3&Y4", {inputLinie, Edit4, Edit1, Edit2}, "3"},  // empty at first
        {nullptr, "e=0&p=0&X3&Y4", {}, "3"},
        {nullptr, "e=0&p=2&X3&Y5", {Edit4, Edit2}, "3"},
        {nullptr, "e=1&p=2&X3&Y5&e=0", {inputLinie, inputLinie}, "3"},
        {"31", "e=0&X3", {Edit1}, "3"},
        {"3", "e=0&X3", {}, "3"},
    };
    for (const Row& row : rows) {
        if (row.typedIntoX != nullptr) window_.SetText(Edit1, row.typedIntoX);
        MessageRecorder recorder({WM_SETTEXT});
        for (int id : {inputLinie, Edit4, Edit1, Edit2}) recorder.Watch(window_.Control(id));
        EXPECT_FALSE(Move(row.tokens)) << row.tokens;
        EXPECT_EQ(recorder.ControlIds(), row.setFields) << row.tokens;
        EXPECT_EQ(window_.Text(Edit1), row.shownX) << row.tokens;
    }
}

TEST_F(MotionWindowTest, NegativeAndTooLongDelaysAreRefusedAtOnce) {
    EXPECT_FALSE(Move("p=5"));
    const Stopwatch watch;
    for (const char* tokens : {"p=-1", "p=-2000000000", "p=10001", "p=20000", "p=5abc"}) {
        EXPECT_FALSE(Move(tokens)) << tokens;
        EXPECT_EQ(window_.Text(forms::control_id::Edit4), "5") << tokens;
    }
    EXPECT_LT(watch.ElapsedMs(), 1000.0);
    EXPECT_EQ(motion::motionRegisters.stepDelay, 5u);
    EXPECT_EQ(window_.Text(forms::control_id::Edit4), "5");
}

TEST_F(MotionWindowTest, ConnectAndDisconnectSwitchTheButtonsInOrder) {
    TempFile device("mtpf3");
    testsupport::MessageRecorder recorder({WM_ENABLE});
    for (int id : {forms::control_id::btnStopCom, forms::control_id::btnSetCom, forms::control_id::btnTest})
        recorder.Watch(window_.Control(id));

    const testsupport::BoxRecord box = Connect(device.path());
    EXPECT_EQ(box.caption, "SUCCES!");
    EXPECT_EQ(box.text, "SUCCES!");
    EXPECT_EQ(box.owner, window_.hwnd());
    EXPECT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(motion::portName, "mtpf3");
    EXPECT_EQ(recorder.ControlIds(), (std::vector<int>{1002, 1003, 1001}));
    EXPECT_FALSE(window_.IsEnabled(forms::control_id::btnSetCom));
    EXPECT_TRUE(window_.IsEnabled(forms::control_id::btnTest));
    EXPECT_TRUE(window_.IsEnabled(forms::control_id::btnStopCom));

    MessageBoxHook hook;
    EXPECT_TRUE(window_.Press(forms::control_id::btnStopCom));
    EXPECT_EQ(hook.boxes().size(), 0u);
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(recorder.ControlIds(), (std::vector<int>{1002, 1003, 1001, 1002, 1003, 1001}));
    EXPECT_TRUE(window_.IsEnabled(forms::control_id::btnSetCom));
    EXPECT_FALSE(window_.IsEnabled(forms::control_id::btnTest));
    EXPECT_FALSE(window_.IsEnabled(forms::control_id::btnStopCom));

    // After a disconnect a line writes nothing, though the port was open before.
    EXPECT_TRUE(Move("e=1&X2"));
    EXPECT_EQ(hook.Texts(), (Strings{"0", "0"}));
    EXPECT_EQ(device.Read(), "");
}

TEST_F(MotionWindowTest, FailedOpenEnablesNoControl) {
    TempFile busy("mtpbz");
    // Held exclusively by someone else: the open fails with a sharing violation.
    testsupport::UniqueHandle holder(CreateFileA(busy.path().c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.valid());
    TempFile good("mtpok");
    for (const bool afterEarlierConnection : {false, true}) {
        if (afterEarlierConnection) {
            // SetPortButtons has run: the stale control would be 1001.
            Connect(good.path());
            window_.Press(forms::control_id::btnStopCom);
        }
        for (const char* name : {"", "nofil", "mtpbz"}) {
            SCOPED_TRACE(std::string("name \"") + name + "\", earlier connection " +
                         (afterEarlierConnection ? "yes" : "no"));
            testsupport::MessageRecorder recorder({WM_ENABLE});
            for (int id : {forms::control_id::btnStopCom, forms::control_id::btnSetCom, forms::control_id::btnTest})
                recorder.Watch(window_.Control(id));
            const testsupport::BoxRecord box = Connect(name);
            EXPECT_EQ(box.caption, "Nasol :(");
            EXPECT_EQ(box.text, "Nu s-a putut conecta la port");
            EXPECT_EQ(box.owner, window_.hwnd());
            EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE);
            EXPECT_EQ(recorder.ControlIds(), std::vector<int>{});
            EXPECT_TRUE(window_.IsEnabled(forms::control_id::btnSetCom));
            EXPECT_FALSE(window_.IsEnabled(forms::control_id::btnTest));
            EXPECT_FALSE(window_.IsEnabled(forms::control_id::btnStopCom));
        }
    }
}

TEST_F(MotionWindowTest, DeviceNameIsCutToFiveCharacters) {
    TempFile device("mtpcu");
    const testsupport::BoxRecord box = Connect("mtpcut.port");
    EXPECT_EQ(box.text, "SUCCES!");
    EXPECT_STREQ(motion::portName, "mtpcu");
    MessageBoxHook hook;
    EXPECT_TRUE(Move("e=1&X1"));
    motion::ClosePort();
    EXPECT_EQ(device.Read(), "B");
}

TEST_F(MotionWindowTest, DisconnectInsideADebugBoxEndsTheLineWithoutFurtherPause) {
    TempFile device("mtpdi");
    Connect(device.path());
    constexpr double kDelay = 400;
    motion::motionRegisters.stepDelay = static_cast<uint32_t>(kDelay);
    const Stopwatch watch;
    std::vector<double> boxShownAt;
    double stoppedAt = 0;
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
        boxShownAt.push_back(watch.ElapsedMs());
        if (index == 3) {
            EXPECT_TRUE(window_.Press(forms::control_id::btnStopCom)) << "disconnect disabled";
            stoppedAt = watch.ElapsedMs();
        }
    });
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    const double endedAt = watch.ElapsedMs();
    // The box in which "!" was pressed is the last; its step and the five after it are not made.
    EXPECT_EQ(hook.Texts(), (Strings{"0", "0", "2", "0"}));
    ASSERT_EQ(boxShownAt.size(), 4u);
    // The time from one box to the next holds the pause of the step between them.
    for (std::size_t i = 0; i + 1 < boxShownAt.size(); ++i) {
        EXPECT_GE(boxShownAt[i + 1] - boxShownAt[i], kDelay) << "after box " << i;
    }
    EXPECT_LT(endedAt - stoppedAt, kDelay / 2) << "a pause followed the stop";
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(window_.IsEnabled(forms::control_id::btnSetCom));
    EXPECT_EQ(motion::motionRegisters.curX, 2u) << "X stands where the steps made took it";
    EXPECT_EQ(motion::motionRegisters.curY, 1u);
    EXPECT_EQ(device.Read(), "BBD");
}

TEST_F(MotionWindowTest, NothingInsideTheBoxesAltersTheLineInProgress) {
    TempFile device("mtpnl");
    Connect(device.path());
    bool nestedResult = true;
    bool inProgressInsideBox = false;
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index != 1) return;
        inProgressInsideBox = motion::LineInProgress();
        // Another movement request, and a plan overwritten under the running line.
        nestedResult = Move("e=1&X100&Y1");
        motion::linePlan = motion::LinePlan{1, 1, 8, 1, 1, 0};
    });
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    EXPECT_FALSE(motion::LineInProgress());
    EXPECT_TRUE(inProgressInsideBox);
    EXPECT_FALSE(nestedResult) << "a second line ran inside the first";
    EXPECT_EQ(hook.Texts(), Repeat({"0", "0", "2"}, 3));
    // The nested line was refused: X and Y are back where the running line takes them, and
    // the next line starts there.
    EXPECT_EQ(motion::motionRegisters, (motion::MotionRegisters{6, 6, 3, 3, 0, 0, 1, 0}));
    EXPECT_EQ(window_.Text(forms::control_id::Edit1), "6");
    EXPECT_EQ(window_.Text(forms::control_id::Edit2), "3");
    motion::ClosePort();
    EXPECT_EQ(device.Read(), "BBDBBDBBD");
}

// A value recorded inside a line's box (another request meanwhile) is a line still to come:
// the next line steps it from where the running line ended, which is where the machine stands.
TEST_F(MotionWindowTest, AValueRecordedDuringALineIsSteppedFromWhereTheLineEnded) {
    TempFile device("mtprd");
    Connect(device.path());
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index == 2) {
            EXPECT_FALSE(Move("e=0&X2"));
        }
    });
    EXPECT_TRUE(Move("e=1&X6"));
    EXPECT_EQ(motion::machinePosition, (motion::MachinePosition{6, 0}));
    EXPECT_TRUE(Move("e=1"));
    EXPECT_EQ(motion::machinePosition, (motion::MachinePosition{2, 0}));
    motion::ClosePort();
    EXPECT_EQ(device.Read(), "BBBBBBAAAA");
}

// Without step boxes the window's messages are still processed during a line, so "!" stops
// it midway; no box is shown, and X shows where the line stopped.
TEST_F(MotionWindowTest, WithoutStepBoxesStopMidwayEndsTheLine) {
    motion::motionSettings.stepBoxes = false;
    TempFile device("mtpnb");
    Connect(device.path());
    motion::motionRegisters.stepDelay = 10;
    MessageBoxHook hook;
    bool lineRanAtStop = false;
    const testsupport::OneShotTimer stop(150, [&] {
        lineRanAtStop = motion::LineInProgress();
        EXPECT_TRUE(window_.Press(forms::control_id::btnStopCom)) << "disconnect disabled";
    });
    const Stopwatch watch;
    EXPECT_TRUE(Move("e=1&X300"));
    const double elapsed = watch.ElapsedMs();
    EXPECT_TRUE(stop.Fired());
    EXPECT_TRUE(lineRanAtStop) << "the stop came after the line";
    EXPECT_LT(elapsed, 2000.0) << "300 steps of 10 ms would take 3 s";
    EXPECT_EQ(hook.boxes().size(), 0u);
    const std::string bytes = device.Read();
    EXPECT_GT(bytes.size(), 0u);
    EXPECT_LT(bytes.size(), 300u);
    EXPECT_EQ(bytes, std::string(bytes.size(), 'B'));
    EXPECT_EQ(motion::motionRegisters.curX, bytes.size()) << "X stands where the bytes took it";
    EXPECT_EQ(window_.Text(forms::control_id::Edit1), std::to_string(bytes.size()));
}

// A line that stops taking bytes (its other end gone) ends at the first byte it refuses: no
// pauses for steps that go nowhere, and the machine stands where the bytes took it. The port
// here is a file opened for reading only, whose every write fails.
TEST_F(MotionWindowTest, RefusedWriteEndsTheLineWhereTheBytesStopped) {
    motion::motionSettings.stepBoxes = false;
    TempFile device("mtpro");
    Connect(device.path());
    ASSERT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Move("e=1&p=0&X3"));
    CloseHandle(motion::portHandle);
    motion::portHandle = CreateFileA(device.path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    const Stopwatch watch;
    EXPECT_TRUE(Move("e=1&p=100&X53"));
    const double elapsed = watch.ElapsedMs();
    EXPECT_LT(elapsed, 2000.0) << "50 steps of 100 ms would take 5 s; took " << elapsed << " ms";
    EXPECT_FALSE(motion::LineInProgress());
    EXPECT_EQ(device.Read(), "BBB") << "bytes in the port";
    EXPECT_EQ(motion::motionRegisters.curX, 3u) << "X stands where the bytes took it";
    EXPECT_EQ(window_.Text(forms::control_id::Edit1), "3");
}

// With limits a line whose target or start leaves 0..XMAX x 0..YMAX is refused like any other;
// the next line starts where the machine is. Without limits the same line runs. A start comes
// from values a request recorded without executing them; a refusal puts X and Y back where
// the machine stands, not at those values, else every later line would start from them too.
TEST_F(MotionWindowTest, LimitsRefuseLinesThatLeaveTheArea) {
    motion::motionSettings.stepBoxes = false;
    TempFile device("mtplm");
    Connect(device.path());
    const struct {
        motion::LineLimits limits;
        const char* tokens;
        bool stepped;
        uint32_t x;
        uint32_t y;
    } rows[] = {
        {{true, 10, 5}, "e=1&X10&Y5", true, 10, 5},
        {{true, 10, 5}, "e=1&X11", false, 10, 5},
        {{true, 10, 5}, "e=1&Y6", false, 10, 5},
        {{true, 10, 5}, "e=1&X-1", false, 10, 5},
        {{true, 10, 5}, "e=1&X0&Y0", true, 0, 0},
        {{false, 10, 5}, "e=1&X11&Y0", true, 11, 0},
        {{true, 0, 0}, "e=1&X0&Y0", true, 0, 0},
        {{true, 0, 0}, "e=1&Y1", false, 0, 0},
        {{true, 10, 5}, "e=0&Y400", false, 0, 400},
        {{true, 10, 5}, "e=1&Y3", false, 0, 0},
        {{true, 10, 5}, "e=1&Y3", true, 0, 3},
        // Out of reach: a displacement of 2^31 or more.
        {{false, 0, 0}, "e=0&Y-5", false, 0, 4294967291u},
        {{false, 0, 0}, "e=1&Y4", false, 0, 3},
        {{false, 0, 0}, "e=1&Y4", true, 0, 4},
    };
    std::string expectedBytes;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tokens);
        motion::motionSettings.limits = row.limits;
        EXPECT_EQ(Move(row.tokens), row.stepped);
        EXPECT_EQ(motion::motionRegisters.curX, row.x);
        EXPECT_EQ(motion::motionRegisters.curY, row.y);
        EXPECT_EQ(window_.Text(forms::control_id::Edit1), std::to_string(row.x));
        EXPECT_EQ(window_.Text(forms::control_id::Edit2), std::to_string(row.y));
    }
    motion::ClosePort();
    // (0,0) to (10,5) and back, then 11 steps along X and back, then Y to 3 and to 4.
    EXPECT_EQ(device.Read(),
              "BBDBBDBBDBBDBBD" "AACAACAACAACAAC" + std::string(11, 'B') + std::string(11, 'A') + "DDDD");
}

// Where the machine stands is the end of the last line or the position the operator declared
// (an axis whose two values agree after a request that stepped nothing), whichever came last;
// a refused line puts X and Y back there. One value recorded once is a line still to come.
TEST_F(MotionWindowTest, ADeclaredPositionIsWhereTheNextLineStartsAfterARefusal) {
    motion::motionSettings.stepBoxes = false;
    TempFile device("mtpdp");
    Connect(device.path());
    const struct {
        const char* tokens;
        bool stepped;
        motion::MachinePosition standing;
    } rows[] = {
        {"e=1&X5", true, {5, 0}},     {"e=0&X0&Y0", false, {5, 0}}, {"e=0&X0&Y0", false, {0, 0}},
        {"e=1&X-5", false, {0, 0}},   {"e=1&X3", true, {3, 0}},     {"e=0&X7&Y0", false, {3, 0}},
        {"e=0&X7&Y0", false, {7, 0}}, {"e=1&Y-1", false, {7, 0}},   {"e=1&X9", true, {9, 0}},
        // Recorded once: no declaration, and the refusal goes back to the line's end.
        {"e=0&X0", false, {9, 0}},    {"e=1&X-5", false, {9, 0}},   {"e=1&X10", true, {10, 0}},
        // One axis declared, in one request that names it twice; the other stays.
        {"e=0&Y4&Y4", false, {10, 4}}, {"e=1&Y-1", false, {10, 4}}, {"e=1&Y6", true, {10, 6}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tokens);
        EXPECT_EQ(Move(row.tokens), row.stepped);
        EXPECT_EQ(motion::machinePosition, row.standing);
    }
    motion::ClosePort();
    EXPECT_EQ(device.Read(), "BBBBB" "BBB" "BB" "B" "DD");
}

}  // namespace
