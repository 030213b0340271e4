// Step bytes over a real serial line: a pseudo-terminal pair made by socat, one end opened by
// motion control as MT_PTY_DEVICE, the other read here as MT_PTY_PEER (see CMakeLists.txt).
#include "tests/motion/motion_win_fixture.h"

#include <string>
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
    motionRegisters.stepDelay = 100;
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

TEST_F(SerialLineTest, AllFourStepBytesAndNothingAfterDisconnect) {
    MessageBoxHook hook;
    EXPECT_TRUE(Move("e=1&X2&Y1"));
    EXPECT_TRUE(Move("e=1&X0&Y0"));
    EXPECT_EQ(peer_.ReadUntil(6, 1000), "BBDAAC");
    EXPECT_TRUE(window_.Press(motion::kBtnStopCom));
    // Y keeps its last pair (1 to 0), so this line is X+ 3 and Y- 1.
    EXPECT_TRUE(Move("e=1&X3"));
    EXPECT_EQ(peer_.ReadUntil(1, 300), "");
    EXPECT_EQ(hook.Texts(), (std::vector<std::string>{"0", "0", "2", "1", "1", "3", "0", "0",
                                                      "0", "3"}));
}

}  // namespace
