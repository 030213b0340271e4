// The main message loop under Wine: it builds the main form, pumps with accelerator table 100
// until the main form's end posts the quit message, shuts the runtime down and returns the
// quit code; without a main form it ends at once.

#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/start/message_loop.h"
#include "runtime/process/runtime_messages.h"
#include "runtime_session.h"

namespace {

using runtimetest::app;

// The accelerator of this program's table 100 (message_loop_test.rc).
constexpr WORD kAcceleratorCommand = 40001;

// A stuck loop is ended by this timer's quit code, which no test expects.
constexpr UINT kWatchdogMs = 5000;
constexpr WPARAM kWatchdogCode = 99;

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) noexcept { PostQuitMessage(static_cast<int>(kWatchdogCode)); }

class Watch {
public:
    Watch() : timer_(SetTimer(nullptr, 0, kWatchdogMs, Watchdog)) {}
    ~Watch() { KillTimer(nullptr, timer_); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    UINT_PTR timer_;
};

// The main form's template: a plain window with the scripted application procedure.
runtime::TemplateRecord MainFormTemplate() {
    runtime::TemplateRecord form{};
    form.Type = runtime::form_kind::Window;
    form.IsMain = 1;
    form.Visible = 1;
    form.Enabled = 1;
    form.Style = WS_OVERLAPPEDWINDOW;
    form.Left = 20;
    form.Top = 20;
    form.Width = 300;
    form.Height = 200;
    form.WindowProc = runtimetest::ScriptedAppSlot();
    return form;
}

class MessageLoop : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        app.Reset();
        runtime::StartRuntime(GetModuleHandleA(nullptr), "Project1", "Project1.exe", nullptr,
                              runtime::form_kind::Window, GetParam());
    }
    void TearDown() override {
        runtime::SetMainForm(nullptr);
        runtimetest::DestroyThreadWindows();
        runtime::ShutdownRuntime();
        runtimetest::TakeQueuedMessages();
        app.Reset();
    }

    // Runs the loop on `form`; returns its result and how long it took.
    std::pair<int32_t, DWORD> Run(const runtime::TemplateRecord& form) {
        runtime::SetMainForm(&form);
        Watch watch;
        const DWORD start = GetTickCount();
        const int32_t code = runtime::RunMessageLoop(GetModuleHandleA(nullptr), 0, nullptr, SW_SHOWNORMAL);
        return {code, GetTickCount() - start};
    }

    // The application's action once its form is built: post this message to the form.
    static void OnCreatedPost(UINT id, WPARAM wParam = 0, LPARAM lParam = 0) {
        app.onMessage = [id, wParam, lParam](HWND window, UINT message, WPARAM, LPARAM) {
            if (message == runtime::FRM_CREATED) PostMessageA(window, id, wParam, lParam);
        };
    }
};

INSTANTIATE_TEST_SUITE_P(AnsiAndWide, MessageLoop, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param != 0 ? "Wide" : "Ansi"; });

TEST_P(MessageLoop, TheMainFormsDestructionEndsTheLoopWithTheQuitCode) {
    const runtime::TemplateRecord form = MainFormTemplate();
    OnCreatedPost(WM_CLOSE);
    const auto [code, elapsed] = Run(form);
    EXPECT_EQ(code, 0) << "the runtime quits with 0 when the main form goes";
    EXPECT_LT(elapsed, kWatchdogMs);
    EXPECT_EQ(app.Count(WM_DESTROY), 1);
    ASSERT_EQ(app.Count(runtime::FRM_CREATED), 1);
    EXPECT_FALSE(IsWindow(app.All(runtime::FRM_CREATED)[0].window));
    // The loop has shut the runtime down.
    EXPECT_EQ(runtime::workBlock, nullptr);
    EXPECT_EQ(runtime::runtimeHeap, nullptr);
    EXPECT_EQ(runtime::Application.Accel, 0u);
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "BKRUNWINDOWProject1", &info));
}

TEST_P(MessageLoop, ReturnsTheCodeOfTheQuitMessage) {
    const runtime::TemplateRecord form = MainFormTemplate();
    app.onMessage = [](HWND, UINT message, WPARAM, LPARAM) {
        if (message == runtime::FRM_CREATED) PostQuitMessage(7);
    };
    EXPECT_EQ(Run(form).first, 7);
}

TEST_P(MessageLoop, AnAcceleratorReachesTheMainWindowAsACommand) {
    const runtime::TemplateRecord form = MainFormTemplate();
    // F1 is in table 100, F3 is not: F1 arrives as the accelerator's command, F3 as the key.
    app.onMessage = [](HWND window, UINT message, WPARAM wParam, LPARAM) {
        if (message == runtime::FRM_CREATED) {
            PostMessageA(window, WM_KEYDOWN, VK_F3, 1);
            PostMessageA(window, WM_KEYDOWN, VK_F1, 1);
        }
        if (message == WM_COMMAND && LOWORD(wParam) == kAcceleratorCommand) PostMessageA(window, WM_CLOSE, 0, 0);
    };
    const auto [code, elapsed] = Run(form);
    EXPECT_EQ(code, 0);
    EXPECT_LT(elapsed, kWatchdogMs);
    const auto commands = app.All(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), kAcceleratorCommand);
    EXPECT_EQ(HIWORD(commands[0].wParam), 1) << "1 marks a command from an accelerator";
    const auto keys = app.All(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u) << "only the key without an accelerator is dispatched as a key";
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_F3));
}

TEST_P(MessageLoop, AMainFormThatCannotBeBuiltEndsTheLoopAtOnce) {
    runtime::TemplateRecord form = MainFormTemplate();
    form.Style = WS_CHILD | WS_VISIBLE;  // a child window without a parent cannot be created
    const auto [code, elapsed] = Run(form);
    EXPECT_EQ(code, 0);
    EXPECT_LT(elapsed, 1000u) << "the loop did not wait for messages";
    EXPECT_EQ(runtime::workBlock, nullptr) << "the runtime is shut down all the same";
}

TEST_P(MessageLoop, AMainFormRefusedByTheApplicationEndsTheLoopAtOnce) {
    const runtime::TemplateRecord form = MainFormTemplate();
    app.answers[runtime::FRM_CREATED] = -1;
    const auto [code, elapsed] = Run(form);
    EXPECT_EQ(code, 0);
    EXPECT_LT(elapsed, 1000u) << "the loop did not wait for messages";
    EXPECT_EQ(app.Count(WM_DESTROY), 1) << "the refused form was destroyed";
}

TEST_P(MessageLoop, WithoutAMainFormTheLoopEndsAtOnce) {
    runtime::SetMainForm(nullptr);
    Watch watch;
    EXPECT_EQ(runtime::RunMessageLoop(GetModuleHandleA(nullptr), 0, nullptr, SW_SHOWNORMAL), 0);
    EXPECT_EQ(runtime::workBlock, nullptr);
}

TEST_P(MessageLoop, TheMainFormIsTheCurrentFormListEntry) {
    const runtime::TemplateRecord form = MainFormTemplate();
    uint32_t entry = 0;
    app.onMessage = [&entry](HWND window, UINT message, WPARAM, LPARAM) {
        if (message != runtime::FRM_CREATED) return;
        if (runtime::currentFormEntry != nullptr) entry = *runtime::currentFormEntry;
        PostMessageA(window, WM_CLOSE, 0, 0);
    };
    Run(form);
    EXPECT_EQ(entry, runtime::ToSlot(&form));
}

}  // namespace
