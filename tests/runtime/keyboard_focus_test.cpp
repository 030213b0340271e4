// Keyboard and focus at a declared form, with real key events: the Tab cycle through the form
// and its group box, arrows and option buttons, Enter and Esc, Alt+letter, the default button
// and its look, and the focus given back when the form is activated again, also after a box
// of its own.

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "input_form_fixture.h"
#include "runtime/property/property_layout.h"
#include "runtime/window/owned_box.h"
#include "tests/support/message_box_hook.h"

namespace inputtest {
namespace {

using testsupport::PressKey;

// Tab stops 0, 1, 4, 6, 10; label 2 is a tab stop that hands the focus on; group 3, edit 7
// (no TabStop), hidden edit 8, disabled button 9 and option 5 (unchecked) are passed over.
// Edit 11 takes Enter as a new line; it scrolls down, since a one-line-high edit that does not
// refuses a second line.
const std::vector<Row> kNavigationForm = {
    {0, cc::TextBox, "", kEditStyle, 1},
    {1, cc::PushButton, "&Go", kButtonStyle, 1, 0, 1},
    {2, cc::Label, "&Name", WS_VISIBLE, 1},
    {3, cc::GroupBox, "Group", WS_VISIBLE, 0, 3},
    {4, cc::OptionButton, "A", WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, 1, 0, 1},
    {5, cc::OptionButton, "B", WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
    {6, cc::CheckBox, "C", WS_VISIBLE | BS_AUTOCHECKBOX, 1},
    {7, cc::TextBox, "", kEditStyle, 0},
    {8, cc::TextBox, "", kEditStyle & ~WS_VISIBLE, 1},
    {9, cc::PushButton, "Off", kButtonStyle | WS_DISABLED, 1},
    {10, cc::PushButton, "Cancel", kButtonStyle, 1, 0, 2},
    {11, cc::TextBox, "", kEditStyle | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0},
};

// The whole cycle both ways, the Shift state coming from the key events themselves; a form
// without an application procedure navigates the same.
TEST_F(InputTest, TabAndShiftTabCycleThroughTheTabStopsAndWrap) {
    const std::vector<int32_t> forwards = {1, 4, 6, 10, 0, 1};
    const std::vector<int32_t> backwards = {10, 6, 4, 1, 0, 10};
    for (const bool withApp : {true, false}) {
        ASSERT_NE(BuildRows(kNavigationForm, withApp), nullptr);
        Focus(0);
        std::vector<int32_t> seen;
        for (std::size_t i = 0; i < forwards.size(); ++i) {
            PressKey(VK_TAB);
            seen.push_back(FocusedIndex());
        }
        EXPECT_EQ(seen, forwards) << "Tab with app procedure " << withApp << ": " << Describe(seen);
        Focus(0);
        seen.clear();
        for (std::size_t i = 0; i < backwards.size(); ++i) {
            PressKey(VK_TAB, {VK_SHIFT});
            seen.push_back(FocusedIndex());
        }
        EXPECT_EQ(seen, backwards) << "Shift+Tab with app procedure " << withApp << ": " << Describe(seen);
        DestroyWindow(form_);
    }
}

TEST_F(InputTest, ArrowsMoveThroughTheTabOrderAndSelectTheOptionTheyReach) {
    struct Case {
        int32_t from;
        WORD key;
        int32_t focused;
        int32_t checkedOption;  // the option button checked afterwards
    };
    const Case cases[] = {
        {4, VK_DOWN, 5, 5}, {5, VK_RIGHT, 6, 5}, {6, VK_UP, 5, 5}, {5, VK_LEFT, 4, 4}, {1, VK_RIGHT, 4, 4},
    };
    ASSERT_NE(BuildRows(kNavigationForm), nullptr);
    for (const Case& c : cases) {
        Focus(c.from);
        PressKey(c.key);
        const int32_t checked = IsDlgButtonChecked(Control(3), 1005) == BST_CHECKED ? 5
                                : IsDlgButtonChecked(Control(3), 1004) == BST_CHECKED ? 4 : -1;
        EXPECT_EQ(FocusedIndex(), c.focused) << "key " << c.key << " from " << c.from;
        EXPECT_EQ(checked, c.checkedOption) << "key " << c.key << " from " << c.from;
    }
}

// The Enter and Esc keys and characters that a control's own procedure receives after the
// runtime's row, in order with the form's commands.
std::vector<std::string> order;
std::map<HWND, WNDPROC> ownProcs;
LRESULT CALLBACK SpyClassProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept {
    if (id == WM_KEYDOWN && wParam == VK_RETURN) order.push_back("key at " + std::to_string(GetDlgCtrlID(window)));
    if (id == WM_CHAR && (wParam == '\r' || wParam == VK_ESCAPE)) {
        order.push_back("char at " + std::to_string(GetDlgCtrlID(window)));
    }
    return CallWindowProcA(ownProcs[window], window, id, wParam, lParam);
}

// The control's own class procedure, as the runtime calls it, replaced by the spy.
void Spy(HWND control) {
    runtime::RuntimeRecord* record = runtime::FindWindowRecord(control);
    ownProcs[control] = runtime::SlotAs<WNDPROC>(record->ClassProc);
    record->ClassProc = runtime::ToSlot(&SpyClassProc);
}

// Enter in the multi-line edit that wants it only starts a new line there; everywhere else it
// presses a button and leaves no character behind in an edit.
TEST_F(InputTest, EnterAndEscPressTheFocusedDefaultOrCancelButton) {
    struct Case {
        const char* name;
        int32_t focused;
        WORD key;
        std::vector<std::string> expected;
        const char* focusedText;  // the focused control's text afterwards
    };
    const Case cases[] = {
        {"Enter in a single-line edit", 0, VK_RETURN, {"command 1001", "key at 1000"}, ""},
        {"Enter in a want-return edit", 11, VK_RETURN, {"key at 1011", "char at 1011"}, "\r\n"},
        {"Enter on the focused cancel button", 10, VK_RETURN, {"command 1010", "key at 1010"}, "Cancel"},
        {"Enter on a check box", 6, VK_RETURN, {"command 1001", "key at 1006"}, "C"},
        {"Esc", 0, VK_ESCAPE, {"command 1010"}, ""},
    };
    ASSERT_NE(BuildRows(kNavigationForm), nullptr);
    for (int32_t spied : {0, 6, 10, 11}) Spy(Control(spied));
    for (const Case& c : cases) {
        SetWindowTextA(Control(0), "");
        SetWindowTextA(Control(11), "");
        Focus(c.focused);
        order.clear();
        runtimetest::app.onMessage = [&](HWND, UINT id, WPARAM wParam, LPARAM lParam) {
            if (id != WM_COMMAND || HIWORD(wParam) != BN_CLICKED || lParam == 0) return;
            EXPECT_EQ(reinterpret_cast<HWND>(lParam), GetDlgItem(form_, LOWORD(wParam))) << c.name;
            order.push_back("command " + std::to_string(LOWORD(wParam)));
        };
        PressKey(c.key);
        std::string all;
        for (const std::string& seen : order) all += seen + "; ";
        EXPECT_EQ(order, c.expected) << c.name << ": " << all;
        char text[16] = {};
        GetWindowTextA(Control(c.focused), text, sizeof text);
        EXPECT_STREQ(text, c.focusedText) << c.name;
    }
}

TEST_F(InputTest, EscWithoutACancelButtonAndEnterOnAButtonThatTheApplicationDestroys) {
    std::vector<Row> rows(kNavigationForm.begin(), kNavigationForm.end() - 2);
    ASSERT_NE(BuildRows(rows), nullptr);
    Focus(0);
    PressKey(VK_ESCAPE);
    const auto clicks = std::count_if(commands_.begin(), commands_.end(), [](const Command& c) { return c.code == BN_CLICKED; });
    EXPECT_EQ(clicks, 0) << "Esc without a cancel button pressed a button";

    // The application destroys the button it is told about; its own procedure never hears the
    // key afterwards.
    Spy(Control(1));
    order.clear();
    runtimetest::app.onMessage = [&](HWND, UINT id, WPARAM wParam, LPARAM lParam) {
        if (id == WM_COMMAND && LOWORD(wParam) == 1001) {
            order.push_back("command 1001");
            DestroyWindow(reinterpret_cast<HWND>(lParam));
        }
    };
    Focus(1);
    PressKey(VK_RETURN);
    std::string all;
    for (const std::string& seen : order) all += seen + "; ";
    EXPECT_EQ(order, std::vector<std::string>{"command 1001"}) << "seen: " << all;
    EXPECT_EQ(Control(1), nullptr) << "the button is gone";
    EXPECT_TRUE(IsWindow(form_));
}

// Enter on a push button inside a container presses that button, not the form's default (0),
// though the key reaches the form through the container.
TEST_F(InputTest, EnterOnAPushButtonInsideAContainerPressesThatButton) {
    for (const int32_t container : {cc::GroupBox, cc::PictureBox}) {
        ASSERT_NE(BuildRows({{0, cc::PushButton, "Default", kButtonStyle, 1, 0, 1},
                             {1, container, "Box", WS_VISIBLE, 0, 1},
                             {2, cc::PushButton, "Inner", kButtonStyle, 1}}),
                  nullptr);
        Focus(2);
        commands_.clear();
        PressKey(VK_RETURN);
        EXPECT_EQ(commands_, (std::vector<Command>{{1002, BN_CLICKED, reinterpret_cast<LPARAM>(Control(2))}}))
            << "container " << container << ": " << commands_.size() << " commands, the first for "
            << (commands_.empty() ? 0 : commands_[0].id);
        DestroyWindow(form_);
    }
}

// Only buttons a click could reach are pressed by Enter and Esc; enabling the focused control
// leaves the focus where it is, disabling it moves the focus on.
TEST_F(InputTest, DisabledButtonsAreNotPressedAndOnlyADisabledControlGivesTheFocusAway) {
    ASSERT_NE(BuildRows(kNavigationForm), nullptr);
    EnableWindow(Control(1), FALSE);
    EnableWindow(Control(10), FALSE);
    for (const WORD key : {static_cast<WORD>(VK_RETURN), static_cast<WORD>(VK_ESCAPE)}) {
        Focus(0);
        commands_.clear();
        PressKey(key);
        const auto clicks =
            std::count_if(commands_.begin(), commands_.end(), [](const Command& c) { return c.code == BN_CLICKED; });
        EXPECT_EQ(clicks, 0) << "key " << key << " pressed a disabled button";
    }
    struct Case {
        int32_t enabled;
        int32_t focusAfter;
    };
    for (const Case c : {Case{1, 6}, Case{0, 0}}) {
        Focus(6);
        runtime::SetEnabled(Control(6), c.enabled);
        EXPECT_EQ(FocusedIndex(), c.focusAfter) << "check box enabled " << c.enabled;
    }
}

// A form whose only tab stop is a label keeps the focus itself, however often Tab is pressed.
TEST_F(InputTest, WithoutTabStopsTheFocusStaysOnTheForm) {
    ASSERT_NE(BuildRows({{0, cc::Label, "L", WS_VISIBLE, 1}, {1, cc::GroupBox, "G", WS_VISIBLE, 1}}), nullptr);
    EXPECT_EQ(FocusedIndex(), -1) << "after creation";
    for (const bool shift : {false, true, false}) {
        PressKey(VK_TAB, shift ? std::initializer_list<WORD>{VK_SHIFT} : std::initializer_list<WORD>{});
        EXPECT_EQ(FocusedIndex(), -1) << "after Tab, shift " << shift;
    }
    Focus(0);
    EXPECT_EQ(FocusedIndex(), -1) << "the label handed the focus back to the form";
}

// Index 2 is the default button; 5 and 6 are other push buttons; 0 an edit.
const std::vector<Row> kDefaultForm = {
    {0, cc::TextBox, "", kEditStyle, 1},
    {2, cc::PushButton, "Two", kButtonStyle, 1, 0, 1},
    {5, cc::PushButton, "Five", kButtonStyle, 1},
    {6, cc::PushButton, "Six", kButtonStyle, 1},
};

TEST_F(InputTest, TheDefaultButtonIsReadMovedAndItsLookFollowsTheFocus) {
    struct Step {
        const char* action;  // "focus" an index, or "setdefid" an identifier
        int32_t value;
        LRESULT defId;
        std::vector<int32_t> looking;  // the buttons with BS_DEFPUSHBUTTON
    };
    const Step steps[] = {
        {"focus", 0, 0x534B03EA, {2}},       {"focus", 5, 0x534B03EA, {5}},   {"focus", 0, 0x534B03EA, {2}},
        {"setdefid", 1006, 0x534B03EE, {6}}, {"focus", 5, 0x534B03EE, {5}},   {"setdefid", 1002, 0x534B03EA, {5}},
        {"focus", 0, 0x534B03EA, {2}},       {"setdefid", 1005, 0x534B03ED, {5}}, {"setdefid", 0, 0, {}},
    };
    for (const bool withApp : {true, false}) {
        ASSERT_NE(BuildRows(kDefaultForm, withApp), nullptr);
        for (const Step& s : steps) {
            if (std::string(s.action) == "focus") {
                Focus(s.value);
            } else {
                EXPECT_EQ(SendMessageA(form_, DM_SETDEFID, s.value, 0), 1);
            }
            std::vector<int32_t> looking;
            for (int32_t index : {2, 5, 6}) {
                if ((GetWindowLongA(Control(index), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON) looking.push_back(index);
            }
            const std::string step = std::string(s.action) + " " + std::to_string(s.value) + " app " +
                                     std::to_string(withApp);
            EXPECT_EQ(SendMessageA(form_, DM_GETDEFID, 0, 0), s.defId) << step;
            EXPECT_EQ(looking, s.looking) << step << ": " << Describe(looking);
        }
        DestroyWindow(form_);
    }
}

// Buttons 1 "&Xray" and 3 "E&xit" (disabled), label 2 "&Label", edits 0 and 4, tab control 5.
const std::vector<Row> kMnemonicForm = {
    {0, cc::TextBox, "", kEditStyle, 1},
    {1, cc::PushButton, "&Xray", kButtonStyle, 1},
    {2, cc::Label, "&Label", WS_VISIBLE, 0},
    {3, cc::PushButton, "E&xit", kButtonStyle | WS_DISABLED, 1},
    {4, cc::TextBox, "", kEditStyle, 1},
    {5, cc::TabControl, "", WS_VISIBLE, 1},
};

TEST_F(InputTest, AltWithALetterFocusesOrClicksTheControlWhoseCaptionCarriesIt) {
    struct Case {
        int32_t focused;
        char letter;
        int32_t focusAfter;
        std::vector<WORD> commands;
        std::vector<UINT> notifications;
        int32_t tab;  // the selected tab afterwards
    };
    const Case cases[] = {
        {0, 'x', 1, {1001}, {}, 0},  // the button after the focus is clicked
        {1, 'x', 1, {1001}, {}, 0},  // from the button itself: past the disabled one, round to it
        {0, 'l', 4, {}, {}, 0},      // the label hands the focus to the next tab stop
        {0, 'b', 5, {}, {TCN_SELCHANGING, TCN_SELCHANGE}, 1},
        {4, 'q', 4, {}, {}, 0},  // no caption carries it: nothing moves
    };
    ASSERT_NE(BuildRows(kMnemonicForm), nullptr);
    for (const char* tab : {"&Alpha", "&Beta"}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tab);  // the control copies the text
        SendMessageA(Control(5), TCM_INSERTITEMA, SendMessageA(Control(5), TCM_GETITEMCOUNT, 0, 0),
                     reinterpret_cast<LPARAM>(&item));
    }
    for (const Case& c : cases) {
        Focus(c.focused);
        SendMessageA(Control(5), TCM_SETCURSEL, 0, 0);
        commands_.clear();
        notifications_.clear();
        SendMessageA(form_, WM_SYSCOMMAND, SC_KEYMENU, c.letter);
        testsupport::SettleMessages();
        std::vector<WORD> ids;
        for (const Command& command : commands_) {
            if (command.code == BN_CLICKED) ids.push_back(command.id);
        }
        std::vector<UINT> tabs;
        for (UINT code : notifications_) {
            if (code == TCN_SELCHANGING || code == TCN_SELCHANGE) tabs.push_back(code);
        }
        const std::string name = std::string("Alt+") + c.letter + " from " + std::to_string(c.focused);
        EXPECT_EQ(FocusedIndex(), c.focusAfter) << name;
        EXPECT_EQ(ids, c.commands) << name << ": " << ids.size() << " clicks";
        EXPECT_EQ(tabs, c.notifications) << name << ": " << tabs.size() << " notifications";
        EXPECT_EQ(SendMessageA(Control(5), TCM_GETCURSEL, 0, 0), c.tab) << name;
    }
}

// The form is deactivated by another window and activated again: the focus comes back to the
// control that had it.
TEST_F(InputTest, AReactivatedFormGivesTheFocusBackToTheSameControl) {
    ASSERT_NE(BuildRows(kNavigationForm), nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 10, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    for (int32_t index : {0, 6, 10, 1}) {
        Focus(index);
        ASSERT_TRUE(testsupport::BringToFront(other));
        EXPECT_NE(FocusedIndex(), index) << "the other window has the focus";
        ASSERT_TRUE(testsupport::BringToFront(form_));
        EXPECT_EQ(FocusedIndex(), index) << "focus after reactivation";
    }
    DestroyWindow(other);
}

// While a box owned by the form is up, the foreground goes elsewhere, and the box ends without
// giving it back (as when the display's late news of a box closed by another program
// deactivates the form). A foreground left to nobody (the desktop) is taken back: the form is
// active again with the focus on the control that had it. Another window keeps it.
TEST_F(InputTest, AFormThatItsBoxLeftInactiveIsActiveAgainUnlessAnotherWindowTookTheForeground) {
    ASSERT_NE(BuildRows(kNavigationForm), nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 10, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    const struct {
        const char* name;
        HWND foreground;  // where the foreground goes while the box is up
        bool formActive;  // afterwards
    } cases[] = {{"the desktop", GetDesktopWindow(), true}, {"another window", other, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(testsupport::BringToFront(form_));
        Focus(6);
        testsupport::MessageBoxHook box(
            [&](const testsupport::BoxRecord&, std::size_t) { SetForegroundWindow(c.foreground); });
        runtime::ShowOwnedBox(form_, "text", "caption", MB_OK);
        ASSERT_EQ(box.boxes().size(), 1u) << c.name;
        EXPECT_EQ(box.boxes()[0].owner, form_) << c.name;
        EXPECT_EQ(GetForegroundWindow() == form_, c.formActive) << c.name;
        EXPECT_EQ(GetActiveWindow() == form_, c.formActive) << c.name;
        if (c.formActive) {
            EXPECT_EQ(FocusedIndex(), 6) << c.name;
        } else {
            EXPECT_FALSE(IsChild(form_, GetFocus())) << c.name << ": the form took the focus back";
        }
    }
    DestroyWindow(other);
}

}  // namespace
}  // namespace inputtest
