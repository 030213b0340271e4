// The shared Windows test helpers behave as the tests that lean on them assume.
#include "tests/support/message_sequence.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

using testsupport::MessageBoxHook;
using Strings = std::vector<std::string>;

TEST(MessageBoxHook, RecordsAndDismissesBoxesNewestHookFirst) {
    testsupport::TestWindow window;
    MessageBoxHook outer;
    MessageBoxA(window.hwnd(), "one", "first", MB_OK);
    {
        MessageBoxHook inner;
        MessageBoxA(nullptr, "two", "second", MB_OK);
        EXPECT_EQ(inner.Texts(), Strings{"two"});
        EXPECT_EQ(inner.boxes().at(0).owner, nullptr);
    }
    MessageBoxA(nullptr, "three", "third", MB_OK);
    EXPECT_EQ(outer.Texts(), (Strings{"one", "three"}));
    EXPECT_EQ(outer.Captions(), (Strings{"first", "third"}));
    EXPECT_EQ(outer.boxes().at(0).owner, window.hwnd());
}

TEST(MessageBoxHook, ActionRunsWhileTheBoxShows) {
    std::vector<std::size_t> seen;
    bool boxWindowPresent = false;
    MessageBoxHook hook([&](const testsupport::BoxRecord& box, std::size_t index) {
        seen.push_back(index);
        boxWindowPresent = boxWindowPresent || FindWindowA("#32770", box.caption.c_str());
        // A box shown from inside a box is seen and dismissed too.
        if (index == 0) MessageBoxA(nullptr, "inner", "nested", MB_OK);
    });
    EXPECT_EQ(MessageBoxA(nullptr, "outer", "outer", MB_OK), IDOK);
    EXPECT_EQ(hook.Texts(), (Strings{"outer", "inner"}));
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(boxWindowPresent);
}

TEST(MessageRecorder, NestedRecordersBothSeeMessagesAndUnwindCleanly) {
    testsupport::TestWindow window;
    HWND button = window.Control(1001);
    testsupport::MessageRecorder outer({WM_ENABLE});
    outer.Watch(button);
    {
        testsupport::MessageRecorder inner({WM_ENABLE});
        inner.Watch(button);
        EnableWindow(button, TRUE);
        EXPECT_EQ(inner.ControlIds(), std::vector<int>{1001});
    }
    EnableWindow(button, FALSE);
    EXPECT_EQ(outer.ControlIds(), (std::vector<int>{1001, 1001}));
    EXPECT_EQ(outer.messages().at(1).wParam, static_cast<WPARAM>(FALSE));
    // The button still answers through its own procedure.
    EXPECT_EQ(window.Text(1001), "!");
}

TEST(TestWindow, PressReachesTheHandlerOnlyWhenEnabled) {
    std::vector<int> pressed;
    testsupport::TestWindow window(testsupport::MainFormControls(), [&](HWND, int id, int code) {
        if (code == BN_CLICKED) pressed.push_back(id);
    });
    EXPECT_TRUE(window.Press(1002));
    EXPECT_FALSE(window.Press(1001));
    EXPECT_FALSE(window.Press(1003));
    EXPECT_EQ(pressed, std::vector<int>{1002});
    EXPECT_EQ(window.Text(1005), "COM1");
    EXPECT_EQ(SendMessageA(window.Control(1005), EM_GETLIMITTEXT, 0, 0), 5);
}

TEST(PumpMessagesUntil, EndsWhenDoneOrAtItsBound) {
    bool clicked = false;
    testsupport::TestWindow window(testsupport::MainFormControls(),
                                   [&](HWND, int, int) { clicked = true; });
    // Posted, so only a message loop delivers it.
    PostMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window.Control(1002)));
    EXPECT_FALSE(clicked);
    EXPECT_TRUE(testsupport::PumpMessagesUntil([&] { return clicked; }, 2000));
    const testsupport::Stopwatch watch;
    EXPECT_FALSE(testsupport::PumpMessagesUntil([] { return false; }, 100));
    EXPECT_GE(watch.ElapsedMs(), 100.0);
    EXPECT_LT(watch.ElapsedMs(), 2000.0);
}

// The recorder sees sent and posted messages in order and compares only the kinds its table
// names; optional entries may be missing; the first difference is named.
TEST(MessageSequence, ComparesTheKindsItsTableNamesInOrder) {
    using testsupport::ExpectedMessage;
    namespace match = testsupport::match;
    testsupport::TestWindow window;
    testsupport::MessageSequence sequence;
    sequence.Name(window.hwnd(), "window");
    sequence.Name(window.Control(1002), "button");
    SendMessageA(window.Control(1002), WM_ENABLE, FALSE, 0);
    SendMessageA(window.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("a"));
    PostMessageA(window.hwnd(), WM_APP, 7, 8);
    PostMessageA(window.hwnd(), WM_APP, 9, 10);
    // A window without a name is left out.
    SendMessageA(window.Control(1000), WM_ENABLE, TRUE, 0);
    testsupport::PumpMessagesUntil([] { return false; }, 50);

    struct Case {
        const char* name;
        std::vector<ExpectedMessage> expected;
        bool matches;
        const char* difference;  // the start of the report when it does not match
    };
    const Case cases[] = {
        {"the whole sequence",
         {{"button", WM_ENABLE, match::WParam, FALSE},
          {"window", WM_SETTEXT},
          {"window", WM_APP, match::WParam | match::LParam, 7, 8},
          {"window", WM_APP, match::WParam | match::LParam, 9, 10}},
         true, ""},
        {"only the kinds named", {{"button", WM_ENABLE}, {"window", WM_APP}, {"window", WM_APP}}, true, ""},
        {"an optional entry that is missing",
         {{"button", WM_ENABLE}, {"window", WM_CLOSE, match::Optional}, {"window", WM_APP}, {"window", WM_APP}},
         true, ""},
        {"an optional entry that is there",
         {{"button", WM_ENABLE, match::Optional}, {"window", WM_APP}, {"window", WM_APP}},
         true, ""},
        {"a wrong parameter",
         {{"button", WM_ENABLE, match::WParam, TRUE}},
         false, "entry 0: expected button WM_ENABLE wParam 0x1, saw button WM_ENABLE wParam 0x0"},
        {"a message that does not come",
         {{"button", WM_ENABLE}, {"window", WM_CLOSE}, {"window", WM_APP}},
         false, "entry 1: expected window WM_CLOSE, saw window WM_APP+0 wParam 0x7"},
        {"a message the table does not expect",
         {{"window", WM_APP, match::WParam, 7}},
         false, "after the last entry: saw window WM_APP+0 wParam 0x9"},
        {"more than came",
         {{"button", WM_ENABLE}, {"button", WM_ENABLE}},
         false, "entry 1: expected button WM_ENABLE, saw the end of the sequence"},
    };
    for (const Case& c : cases) {
        const ::testing::AssertionResult result = sequence.Matches(c.expected);
        EXPECT_EQ(static_cast<bool>(result), c.matches) << c.name << ": " << result.message();
        if (!c.matches) {
            EXPECT_EQ(std::string(result.message()).rfind(c.difference, 0), 0u) << c.name << ": " << result.message();
        }
    }
    const std::vector<testsupport::SeenMessage>& recorded = sequence.recorded();
    const auto app = std::find_if(recorded.begin(), recorded.end(),
                                  [](const testsupport::SeenMessage& m) { return m.message == WM_APP; });
    ASSERT_NE(app, recorded.end());
    EXPECT_TRUE(app->posted) << "the posted message is recorded as it is taken from the queue";
}

}  // namespace
