// Step bytes over a real serial line: a pseudo-terminal pair made by socat, one end opened by
// motion control as MT_PTY_DEVICE, the other read here as MT_PTY_PEER (see CMakeLists.txt).
#include "tests/motion/motion_win_fixture.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using motiontest::MotionWindowTest;
using testsupport::MessageBoxHook;

class SerialLineTest : public MotionWindowTest {
protected:
    SerialLineTest() : peer_(MT_PTY_PEER) {}

    void SetUp() override {
        ASSERT_TRUE(peer_.IsOpen()) << MT_PTY_PEER << " does not open: is the pty fixture up?";
        peer_.Drain(50);
        const testsupport::BoxRecord box = Connect(MT_PTY_DEVICE);
        ASSERT_EQ(box.text, "SUCCES!") << "opening " << MT_PTY_DEVICE;
    }

    testsupport::SerialPeer peer_;
};

TEST_F(SerialLineTest, EachByteArrivesAfterItsBoxInOrderAndPaced) {
    motion::motionRegisters.stepDelay = 100;
    std::string arrived;
    std::vector<std::size_t> arrivedAtBox;
    MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
        // By box k the k earlier steps have written their bytes, and no more.
        if (index > 0) arrived += peer_.ReadUntil(index - arrived.size(), 1000);
        arrivedAtBox.push_back(arrived.size());
    });
    const testsupport::Stopwatch watch;
    EXPECT_TRUE(Move("e=1&X6&Y3"));
    const double elapsed = watch.ElapsedMs();
    arrived += peer_.ReadUntil(9 - arrived.size(), 1000);
    EXPECT_EQ(arrived, "BBDBBDBBD");
    EXPECT_EQ(arrivedAtBox, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_GE(elapsed, 900.0) << "nine steps of 100 ms";
    EXPECT_EQ(hook.Texts(), (std::vector<std::string>{"0", "0", "2", "0", "0", "2", "0", "0", "2"}));
}

// A "p=" token pauses once where it stands, before the line's first step, and sets the pause
// that follows every step: the first box comes a pause after the request began, each further
// box a pause after the byte of the step before it.
TEST_F(SerialLineTest, APauseTokenWaitsAtOnceAndAfterEveryStep) {
    // Sleep may wake a timer tick early.
    constexpr double kTickMs = 16;
    const struct {
        const char* tokens;
        double pauseMs;
        const char* bytes;
    } cases[] = {
        {"e=1&p=300&X3", 300, "BBB"},
        {"e=1&X1&p=200", 200, "AA"},  // the token after the target: still before the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tokens);
        std::string arrived;
        std::vector<double> boxAt;
        const testsupport::Stopwatch watch;
        MessageBoxHook hook([&](const testsupport::BoxRecord&, std::size_t index) {
            boxAt.push_back(watch.ElapsedMs());
            // By box k the k earlier steps have written their bytes.
            if (index > 0) arrived += peer_.ReadUntil(index - arrived.size(), 1000);
        });
        EXPECT_TRUE(Move(c.tokens));
        arrived += peer_.ReadUntil(std::string_view(c.bytes).size() - arrived.size(), 1000);
        EXPECT_EQ(arrived, c.bytes);
        ASSERT_EQ(boxAt.size(), std::string_view(c.bytes).size());
        EXPECT_GE(boxAt[0], c.pauseMs - kTickMs) << "the first step came before the token's own pause";
        for (std::size_t k = 1; k < boxAt.size(); ++k) {
            EXPECT_GE(boxAt[k] - boxAt[k - 1], c.pauseMs - kTickMs) << "pause before step " << k;
        }
    }
}

TEST_F(SerialLineTest, AllFourStepBytesAndNothingAfterDisconnect) {
    MessageBoxHook hook;
    EXPECT_TRUE(Move("e=1&X2&Y1"));
    EXPECT_TRUE(Move("e=1&X0&Y0"));
    EXPECT_EQ(peer_.ReadUntil(6, 1000), "BBDAAC");
    EXPECT_TRUE(window_.Press(forms::control_id::btnStopCom));
    // Y stands at 0 and stays there: this line is X+ 3 alone, and none of it reaches the line.
    EXPECT_TRUE(Move("e=1&X3"));
    EXPECT_EQ(peer_.ReadUntil(1, 300), "");
    EXPECT_EQ(hook.Texts(), (std::vector<std::string>{"0", "0", "2", "1", "1", "3", "0", "0", "0"}));
}

// The line settings the device reports now.
std::string LineSettings(HANDLE port) {
    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(port, &line)) return "GetCommState failed";
    return std::to_string(line.BaudRate) + " " + std::to_string(line.ByteSize) + "/" +
           "NOEMS"[line.Parity] + "/" + (line.StopBits == ONESTOPBIT ? "1" : "2");
}

// With a baud rate set the line gets it and 8N1 on connect; without, the settings the device
// already has are left as they are.
TEST_F(SerialLineTest, BaudRateAnd8N1OnConnectOnlyWhenAsked) {
    ASSERT_TRUE(window_.Press(forms::control_id::btnStopCom));
    {
        // The device's own settings before the program opens it: 4800 baud, two stop bits. (A
        // pseudo-terminal always keeps 8 data bits and no parity: the speed and the stop bits
        // show whether the program set the line.)
        testsupport::UniqueHandle device(
            CreateFileA(MT_PTY_DEVICE, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(device.valid());
        DCB line{};
        line.DCBlength = sizeof line;
        ASSERT_TRUE(GetCommState(device.get(), &line));
        line.BaudRate = 4800;
        line.StopBits = TWOSTOPBITS;
        ASSERT_TRUE(SetCommState(device.get(), &line));
        EXPECT_EQ(LineSettings(device.get()), "4800 8/N/2");
    }
    const struct {
        uint32_t baud;
        const char* settings;
    } rows[] = {{0, "4800 8/N/2"}, {19200, "19200 8/N/1"}, {115200, "115200 8/N/1"}};
    int x = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.baud);
        motion::motionSettings.baud = row.baud;
        EXPECT_EQ(Connect(MT_PTY_DEVICE).text, "SUCCES!");
        EXPECT_EQ(LineSettings(motion::portHandle), row.settings);
        MessageBoxHook hook;
        EXPECT_TRUE(Move("e=1&X" + std::to_string(++x)));
        EXPECT_EQ(peer_.ReadUntil(1, 1000), "B") << "the step byte";
        EXPECT_TRUE(window_.Press(forms::control_id::btnStopCom));
    }
    // A device that takes no line settings (a plain file) is not taken when a speed is asked.
    testsupport::TempFile file("mtpbd");
    motion::motionSettings.baud = 9600;
    const testsupport::BoxRecord box = Connect(file.path());
    EXPECT_EQ(box.caption, "Nasol :(");
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE);
}

}  // namespace
