#pragma once
// Shared set-up of the Windows motion tests: a window holding the main form's edits and buttons
// (from the form's table) whose commands go to the main window procedure itself, so that ">"
// and "!" connect and disconnect the port as in the program; fresh motion state; and movement
// requests as a browser sends them.

#include "app/main_window.h"
#include "app/motion/motion.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace motiontest {

// "GET /s?<tokens> HTTP/1.1" with a header block whose bytes would be tokens too.
inline std::string MovementRequest(const std::string& tokens) {
    return "GET /s?" + tokens + " HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Note: X99&p=9999\r\n\r\n";
}

class MotionWindowTest : public testing::Test {
protected:
    MotionWindowTest()
        : window_(testsupport::MainFormControls(), [](HWND window, int id, int code) {
              app::MainWindowProc(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
          }) {
        motion::ClosePort();
        motion::motionRegisters = {};
        motion::machinePosition = {};
        motion::motionSettings = {};
        motion::linePlan = {};
    }
    ~MotionWindowTest() override {
        motion::ClosePort();
        motion::motionSettings = {};
    }

    bool Interpret(const std::string& request) {
        return motion::InterpretMotionRequest(window_.hwnd(), request.data(), request.size());
    }
    bool Move(const std::string& tokens) { return Interpret(MovementRequest(tokens)); }

    // Connects to `device` through button 1002, dismissing the result box.
    testsupport::BoxRecord Connect(const std::string& device) {
        window_.SetText(forms::control_id::inputCom, device);
        testsupport::MessageBoxHook hook;
        EXPECT_TRUE(window_.Press(forms::control_id::btnSetCom)) << "connect button disabled";
        EXPECT_EQ(hook.boxes().size(), 1u) << "boxes after connect";
        return hook.boxes().empty() ? testsupport::BoxRecord{} : hook.boxes().front();
    }

    testsupport::TestWindow window_;
};

}  // namespace motiontest
