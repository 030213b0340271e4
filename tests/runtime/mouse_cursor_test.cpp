// Mouse and cursor at a declared form: the cursor of each cursor code, the wait cursor that
// stays up, the group box that receives the mouse, the hyperlink label's hover colour and the
// hot owner-drawn push button, with real pointer moves.

#include <map>

#include "input_form_fixture.h"
#include "runtime/paint/theme_support.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/wait_cursor.h"
#include "tests/support/message_sequence.h"
#include "tests/support/window_messages.h"

namespace inputtest {
namespace {

using testsupport::MovePointerTo;

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kHoverColour = RGB(255, 0, 0);

// Label 0 (cursor codes), edit 1, group box 2 with nothing inside, hyperlink label 3,
// owner-drawn push button 4.
const std::vector<Row> kMouseForm = {
    {0, cc::Label, "cursor", WS_VISIBLE | SS_NOTIFY, 0},
    {1, cc::TextBox, "", kEditStyle, 1},
    {2, cc::GroupBox, "Group", WS_VISIBLE, 0},
    {3, cc::Label, "link", WS_VISIBLE | SS_NOTIFY, 0},
    {4, cc::PushButton, "Hot", WS_VISIBLE | BS_OWNERDRAW, 1, 0, 4},
};

// WM_SETCURSOR as the system sends it while the mouse moves over `control`.
HCURSOR CursorShownOver(HWND control) {
    SetCursor(nullptr);
    const LRESULT result =
        SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(result, 1) << "WM_SETCURSOR is handled";
    return GetCursor();
}

TEST_F(InputTest, SetCursorShowsTheCursorOfEachCodeAndLeavesTheWaitCursorAlone) {
    struct Case {
        int32_t index;
        int32_t code;
        LPCSTR cursor;
    };
    const Case cases[] = {
        {0, 0, IDC_ARROW},       {0, 1, IDC_ARROW},     {0, 2, IDC_IBEAM},     {0, 3, IDC_WAIT},
        {0, 4, IDC_CROSS},       {0, 5, IDC_UPARROW},   {0, 6, IDC_SIZEALL},   {0, 7, IDC_SIZENWSE},
        {0, 8, IDC_SIZENESW},    {0, 9, IDC_SIZEWE},    {0, 10, IDC_SIZENS},   {0, 11, IDC_NO},
        {0, 12, IDC_APPSTARTING}, {0, 13, IDC_HELP},    {0, 15, IDC_ARROW},
        {1, 0, IDC_IBEAM},  // an edit without a code shows the I-beam
        {1, 4, IDC_CROSS},  // and its code when it has one
    };
    ASSERT_NE(BuildRows(kMouseForm), nullptr);
    for (const Case& c : cases) {
        RecordOf(c.index).CursorKind = c.code;
        EXPECT_EQ(CursorShownOver(Control(c.index)), LoadCursorA(nullptr, c.cursor))
            << "control " << c.index << " code " << c.code;
    }
    // The record's own cursor image.
    HCURSOR own = LoadCursorA(nullptr, IDC_HAND);
    RecordOf(0).CursorKind = 14;
    RecordOf(0).Cursor = runtime::ToSlot(own);
    EXPECT_EQ(CursorShownOver(Control(0)), own) << "code 14 with an image";

    // While the wait cursor is up nothing changes it.
    RecordOf(0).CursorKind = 4;
    runtime::BeginWaitCursor(form_);
    HCURSOR wait = GetCursor();
    EXPECT_EQ(SendMessageA(Control(0), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(0)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), wait) << "the wait cursor stayed";
    runtime::EndWaitCursor();
}

POINT MiddleOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return POINT{client.right / 2, client.bottom / 2};
}

// A point of the form's client area far from every control.
constexpr POINT kEmptyPlace{380, 400};

TEST_F(InputTest, TheGroupBoxReceivesTheMouseAndTheLinkChangesColourUnderIt) {
    ASSERT_NE(BuildRows(kMouseForm), nullptr);
    testsupport::MessageSequence sequence(testsupport::RuntimeWindowNames());
    MovePointerTo(Control(2), MiddleOf(Control(2)));
    testsupport::ClickLeft();
    EXPECT_TRUE(sequence.Matches({{"id 1002", WM_LBUTTONDOWN}, {"id 1002", WM_LBUTTONUP}}));

    runtime::RuntimeRecord& link = RecordOf(3);
    link.IsHyperlink = 1;
    link.ForeColor = kLinkColour;
    link.ForeColorRgb = kLinkColour;
    link.HoverColor = kHoverColour;
    struct Step {
        const char* where;
        HWND window;
        POINT point;
        COLORREF colour;
        bool captured;
    };
    const Step steps[] = {
        {"over the link", Control(3), MiddleOf(Control(3)), kHoverColour, true},
        {"still over it", Control(3), POINT{2, 2}, kHoverColour, true},
        {"away from it", form_, kEmptyPlace, kLinkColour, false},
    };
    for (const Step& s : steps) {
        MovePointerTo(s.window, s.point);
        EXPECT_EQ(link.ForeColorRgb, s.colour) << s.where << ": colour 0x" << std::hex << link.ForeColorRgb;
        EXPECT_EQ(GetCapture() == Control(3), s.captured) << s.where;
    }
}

// Themes as a themed system would have them: the library and its entries loaded, the
// manifest present and a system that draws visual styles. (The single place where the tests
// stand in for the theme support.)
class ThemesOn {
public:
    ThemesOn() : manifest_(runtime::manifestPresent), level_(runtime::OsLevel) {
        runtime::themeLibrary = LoadLibraryA("uxtheme.dll");
        runtime::openThemeData = GetProcAddress(runtime::themeLibrary, "OpenThemeData");
        runtime::drawThemeBackground = GetProcAddress(runtime::themeLibrary, "DrawThemeBackground");
        runtime::closeThemeData = GetProcAddress(runtime::themeLibrary, "CloseThemeData");
        runtime::manifestPresent = 1;
        runtime::OsLevel = 6;
    }
    ~ThemesOn() {
        runtime::UnloadThemeSupport();
        runtime::manifestPresent = manifest_;
        runtime::OsLevel = level_;
    }
    ThemesOn(const ThemesOn&) = delete;
    ThemesOn& operator=(const ThemesOn&) = delete;

private:
    int32_t manifest_;
    int32_t level_;
};

TEST_F(InputTest, TheOwnerDrawnButtonRepaintsHotOnceOnEnterAndOnceOnLeave) {
    struct Step {
        const char* where;
        POINT point;  // in the button, or (with x < 0) in the empty place of the form
        bool hot;
        int paints;  // WM_PAINT messages of the button so far
    };
    const Step steps[] = {
        {"onto the button", POINT{10, 8}, true, 1},
        {"inside it", POINT{30, 10}, true, 1},
        {"inside it again", POINT{12, 12}, true, 1},
        {"off it", POINT{-1, -1}, false, 2},
    };
    ASSERT_NE(BuildRows(kMouseForm), nullptr);
    HWND button = Control(4);
    for (const bool themed : {false, true}) {
        std::unique_ptr<ThemesOn> themes = themed ? std::make_unique<ThemesOn>() : nullptr;
        MovePointerTo(form_, kEmptyPlace);
        testsupport::MessageSequence sequence(testsupport::RuntimeWindowNames());
        for (const Step& s : steps) {
            if (s.point.x < 0) {
                MovePointerTo(form_, kEmptyPlace);
            } else {
                MovePointerTo(button, s.point);
            }
            // The system reports the leave from a timer of its own.
            const bool hot = themed && s.hot;
            testsupport::PumpMessagesUntil([&] { return (runtime::hotButton == button) == hot; }, 3000);
            int paints = 0;
            for (const testsupport::SeenMessage& seen : sequence.recorded()) {
                paints += seen.window == "id 1004" && seen.message == WM_PAINT ? 1 : 0;
            }
            EXPECT_EQ(runtime::hotButton == button, hot) << s.where << " themed " << themed;
            EXPECT_EQ(paints, themed ? s.paints : 0) << s.where << " themed " << themed;
        }
    }
}

// Two owner-drawn push buttons, one right below the other.
const std::vector<Row> kHoverForm = {
    {0, cc::PushButton, "A", WS_VISIBLE | BS_OWNERDRAW, 1, 0, 4},
    {1, cc::PushButton, "B", WS_VISIBLE | BS_OWNERDRAW, 1, 0, 4},
};

// The mouse goes straight from one owner-drawn button onto the other: the first is drawn normal
// again and the second hot (under Wine the move onto the second comes before the first's leave).
// A hot button that is destroyed is hot no longer.
TEST_F(InputTest, FromOneOwnerDrawnButtonOntoAnotherTheFirstRepaintsNormalAndTheSecondHot) {
    ASSERT_NE(BuildRows(kHoverForm), nullptr);
    const ThemesOn themes;
    HWND first = Control(0);
    HWND second = Control(1);
    // How each button was last drawn: hot or not.
    std::map<HWND, bool> lastDrawnHot;
    runtimetest::app.onMessage = [&](HWND, UINT id, WPARAM, LPARAM lParam) {
        if (id != WM_DRAWITEM) return;
        HWND button = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;  // the block WM_DRAWITEM carries
        lastDrawnHot[button] = runtime::hotButton == button;
    };
    const auto drawnAs = [&](HWND button) {
        const auto it = lastDrawnHot.find(button);
        return it == lastDrawnHot.end() ? "not drawn" : it->second ? "hot" : "normal";
    };
    MovePointerTo(form_, kEmptyPlace);
    MovePointerTo(first, POINT{10, 8});
    ASSERT_TRUE(testsupport::PumpMessagesUntil([&] { return runtime::hotButton == first; }, 3000));
    testsupport::SettleMessages();
    lastDrawnHot.clear();
    MovePointerTo(second, POINT{10, 8});
    testsupport::PumpMessagesUntil([&] { return lastDrawnHot.size() == 2; }, 3000);
    testsupport::SettleMessages();
    EXPECT_STREQ(drawnAs(first), "normal");
    EXPECT_STREQ(drawnAs(second), "hot");
    DestroyWindow(second);
    EXPECT_EQ(runtime::hotButton, nullptr) << "a destroyed button is still hot";
}

}  // namespace
}  // namespace inputtest
