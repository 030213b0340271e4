// Motion control driving real windows, message boxes and files under Windows.
#include "tests/motion/motion_win_fixture.h"
#include "tests/motion/motion_test_print.h"

#include <string>
#include <vector>

namespace {

using motiontest::MotionWindowTest;
using motiontest::MovementRequest;
using testsupport::MessageBoxHook;
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
        FormatUnsigned(number, buffer);
        EXPECT_STREQ(buffer, text) << "for " << number;
    }
}

TEST(DebugOut, ShowsAnOwnerlessBoxCaptionedNDebug) {
    MessageBoxHook hook;
    DebugOut(4294967295u);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].caption, "nDebug");
    EXPECT_EQ(hook.boxes()[0].text, "4294967295");
    EXPECT_EQ(hook.boxes()[0].owner, nullptr);
}

TEST_F(MotionWindowTest, LineWithoutPortShowsNineBoxesAndMakesNoPause) {
    motionRegisters.stepDelay = 1000;
    MessageBoxHook hook;
    const Stopwatch watch;
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    // Nine pauses of a second would take nine seconds.
    EXPECT_LT(watch.ElapsedMs(), 4500.0);
    EXPECT_EQ(hook.Texts(), Repeat({"0", "0", "2"}, 3));
    EXPECT_EQ(hook.Captions(), Repeat({"nDebug"}, 9));
    for (const auto& box : hook.boxes()) EXPECT_EQ(box.owner, nullptr) << box.text;
    EXPECT_EQ(linePlan, (motion::LinePlan{6, 3, 1, 3, 2, 0}));
}

// A plain file stands in for the serial device; its bytes are read back after the port is
// closed (the port holds it exclusively).
TEST_F(MotionWindowTest, FilePortReceivesOneByteAfterEachBox) {
    TempFile device("mtpf1");
    Connect(device.path());
    ASSERT_NE(portHandle, INVALID_HANDLE_VALUE);
    struct Row {
        const char* tokens;
        bool stepped;
        Strings boxes;
    };
    const Row rows[] = {
        {"e=1&X4&Y2", true, {"0", "0", "2", "0", "0", "2"}},
        {"e=1&X0&Y0", true, {"1", "1", "3", "1", "1", "3"}},
        // Only Y is mentioned: X keeps its last pair (4 to 0), so X moves again.
        {"e=1&Y3", true, {"1", "2", "1", "1", "2", "1", "2"}},
        {"e=0&X9", false, {}},
        // Z never steps; the flag from the request line decides, X and Y pairs as they stand.
        {"e=1&Z5", true, Repeat({"0", "0", "0", "2"}, 3)},
    };
    std::string expectedBytes;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tokens);
        MessageBoxHook hook;
        EXPECT_EQ(Move(row.tokens), row.stepped);
        EXPECT_EQ(hook.Texts(), row.boxes);
        for (const std::string& number : row.boxes) expectedBytes += "BADC"[std::stoi(number)];
    }
    ClosePort();
    EXPECT_EQ(expectedBytes, "BBDBBDAACAACADAADADBBBDBBBDBBBD");
    EXPECT_EQ(device.Read(), expectedBytes);
}

TEST_F(MotionWindowTest, LinesThatMustNotRunStepNothing) {
    TempFile device("mtpf2");
    Connect(device.path());
    std::string noCrAtEnd = MovementRequest("e=1&X5");
    // The CR lies beyond the received length.
    const std::string cutBeforeCr = noCrAtEnd.substr(0, noCrAtEnd.find('\r'));
    std::string longLine = "GET /s?e=1&X3&";
    longLine.resize(1500, '&');
    longLine += "\r\n\r\n";
    struct Row {
        const char* name;
        std::string request;
        std::size_t length;
        int field;
        const char* shown;
    };
    const Row rows[] = {
        {"negative target", MovementRequest("e=1&X-7&Y2"), std::string::npos, motion::kEdit1,
         "4294967289"},
        {"target 2^31 away", MovementRequest("e=1&Y2147483648"), std::string::npos,
         motion::kEdit2, "2147483648"},
        {"no CR in the bytes received", noCrAtEnd, cutBeforeCr.size(), motion::kEdit1, "5"},
        {"CR beyond 1024 bytes", longLine, longLine.size(), motion::kEdit1, "3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MessageBoxHook hook;
        const std::size_t length = row.length == std::string::npos ? row.request.size() : row.length;
        EXPECT_FALSE(InterpretMotionRequest(window_.hwnd(), row.request.data(), length));
        EXPECT_EQ(hook.Texts(), Strings{});
        EXPECT_EQ(window_.Text(row.field), row.shown);
        // Start each row from the origin again.
        motionRegisters = {};
    }
    ClosePort();
    EXPECT_EQ(device.Read(), "");
}

TEST_F(MotionWindowTest, FieldsShowUnsignedValues) {
    struct Row {
        const char* tokens;
        int field;
        const char* shown;
    };
    const Row rows[] = {
        {"X-7&", motion::kEdit1, "4294967289"},   {"Y-1&", motion::kEdit2, "4294967295"},
        {"Z-2147483648", motion::kEdit3, "2147483648"}, {"e=0", motion::kInputLinie, "0"},
        {"p=7", motion::kEdit4, "7"},             {"X=5", motion::kEdit1, "135"},
        {"X12Y5", motion::kEdit1, "1615"},        {"X12Y5", motion::kEdit2, "5"},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(Move(row.tokens)) << row.tokens;
        EXPECT_EQ(window_.Text(row.field), row.shown) << row.tokens;
    }
}

TEST_F(MotionWindowTest, NegativeDelayIsRefused) {
    EXPECT_FALSE(Move("p=5"));
    const Stopwatch watch;
    EXPECT_FALSE(Move("p=-1"));
    EXPECT_FALSE(Move("p=-2000000000"));
    EXPECT_LT(watch.ElapsedMs(), 1000.0);
    EXPECT_EQ(motionRegisters.stepDelay, 5u);
    EXPECT_EQ(window_.Text(motion::kEdit4), "5");
}

TEST_F(MotionWindowTest, ConnectAndDisconnectSwitchTheButtonsInOrder) {
    TempFile device("mtpf3");
    testsupport::MessageRecorder recorder({WM_ENABLE});
    for (int id : {motion::kBtnStopCom, motion::kBtnSetCom, motion::kBtnTest})
        recorder.Watch(window_.Control(id));

    const testsupport::BoxRecord box = Connect(device.path());
    EXPECT_EQ(box.caption, "SUCCES!");
    EXPECT_EQ(box.text, "SUCCES!");
    EXPECT_EQ(box.owner, window_.hwnd());
    EXPECT_NE(portHandle, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(portName, "mtpf3");
    EXPECT_EQ(recorder.ControlIds(), (std::vector<int>{1002, 1003, 1001}));
    EXPECT_FALSE(window_.IsEnabled(motion::kBtnSetCom));
    EXPECT_TRUE(window_.IsEnabled(motion::kBtnTest));
    EXPECT_TRUE(window_.IsEnabled(motion::kBtnStopCom));

    MessageBoxHook hook;
    EXPECT_TRUE(window_.Press(motion::kBtnStopCom));
    EXPECT_EQ(hook.boxes().size(), 0u);
    EXPECT_EQ(portHandle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(recorder.ControlIds(), (std::vector<int>{1002, 1003, 1001, 1002, 1003, 1001}));
    EXPECT_TRUE(window_.IsEnabled(motion::kBtnSetCom));
    EXPECT_FALSE(window_.IsEnabled(motion::kBtnTest));
    EXPECT_FALSE(window_.IsEnabled(motion::kBtnStopCom));

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
            window_.Press(motion::kBtnStopCom);
        }
        for (const char* name : {"", "nofil", "mtpbz"}) {
            SCOPED_TRACE(std::string("name \"") + name + "\", earlier connection " +
                         (afterEarlierConnection ? "yes" : "no"));
            testsupport::MessageRecorder recorder({WM_ENABLE});
            for (int id : {motion::kBtnStopCom, motion::kBtnSetCom, motion::kBtnTest})
                recorder.Watch(window_.Control(id));
            const testsupport::BoxRecord box = Connect(name);
            EXPECT_EQ(box.caption, "Nasol :(");
            EXPECT_EQ(box.text, "Nu s-a putut conecta la port");
            EXPECT_EQ(box.owner, window_.hwnd());
            EXPECT_EQ(portHandle, INVALID_HANDLE_VALUE);
            EXPECT_EQ(recorder.ControlIds(), std::vector<int>{});
            EXPECT_TRUE(window_.IsEnabled(motion::kBtnSetCom));
            EXPECT_FALSE(window_.IsEnabled(motion::kBtnTest));
            EXPECT_FALSE(window_.IsEnabled(motion::kBtnStopCom));
        }
    }
}

TEST_F(MotionWindowTest, DeviceNameIsCutToFiveCharacters) {
    TempFile device("mtpcu");
    const testsupport::BoxRecord box = Connect("mtpcut.port");
    EXPECT_EQ(box.text, "SUCCES!");
    EXPECT_STREQ(portName, "mtpcu");
    MessageBoxHook hook;
    EXPECT_TRUE(Move("e=1&X1"));
    ClosePort();
    EXPECT_EQ(device.Read(), "B");
}

TEST_F(MotionWindowTest, DisconnectInsideADebugBoxStopsWritesAndPauses) {
    TempFile device("mtpdi");
    Connect(device.path());
    constexpr double kDelay = 400;
    motionRegisters.stepDelay = static_cast<uint32_t>(kDelay);
    const Stopwatch watch;
    std::vector<double> boxShownAt;
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
        boxShownAt.push_back(watch.ElapsedMs());
        if (index == 3) {
            EXPECT_TRUE(window_.Press(motion::kBtnStopCom)) << "disconnect disabled";
        }
    });
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    EXPECT_EQ(hook.Texts(), Repeat({"0", "0", "2"}, 3));
    ASSERT_EQ(boxShownAt.size(), 9u);
    // The time from one box to the next holds the pause of the step between them: the three
    // steps before the disconnect pause, the six after it do not.
    for (std::size_t i = 0; i + 1 < boxShownAt.size(); ++i) {
        const double gap = boxShownAt[i + 1] - boxShownAt[i];
        if (i < 3) {
            EXPECT_GE(gap, kDelay) << "after box " << i;
        } else {
            EXPECT_LT(gap, kDelay / 2) << "after box " << i;
        }
    }
    EXPECT_EQ(portHandle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(window_.IsEnabled(motion::kBtnSetCom));
    EXPECT_EQ(device.Read(), "BBD");
}

TEST_F(MotionWindowTest, NothingInsideTheBoxesAltersTheLineInProgress) {
    TempFile device("mtpnl");
    Connect(device.path());
    bool nestedResult = true;
    bool inProgressInsideBox = false;
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index != 1) return;
        inProgressInsideBox = LineInProgress();
        // Another movement request, and a plan overwritten under the running line.
        nestedResult = Move("e=1&X100&Y1");
        linePlan = motion::LinePlan{1, 1, 8, 1, 1, 0};
    });
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    EXPECT_FALSE(LineInProgress());
    EXPECT_TRUE(inProgressInsideBox);
    EXPECT_FALSE(nestedResult) << "a second line ran inside the first";
    EXPECT_EQ(hook.Texts(), Repeat({"0", "0", "2"}, 3));
    // The nested request still shifted the registers and showed them.
    EXPECT_EQ(motionRegisters, (motion::MotionRegisters{6, 100, 3, 1, 0, 0, 1, 0}));
    EXPECT_EQ(window_.Text(motion::kEdit1), "100");
    ClosePort();
    EXPECT_EQ(device.Read(), "BBDBBDBBD");
}

}  // namespace
