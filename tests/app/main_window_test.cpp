// The main window procedure in the real main form, built by the runtime and driven by real
// messages: the About box from F1 and from the menu, the port buttons, their focus changes,
// closing, and socket events from a real connection to the listener it opens.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_commands.h"
#include "forms/resource_ids.h"
#include "main_form_session.h"
#include "tests/support/real_input.h"
#include "tests/web/web_test_harness.h"

namespace {

using apptest::FindControl;
using apptest::MainWindow;
using apptest::MainWindowUp;
using apptest::Step;
namespace id = forms::control_id;

// The WM_COMMAND wParams that reached the main window procedure, in order.
std::vector<WPARAM> commands;

LRESULT CALLBACK RecordingMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_COMMAND) commands.push_back(wParam);
    return app::MainWindowProc(window, message, wParam, lParam);
}

std::vector<WPARAM> CommandsFrom(int control) {
    std::vector<WPARAM> found;
    for (WPARAM wParam : commands) {
        if (LOWORD(wParam) == control) found.push_back(wParam);
    }
    return found;
}

// A file standing in for the serial device; its name fits the 5 characters of inputCom.
constexpr char kPortFile[] = "p.bin";

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { commands.clear(); }

    apptest::ProgramRuntime runtime_;
    testsupport::MessageBoxHook boxes_;
};

// The About box's text, as the operator reads it.
constexpr char kAboutBoxText[] =
    "http://www.mini-tarvo.example.org/\r\n\r\n3:51 AM 5/20/2012\r\n\r\n"
    "Idee: Tarvo Ilves\r\nImplementare: Mihai Dobre";

// Chooses "?" > "Despre / About\tF1" from the keyboard as a user does: Alt alone selects the
// menu bar (the default procedure turns it into SC_KEYMENU), Down opens "?" on its first item,
// Enter chooses it. The menu's own loop takes the keys from the queue.
void ChooseAboutFromTheMenu(HWND main) {
    constexpr LPARAM kAltContext = 1 << 29;
    PostMessageA(main, WM_SYSKEYDOWN, VK_MENU, kAltContext | 1);
    PostMessageA(main, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001u));
    for (const UINT key : {VK_DOWN, VK_RETURN}) {
        PostMessageA(main, WM_KEYDOWN, key, 1);
        PostMessageA(main, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }
}

// Presses F1 in a window of the program's thread that is not the main window's: the
// accelerator table still sends the command to the main window.
HWND otherWindow = nullptr;
void PressF1InAnotherWindow(HWND) {
    otherWindow = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    PostMessageA(otherWindow, WM_KEYDOWN, VK_F1, 1);
    PostMessageA(otherWindow, WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC0000001u));
}

void PressF1(HWND) { apptest::PostKey(VK_F1); }

// One way of asking for the About box, and the notification its command arrives with.
struct AboutWay {
    const char* name;
    void (*press)(HWND main);
    uint16_t notification;
};

// Each way runs the program's loop once, with a runtime of its own.
class AboutBoxTest : public MainWindowTest, public testing::WithParamInterface<AboutWay> {};

TEST_P(AboutBoxTest, ShowsTheAboutBoxOwnedByTheMainWindow) {
    const AboutWay& way = GetParam();
    HWND main = nullptr;
    apptest::ScriptedLoop loop({
        {"main window up", MainWindowUp, [&] {
             main = MainWindow();
             way.press(main);
         }},
        {"About box shown and closed", [&] { return boxes_.boxes().size() == 1 && !apptest::BoxOpen(); },
         [&] { PostMessageA(main, WM_CLOSE, 0, 0); }},
    });
    const int32_t exitCode = loop.Run(RecordingMainProc);
    if (otherWindow != nullptr) DestroyWindow(std::exchange(otherWindow, nullptr));
    EXPECT_TRUE(loop.Finished()) << "stalled at: " << loop.Stalled();
    EXPECT_FALSE(loop.TimedOut()) << "the window did not close by itself";
    EXPECT_EQ(exitCode, 0);

    const std::vector<WPARAM> about = CommandsFrom(forms::kAboutCommand);
    ASSERT_EQ(about.size(), 1u) << "command 40000 reached the procedure " << about.size() << " times";
    EXPECT_EQ(HIWORD(about[0]), way.notification) << "notification of command 40000";
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    const testsupport::BoxRecord& box = boxes_.boxes()[0];
    EXPECT_EQ(box.caption, "Mini-Tarvo Server pt CNC v0.3");
    EXPECT_EQ(box.text, kAboutBoxText);
    EXPECT_EQ(box.owner, main) << "the About box is owned by the main window";
}

INSTANTIATE_TEST_SUITE_P(
    F1AndTheMenuItem, AboutBoxTest,
    testing::Values(AboutWay{"F1InTheFocusedControl", PressF1, app::notification::Accelerator},
                    AboutWay{"F1InAnotherWindowOfTheThread", PressF1InAnotherWindow, app::notification::Accelerator},
                    AboutWay{"TheMenuItemChosenFromTheKeyboard", ChooseAboutFromTheMenu, app::notification::Menu}),
    [](const testing::TestParamInfo<AboutWay>& info) { return std::string(info.param.name); });

// Closes the main window with `message` once it is up; the loop must end by itself with 0.
void ExpectCloseEndsTheLoop(UINT message, WPARAM wParam, const testsupport::MessageBoxHook& boxes) {
    HWND main = nullptr;
    apptest::ScriptedLoop loop({
        {"main window up", MainWindowUp, [&] {
             main = MainWindow();
             PostMessageA(main, message, wParam, 0);
         }},
    });
    const int32_t exitCode = loop.Run();
    EXPECT_TRUE(loop.Finished()) << "stalled at " << loop.Stalled();
    EXPECT_FALSE(loop.TimedOut()) << "the window did not close by itself";
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(runtime::Application.MainWindow, 0u);
    EXPECT_TRUE(boxes.boxes().empty()) << "a box was shown: " << boxes.Texts()[0];
}

TEST_F(MainWindowTest, WmCloseEndsTheLoopWithExitCodeZero) {
    ExpectCloseEndsTheLoop(WM_CLOSE, 0, boxes_);
}

TEST_F(MainWindowTest, TheSystemMenusCloseEndsTheLoopWithExitCodeZero) {
    ExpectCloseEndsTheLoop(WM_SYSCOMMAND, SC_CLOSE, boxes_);
}

// Another program holds port 80: the window comes up all the same, the operator is told once
// why no browser can reach it, and the window still closes with exit code 0.
TEST_F(MainWindowTest, APort80HeldByAnotherProgramIsToldOnceAndTheWindowRuns) {
    const webtest::PortHolder holder(web::kHttpPort);
    ASSERT_TRUE(holder.Holding()) << "port 80 is not free for this test: " << holder.Error();

    HWND main = nullptr;
    apptest::ScriptedLoop loop({
        {"main window up", MainWindowUp, [&] { main = MainWindow(); }},
        {"the notice shown and dismissed", [&] { return boxes_.boxes().size() == 1 && !apptest::BoxOpen(); },
         [&] { PostMessageA(main, WM_CLOSE, 0, 0); }},
    });
    const int32_t exitCode = loop.Run();
    EXPECT_TRUE(loop.Finished()) << "stalled at: " << loop.Stalled();
    EXPECT_FALSE(loop.TimedOut()) << "the window did not close by itself";
    EXPECT_EQ(exitCode, 0);

    char expected[256];
    web::FormatListenerFailure({web::kHttpPort, web::ListenerStep::Bind, WSAEADDRINUSE}, expected);
    ASSERT_EQ(boxes_.boxes().size(), 1u) << "the operator should be told exactly once";
    EXPECT_EQ(boxes_.boxes()[0].caption, "Nasol :(");
    EXPECT_EQ(boxes_.boxes()[0].text, expected);
    EXPECT_EQ(boxes_.boxes()[0].owner, main) << "the notice is owned by the main window";
}

// The built main form, for tests that press its controls directly.
class BuiltMainWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        main_ = apptest::BuildMainForm(RecordingMainProc);
        ASSERT_NE(main_, nullptr);
        SetWindowTextA(FindControl(main_, id::inputCom), kPortFile);
    }
    void TearDown() override {
        if (IsWindow(main_)) DestroyWindow(main_);
        // The port file can only go once no handle holds it.
        motion::ClosePort();
    }

    HWND Control(int control) const { return FindControl(main_, control); }
    bool Enabled(int control) const { return IsWindowEnabled(Control(control)) != 0; }

    // ">", "!" and "Testeaza port" enabled, in that order.
    std::vector<bool> ButtonStates() const {
        return {Enabled(id::btnSetCom), Enabled(id::btnStopCom), Enabled(id::btnTest)};
    }

    void Click(int control) {
        ASSERT_TRUE(Enabled(control)) << "button " << control << " is disabled";
        SendMessageA(Control(control), BM_CLICK, 0, 0);
    }

    testsupport::TempFile port_{kPortFile};
    HWND main_ = nullptr;
};

const std::vector<bool> kDisconnected = {true, false, false};
const std::vector<bool> kConnected = {false, true, true};

TEST_F(BuiltMainWindowTest, FocusChangesAndDoubleClicksOnTheConnectButtonDoNotConnect) {
    HWND connect = Control(id::btnSetCom);
    SetFocus(connect);
    SetFocus(Control(id::inputLinie));
    SendMessageA(connect, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));

    // The notifications did reach the procedure; none of them connected.
    std::vector<WORD> codes;
    for (WPARAM wParam : CommandsFrom(id::btnSetCom)) codes.push_back(HIWORD(wParam));
    EXPECT_EQ(codes, (std::vector<WORD>{BN_SETFOCUS, BN_KILLFOCUS, BN_DBLCLK}));
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE) << "the port was opened";
    EXPECT_TRUE(boxes_.boxes().empty()) << "a box was shown: " << boxes_.Texts()[0];
    EXPECT_EQ(ButtonStates(), kDisconnected);
}

TEST_F(BuiltMainWindowTest, ConnectTestAndDisconnectButtons) {
    Click(id::btnSetCom);
    ASSERT_EQ(boxes_.Captions(), std::vector<std::string>{"SUCCES!"});
    EXPECT_EQ(boxes_.boxes()[0].owner, main_) << "the connect result is owned by the main window";
    EXPECT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ButtonStates(), kConnected);

    // "Testeaza port" has no action: no box, the same port, the same buttons, nothing written.
    const HANDLE open = motion::portHandle;
    Click(id::btnTest);
    const std::vector<WPARAM> test = CommandsFrom(id::btnTest);
    EXPECT_EQ(std::count(test.begin(), test.end(), MAKEWPARAM(id::btnTest, BN_CLICKED)), 1)
        << "the click reached the procedure";
    EXPECT_EQ(boxes_.boxes().size(), 1u) << "a box was shown: " << boxes_.Texts().back();
    EXPECT_EQ(motion::portHandle, open);
    EXPECT_EQ(ButtonStates(), kConnected);

    Click(id::btnStopCom);
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE) << "the port is still open";
    EXPECT_EQ(ButtonStates(), kDisconnected);
    EXPECT_EQ(boxes_.boxes().size(), 1u) << "disconnecting shows no box";
    EXPECT_EQ(port_.Read(), "") << "bytes were written to the port";
}

// The main window going away inside a step's box ends the line: no further box or byte.
TEST_F(BuiltMainWindowTest, DestroyingTheWindowDuringALineEndsIt) {
    Click(id::btnSetCom);
    ASSERT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    motion::motionRegisters = {};
    motion::machinePosition = {};
    testsupport::MessageBoxHook steps([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index == 1) DestroyWindow(main_);
    });
    const std::string request = "GET /s?e=1&X5 HTTP/1.1\r\n\r\n";
    EXPECT_TRUE(motion::InterpretMotionRequest(main_, request.data(), request.size()));
    EXPECT_FALSE(IsWindow(main_));
    EXPECT_EQ(steps.Texts(), (std::vector<std::string>{"0", "0"}));
    motion::ClosePort();
    EXPECT_EQ(port_.Read(), "B");
}

TEST_F(BuiltMainWindowTest, ConnectingToAMissingDeviceShowsTheFailureBox) {
    SetWindowTextA(Control(id::inputCom), "COM99");
    Click(id::btnSetCom);
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].caption, "Nasol :(");
    EXPECT_EQ(boxes_.boxes()[0].text, "Nu s-a putut conecta la port");
    EXPECT_EQ(boxes_.boxes()[0].owner, main_);
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Enabled(id::btnSetCom)) << "the connect button stays usable";
}

// The built main form with the listener it opened at its creation, and the reply files.
class ListeningMainWindowTest : public BuiltMainWindowTest {
protected:
    void SetUp() override {
        BuiltMainWindowTest::SetUp();
        ASSERT_EQ(web::ListenerPort(), web::kHttpPort)
            << "no listener on port 80 (is another program holding it, or may this test not bind it?)";
        webtest::StartWinsock();
    }

    // One connection to port 80 on loopback: sends `request`, returns the whole reply.
    std::string Exchange(std::string_view request) {
        webtest::LoopbackClient client(web::kHttpPort);
        EXPECT_TRUE(client.Connected()) << "connect error " << client.ConnectError();
        EXPECT_TRUE(client.Send(request));
        EXPECT_TRUE(webtest::AwaitClose(client)) << "no close; received \"" << client.Received() << "\"";
        return client.Received();
    }

    webtest::ReplyFiles files_;
};

TEST_F(ListeningMainWindowTest, ARequestForTheRootIsAnsweredWithFileA) {
    const std::string page = "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nfrom a";
    files_.Write(web::ReplyFile::A, page);
    EXPECT_EQ(Exchange("GET / HTTP/1.0\r\n\r\n"), page);
}

TEST_F(ListeningMainWindowTest, AMovementRequestFillsTheFieldsOfTheMainWindow) {
    const std::string reply = "HTTP/1.0 200 OK\r\n\r\nmoved";
    files_.Write(web::ReplyFile::S, reply);
    // No execute flag: the values are shown and nothing is stepped.
    EXPECT_EQ(Exchange("GET /s?e=0&X7&Y3&Z9 HTTP/1.0\r\n\r\n"), reply)
        << "C:\\s answers a movement request after start-up";
    EXPECT_TRUE(boxes_.boxes().empty()) << "a step was made: " << boxes_.Texts()[0];
    const struct {
        int control;
        const char* text;
    } fields[] = {{id::inputLinie, "0"}, {id::Edit1, "7"}, {id::Edit2, "3"}, {id::Edit3, "9"}};
    for (const auto& field : fields) {
        EXPECT_EQ(apptest::TextOf(Control(field.control)), field.text) << "field " << field.control;
    }
}

TEST_F(BuiltMainWindowTest, CloseOfAWindowThatIsNoFormIsLeftToTheRuntime) {
    // GetModalOwner answers -1 for a window that is not a runtime form: that is no owner, so
    // the close goes on and the port stays as it is.
    Click(id::btnSetCom);
    ASSERT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
    testsupport::TestWindow foreign{std::vector<testsupport::ControlSpec>{}};
    EXPECT_EQ(runtime::GetModalOwner(foreign.hwnd()), -1);
    EXPECT_EQ(app::MainWindowProc(foreign.hwnd(), WM_CLOSE, 0, 0), 0);
    EXPECT_NE(motion::portHandle, INVALID_HANDLE_VALUE) << "the port was closed";
    // The main form itself is not modal: its close is left to the runtime too.
    EXPECT_EQ(runtime::GetModalOwner(main_), 0);
    EXPECT_EQ(app::MainWindowProc(main_, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_NE(motion::portHandle, INVALID_HANDLE_VALUE);
}

// The operator's keyboard on the main window, as real key events: Tab and Shift+Tab go round
// its tab stops (the disabled "!" and "Testeaza port" and the labels passed over), Enter on ">"
// connects, and the focus is where it was once the About box has closed.
TEST_F(BuiltMainWindowTest, TheKeyboardGoesRoundTheWindowConnectsAndKeepsTheFocusOverTheAboutBox) {
    ASSERT_TRUE(testsupport::BringToFront(main_));
    const std::vector<int> cycle = {id::inputLinie, id::btnSetCom, id::Edit4, id::inputCom,
                                    id::Edit3,      id::Edit2,     id::Edit1};
    struct Round {
        const char* name;
        std::initializer_list<WORD> held;
        std::vector<int> expected;
    };
    const Round rounds[] = {
        {"Tab", {}, {cycle.begin() + 1, cycle.end()}},
        {"Shift+Tab", {VK_SHIFT}, {cycle.rbegin(), cycle.rend() - 1}},
    };
    for (const Round& round : rounds) {
        SetFocus(Control(id::inputLinie));
        std::vector<int> seen;
        std::string text;
        for (std::size_t i = 0; i < cycle.size(); ++i) {
            testsupport::PressKey(VK_TAB, round.held);
            seen.push_back(GetDlgCtrlID(GetFocus()));
            text += std::to_string(seen.back()) + " ";
        }
        std::vector<int> expected = round.expected;
        expected.push_back(id::inputLinie);  // and round to where it began
        EXPECT_EQ(seen, expected) << round.name << ": " << text;
    }

    SetFocus(Control(id::inputLinie));
    testsupport::PressKey(VK_TAB);
    ASSERT_EQ(GetDlgCtrlID(GetFocus()), id::btnSetCom);
    testsupport::PressKey(VK_RETURN);
    EXPECT_EQ(boxes_.Captions(), std::vector<std::string>{"SUCCES!"});
    EXPECT_EQ(ButtonStates(), kConnected);
    const std::vector<WPARAM> connect = CommandsFrom(id::btnSetCom);
    EXPECT_EQ(std::count(connect.begin(), connect.end(), MAKEWPARAM(id::btnSetCom, BN_CLICKED)), 1)
        << "one click from Enter";

    HWND focused = GetFocus();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(IsChild(main_, focused)) << "the focus left the disabled \">\" for a control of the window";
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(MT_COMMAND_ABOUT, 0), 0);
    testsupport::SettleMessages();
    ASSERT_EQ(boxes_.Captions().size(), 2u);
    EXPECT_EQ(boxes_.Captions()[1], app::kAboutCaption);
    EXPECT_EQ(GetFocus(), focused) << "focus on " << GetDlgCtrlID(GetFocus()) << ", was on " << GetDlgCtrlID(focused);
}

TEST_F(MainWindowTest, AModallyShownMainFormClosesWithItsPortAndResultTwo) {
    testsupport::TestWindow owner{std::vector<testsupport::ControlSpec>{}};
    testsupport::TempFile port(kPortFile);
    HWND main = nullptr;
    LONG_PTR result = 0;
    apptest::ScriptedLoop loop({
        {"modal form up", MainWindowUp, [&] {
             main = MainWindow();
             HWND input = FindControl(main, id::inputCom);
             SetWindowTextA(input, kPortFile);
             HWND connect = FindControl(main, id::btnSetCom);
             PostMessageA(main, WM_COMMAND, MAKEWPARAM(id::btnSetCom, BN_CLICKED), reinterpret_cast<LPARAM>(connect));
         }},
        {"port open", [&] { return motion::portHandle != INVALID_HANDLE_VALUE && !apptest::BoxOpen(); },
         [&] {
             EXPECT_FALSE(IsWindowEnabled(owner.hwnd())) << "the owner is disabled while the form is modal";
             PostMessageA(main, WM_CLOSE, 0, 0);
         }},
    });
    loop.Run([&] {
        result = runtime::BuildForm(forms::MainFormTemplate(app::MainWindowProc), owner.hwnd(), 1, 0).modalResult;
        return 0;
    });
    EXPECT_TRUE(loop.Finished()) << "stalled at: " << loop.Stalled();
    EXPECT_FALSE(loop.TimedOut()) << "the form did not close by itself";
    EXPECT_EQ(result, 2) << "the modal result";
    EXPECT_EQ(motion::portHandle, INVALID_HANDLE_VALUE) << "the port stays open after the form closed";
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner is enabled again";
    EXPECT_EQ(boxes_.Captions(), std::vector<std::string>{"SUCCES!"});
}

// Enter on ">" connects and shows "SUCCES!"; once the operator has read the box and pressed
// Enter on it, the focus is on the next tab stop, 1004, every time. Enter on "!" disconnects and
// leaves the focus on ">". From both, Tab moves on. Real key events, twenty rounds.
TEST_F(BuiltMainWindowTest, EnterOnConnectAndDisconnectLeavesTheFocusOnTheNextTabStop) {
    ASSERT_TRUE(testsupport::BringToFront(main_));
    testsupport::MessageBoxHook readAndEnter([](const testsupport::BoxRecord&, std::size_t) {
        testsupport::PumpMessagesUntil([] { return false; }, 100);
        testsupport::PressKey(VK_RETURN);
    });
    struct Step {
        WORD key;
        bool shift;
        int focus;  // where the focus is within a short wait
    };
    const Step round[] = {
        {VK_TAB, false, id::btnSetCom},   {VK_RETURN, false, id::Edit4},    {VK_TAB, false, id::inputCom},
        {VK_TAB, true, id::Edit4},        {VK_TAB, true, id::btnTest},      {VK_TAB, true, id::btnStopCom},
        {VK_RETURN, false, id::btnSetCom}, {VK_TAB, false, id::Edit4},      {VK_TAB, true, id::btnSetCom},
        {VK_TAB, true, id::inputLinie},
    };
    constexpr int kRounds = 20;
    SetFocus(Control(id::inputLinie));
    for (int i = 0; i < kRounds; ++i) {
        for (std::size_t step = 0; step < std::size(round); ++step) {
            const Step& s = round[step];
            testsupport::PressKey(s.key, s.shift ? std::initializer_list<WORD>{VK_SHIFT} : std::initializer_list<WORD>{});
            testsupport::PumpMessagesUntil([&] { return GetDlgCtrlID(GetFocus()) == s.focus; }, 2000);
            ASSERT_EQ(GetDlgCtrlID(GetFocus()), s.focus) << "round " << i << ", step " << step;
        }
    }
    EXPECT_EQ(readAndEnter.Captions(), std::vector<std::string>(kRounds, "SUCCES!"));
    EXPECT_EQ(ButtonStates(), kDisconnected);
}

}  // namespace
