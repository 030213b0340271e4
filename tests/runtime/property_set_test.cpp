// Changing properties: what the setters refuse (and that a refusal changes nothing), and what
// each accepted change does to the window as the system sees it.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "builder_test_resources.h"
#include "built_form_fixture.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_drawing.h"
#include "runtime/property/property_getters.h"
#include "runtime/property/property_layout.h"
#include "runtime/property/property_setters.h"
#include "runtime/property/property_texts.h"
#include "runtime/property/property_values.h"
#include "runtime/template/template_values.h"
#include "tests/support/message_sequence.h"
#include "tests/support/window_messages.h"

namespace {

using buildertest::FormTemplate;
using buildertest::WindowText;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;

// The controls of the test form, by Index.
enum : int32_t {
    kLabel = 1,
    kEdit,
    kCheck,
    kScroll,
    kProgress,
    kTrackbar,
    kUpDown,
    kGroup,
    kGroupEdit,
    kLeftPicture,
    kTopStatus,
    kButton,
    kImage,
    kOption,
};

class BUILDER_SUITE(PropertySet) : public buildertest::BuiltFormTest {
protected:
    void SetUp() override {
        BuiltFormTest::SetUp();
        FormTemplate& form = template_;
        form.Form().WindowProc = runtimetest::ScriptedAppSlot();
        auto add = [&](int32_t type, int32_t index, int32_t left, int32_t top, uint32_t style = WS_VISIBLE) {
            return form.Add(form.Control(type, index, "Control", left, top, 100, 24, style));
        };
        form.At(add(class_code::Label, kLabel, 5, 5)).Text = form.Text("Hi");
        form.At(add(class_code::TextBox, kEdit, 5, 35)).Text = form.Text("COM12345");
        add(class_code::CheckBox, kCheck, 5, 65, WS_VISIBLE | BS_AUTOCHECKBOX);
        form.At(add(class_code::ScrollBar, kScroll, 5, 95)).Max = 100;
        add(class_code::ProgressBar, kProgress, 5, 125);
        add(class_code::Trackbar, kTrackbar, 5, 155);
        add(class_code::UpDown, kUpDown, 5, 185);
        const std::size_t group = add(class_code::GroupBox, kGroup, 150, 5);
        form.At(group).Height = 80;
        form.At(group).ControlCount = 1;
        add(class_code::TextBox, kGroupEdit, 10, 20);
        form.At(add(class_code::PictureBox, kLeftPicture, 300, 5)).DockSide = runtime::dock_side::Left;
        form.At(add(class_code::StatusBar, kTopStatus, 300, 50, WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE))
            .DockSide = runtime::dock_side::Top;
        add(class_code::PushButton, kButton, 150, 100);
        add(class_code::Image, kImage, 150, 130, WS_VISIBLE | SS_ICON);
        add(class_code::OptionButton, kOption, 150, 160, WS_VISIBLE | BS_AUTORADIOBUTTON);
        form.Form().ControlCount = 13;
        ASSERT_NE(Build(form), nullptr);
        foreign_ = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        if (IsWindow(foreign_)) DestroyWindow(foreign_);
        BuiltFormTest::TearDown();
    }

    RuntimeRecord* RecordOf(HWND window) const { return runtime::FindWindowRecord(window); }

    // The template outlives the form: the records keep the addresses of its names.
    FormTemplate template_{runtime::form_kind::Window, 600, 400};
    HWND foreign_ = nullptr;
};

// A record's bytes, to show that a refused change left it alone.
std::array<unsigned char, sizeof(RuntimeRecord)> Snapshot(HWND window) {
    std::array<unsigned char, sizeof(RuntimeRecord)> bytes{};
    if (const RuntimeRecord* record = runtime::FindWindowRecord(window))
        std::memcpy(bytes.data(), record, bytes.size());
    return bytes;
}

// The offset of the first slot that differs between two snapshots; -1 when none does.
int FirstChangedSlot(const std::array<unsigned char, sizeof(RuntimeRecord)>& before,
                     const std::array<unsigned char, sizeof(RuntimeRecord)>& after) {
    for (std::size_t offset = 0; offset < before.size(); offset += 4) {
        if (std::memcmp(&before[offset], &after[offset], 4) != 0) return static_cast<int>(offset);
    }
    return -1;
}

RECT PlaceInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    if (GetParent(window) != nullptr) {
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

TEST_F(BUILDER_SUITE(PropertySet), RefusedChangesChangeNothing) {
    using Change = std::function<int32_t()>;
    const struct {
        const char* name;
        HWND target;
        Change change;
    } cases[] = {
        {"Align of a label", Control(kLabel), [&] { return runtime::SetAlign(Control(kLabel), 1); }},
        {"Align 5", Control(kLeftPicture), [&] { return runtime::SetAlign(Control(kLeftPicture), 5); }},
        {"Align -1", Control(kTopStatus), [&] { return runtime::SetAlign(Control(kTopStatus), -1); }},
        {"AutoSize of an edit", Control(kEdit), [&] { return runtime::SetAutoSize(Control(kEdit), 1); }},
        {"CursorKind 15", Control(kEdit), [&] { return runtime::SetCursorKind(Control(kEdit), 15); }},
        {"CursorKind -1", Control(kEdit), [&] { return runtime::SetCursorKind(Control(kEdit), -1); }},
        {"Default of a label", Control(kLabel), [&] { return runtime::SetDefault(Control(kLabel), 1); }},
        {"FocusFrame of a check box", Control(kCheck), [&] { return runtime::SetFocusFrame(Control(kCheck), 1); }},
        {"ButtonStyle of a label", Control(kLabel), [&] { return runtime::SetButtonStyle(Control(kLabel), 1); }},
        {"LineWidth of an edit", Control(kEdit), [&] { return runtime::SetLineWidth(Control(kEdit), 2); }},
        {"PictureOption of a label", Control(kLabel),
         [&] { return runtime::SetPictureOption(Control(kLabel), 1); }},
        {"FontSize 0", Control(kLabel), [&] { return runtime::SetFontSize(Control(kLabel), 0); }},
        {"FontSize -8", form_, [&] { return runtime::SetFontSize(form_, -8); }},
        {"Icon of a control", Control(kButton), [&] { return runtime::SetIcon(Control(kButton), kIcon); }},
        {"SmallIcon of a control", Control(kImage), [&] { return runtime::SetSmallIcon(Control(kImage), kIcon); }},
        {"MaxLength of a label", Control(kLabel), [&] { return runtime::SetMaxLength(Control(kLabel), 3); }},
        {"PasswordChar of a label", Control(kLabel),
         [&] { return runtime::SetPasswordChar(Control(kLabel), '*'); }},
        {"Max of a label", Control(kLabel), [&] { return runtime::SetMax(Control(kLabel), 9); }},
        {"Min of an edit", Control(kEdit), [&] { return runtime::SetMin(Control(kEdit), 1); }},
        {"Value 2 of a check box", Control(kCheck), [&] { return runtime::SetValue(Control(kCheck), 2); }},
        {"Value -1 of an option", Control(kOption), [&] { return runtime::SetValue(Control(kOption), -1); }},
        {"Value above a scroll bar's Max", Control(kScroll),
         [&] { return runtime::SetValue(Control(kScroll), 101); }},
        {"Value below a scroll bar's Min", Control(kScroll),
         [&] { return runtime::SetValue(Control(kScroll), -1); }},
        {"Value of a label", Control(kLabel), [&] { return runtime::SetValue(Control(kLabel), 1); }},
        {"ScrollBarOption of a progress bar", Control(kProgress),
         [&] { return runtime::SetScrollBarOption(Control(kProgress), 3); }},
        {"RightToLeft of an image", Control(kImage), [&] { return runtime::SetRightToLeft(Control(kImage), 1); }},
        {"ScrollBars 4", Control(kEdit), [&] { return runtime::SetScrollBars(Control(kEdit), 4); }},
        {"ScrollBars of a label", Control(kLabel), [&] { return runtime::SetScrollBars(Control(kLabel), 1); }},
        {"WindowState 3", form_, [&] { return runtime::SetWindowState(form_, 3); }},
        {"WindowState -2", form_, [&] { return runtime::SetWindowState(form_, -2); }},
        {"WindowState of a control", Control(kEdit), [&] { return runtime::SetWindowState(Control(kEdit), 1); }},
        {"Height of a left-docked picture", Control(kLeftPicture),
         [&] { return runtime::SetHeight(Control(kLeftPicture), 50); }},
        {"Width of a top-docked status bar", Control(kTopStatus),
         [&] { return runtime::SetWidth(Control(kTopStatus), 50); }},
        {"Left of a docked picture", Control(kLeftPicture),
         [&] { return runtime::SetLeft(Control(kLeftPicture), 9); }},
        {"Top of a docked status bar", Control(kTopStatus),
         [&] { return runtime::SetTop(Control(kTopStatus), 9); }},
        {"CurrentX 32768", form_, [&] { return runtime::SetCurrentX(form_, 32768); }},
        {"CurrentY of a label", Control(kLabel), [&] { return runtime::SetCurrentY(Control(kLabel), 1); }},
        {"a box of kind 3", form_, [&] { return runtime::DrawLineBox(form_, 1, 1, 5, 5, 0, 3); }},
        {"Enabled of a foreign window", foreign_, [&] { return runtime::SetEnabled(foreign_, 0); }},
        {"Visible of a foreign window", foreign_, [&] { return runtime::SetVisible(foreign_, 1); }},
        {"Left of a foreign window", foreign_, [&] { return runtime::SetLeft(foreign_, 3); }},
        {"FontBold of a foreign window", foreign_, [&] { return runtime::SetFontBold(foreign_, 1); }},
        {"TabStop of a foreign window", foreign_, [&] { return runtime::SetTabStop(foreign_, 1); }},
        {"Text of a foreign window", foreign_, [&] { return runtime::SetTextA(foreign_, "y"); }},
        {"an ellipse on a foreign window", foreign_,
         [&] { return runtime::DrawEllipse(foreign_, 0, 0, 5, 5, 0); }},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.target, nullptr) << c.name;
        const auto record = Snapshot(c.target);
        const RECT place = PlaceInParent(c.target);
        const LONG_PTR style = GetWindowLongPtrW(c.target, GWL_STYLE);
        const bool visible = IsWindowVisible(c.target) != FALSE;
        EXPECT_EQ(c.change(), 0) << c.name;
        EXPECT_EQ(FirstChangedSlot(record, Snapshot(c.target)), -1) << c.name << ": the record is as it was";
        const RECT now = PlaceInParent(c.target);
        EXPECT_TRUE(EqualRect(&place, &now)) << c.name << ": the window stays where it was";
        EXPECT_EQ(GetWindowLongPtrW(c.target, GWL_STYLE), style) << c.name;
        EXPECT_EQ(IsWindowVisible(c.target) != FALSE, visible) << c.name;
        EXPECT_EQ(WindowText(foreign_), L"x") << c.name;
    }
}

TEST_F(BUILDER_SUITE(PropertySet), PlaceAndSizeMoveTheWindowAndStayInTheRecord) {
    const struct {
        const char* name;
        HWND target;
        int32_t (*change)(HWND, int32_t);
        int32_t (*read)(HWND);
        int32_t value;
        LONG RECT::*edge;   // the edge that moves, or the far edge of the extent that changes
        LONG RECT::*start;  // null for a move
    } cases[] = {
        {"Left of an edit", Control(kEdit), runtime::SetLeft, runtime::GetLeft, 33, &RECT::left, nullptr},
        {"Top of an edit", Control(kEdit), runtime::SetTop, runtime::GetTop, 44, &RECT::top, nullptr},
        {"Width of an edit", Control(kEdit), runtime::SetWidth, runtime::GetWidth, 77, &RECT::right, &RECT::left},
        {"Height of an edit", Control(kEdit), runtime::SetHeight, runtime::GetHeight, 31, &RECT::bottom,
         &RECT::top},
        {"Width of a left-docked picture", Control(kLeftPicture), runtime::SetWidth, runtime::GetWidth, 60,
         &RECT::right, &RECT::left},
        {"Height of a top-docked status bar", Control(kTopStatus), runtime::SetHeight, runtime::GetHeight, 30,
         &RECT::bottom, &RECT::top},
        {"Left of the form, on the screen", form_, runtime::SetLeft, runtime::GetLeft, 50, &RECT::left, nullptr},
        {"Height of the form", form_, runtime::SetHeight, runtime::GetHeight, 250, &RECT::bottom, &RECT::top},
    };
    for (const auto& c : cases) {
        const RECT before = PlaceInParent(c.target);
        ASSERT_EQ(c.change(c.target, c.value), 1) << c.name;
        RECT expected = before;
        if (c.start == nullptr) {
            // A move keeps the size.
            const LONG shift = c.value - before.*c.edge;
            OffsetRect(&expected, c.edge == &RECT::left ? shift : 0, c.edge == &RECT::top ? shift : 0);
        } else {
            expected.*c.edge = expected.*c.start + c.value;
        }
        const RECT after = PlaceInParent(c.target);
        EXPECT_TRUE(EqualRect(&after, &expected))
            << c.name << ": " << after.left << "," << after.top << " - " << after.right << "," << after.bottom;
        EXPECT_EQ(c.read(c.target), c.value) << c.name;
    }
}

TEST_F(BUILDER_SUITE(PropertySet), PlaceAndSizeInTwips) {
    FormTemplate form;
    form.Form().ScaleMode = runtime::scale_mode::Twips;
    form.Form().Width = 300 * runtime::twipsPerPixelX;
    form.Form().Height = 200 * runtime::twipsPerPixelY;
    TemplateRecord edit = form.Control(class_code::TextBox, 1, "Edit", 150, 150, 1500, 300);
    edit.ScaleMode = runtime::scale_mode::Twips;
    form.Add(edit);
    form.Form().ControlCount = 1;
    ASSERT_NE(Build(form), nullptr);
    HWND control = Control(1);
    ASSERT_EQ(runtime::SetWidth(control, 90 * runtime::twipsPerPixelX), 1);
    ASSERT_EQ(runtime::SetLeft(control, 20 * runtime::twipsPerPixelX), 1);
    const RECT place = PlaceInParent(control);
    EXPECT_EQ(place.right - place.left, 90);
    EXPECT_EQ(place.left, 20);
    EXPECT_EQ(runtime::GetWidth(control), 90 * runtime::twipsPerPixelX) << "read back in twips";
}

TEST_F(BUILDER_SUITE(PropertySet), DockingTurnsABarAlongItsSideAndLaysItOut) {
    testsupport::MessageRecorder relayouts({runtime::FRM_RELAYOUT});
    HWND bar = Control(kTopStatus);
    relayouts.Watch(bar);
    RECT client{};
    GetClientRect(form_, &client);
    const LONG pictureRight = PlaceInParent(Control(kLeftPicture)).right;

    ASSERT_EQ(runtime::SetAlign(bar, runtime::dock_side::Left), 1);
    const RuntimeRecord* record = RecordOf(bar);
    EXPECT_EQ(runtime::GetAlign(bar), runtime::dock_side::Left);
    const auto style = static_cast<uint32_t>(GetWindowLongPtrW(bar, GWL_STYLE));
    EXPECT_EQ(style & (CCS_VERT | CCS_TOP), static_cast<uint32_t>(CCS_VERT)) << std::hex << style;
    RECT place = PlaceInParent(bar);
    EXPECT_EQ(place.right - place.left, 24) << "its height became its width";
    EXPECT_EQ(place.left, pictureRight) << "beside the picture docked left before it";
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.bottom, client.bottom) << "down the whole side";
    EXPECT_EQ(record->Width, 24);
    EXPECT_EQ(record->Height, client.bottom);
    ASSERT_EQ(relayouts.messages().size(), 1u) << "the parent is asked to lay out again";
    EXPECT_EQ(relayouts.messages()[0].wParam, 1u) << "its parent's layout";

    ASSERT_EQ(runtime::SetAlign(bar, runtime::dock_side::Bottom), 1);
    EXPECT_EQ(GetWindowLongPtrW(bar, GWL_STYLE) & CCS_VERT, 0) << "horizontal again";
    place = PlaceInParent(bar);
    EXPECT_EQ(place.bottom - place.top, 24) << "its width became its height again";
    EXPECT_EQ(place.bottom, client.bottom);
    EXPECT_EQ(place.left, 0) << "across the whole bottom";
    EXPECT_EQ(place.right, client.right);
    EXPECT_EQ(record->Height, 24);
}

TEST_F(BUILDER_SUITE(PropertySet), ScrollBarsAndReadingOrderAreWindowStyles) {
    HWND edit = Control(kEdit);
    const struct {
        int32_t bars;
        LONG_PTR styles;
    } bars[] = {{1, WS_HSCROLL}, {2, WS_VSCROLL}, {3, WS_HSCROLL | WS_VSCROLL}, {0, 0}};
    for (const auto& c : bars) {
        ASSERT_EQ(runtime::SetScrollBars(edit, c.bars), 1) << c.bars;
        EXPECT_EQ(GetWindowLongPtrW(edit, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), c.styles) << c.bars;
        EXPECT_EQ(runtime::GetScrollBars(edit), c.bars);
    }
    HWND label = Control(kLabel);
    ASSERT_EQ(runtime::SetRightToLeft(label, 1), 1);
    EXPECT_NE(GetWindowLongPtrW(label, GWL_EXSTYLE) & WS_EX_RTLREADING, 0) << "right to left reading";
    EXPECT_EQ(runtime::GetRightToLeft(label), 1);
    ASSERT_EQ(runtime::SetRightToLeft(label, 0), 1);
    EXPECT_EQ(GetWindowLongPtrW(label, GWL_EXSTYLE) & WS_EX_RTLREADING, 0) << "left to right";
}

// The range of a control as the control itself reports it.
struct ControlRange {
    int32_t low;
    int32_t high;
    int32_t position;
};

ControlRange RangeOf(HWND window, int32_t type) {
    switch (type) {
        case class_code::ProgressBar:
            return {static_cast<int32_t>(SendMessageW(window, PBM_GETRANGE, TRUE, 0)),
                    static_cast<int32_t>(SendMessageW(window, PBM_GETRANGE, FALSE, 0)),
                    static_cast<int32_t>(SendMessageW(window, PBM_GETPOS, 0, 0))};
        case class_code::Trackbar:
            return {static_cast<int32_t>(SendMessageW(window, TBM_GETRANGEMIN, 0, 0)),
                    static_cast<int32_t>(SendMessageW(window, TBM_GETRANGEMAX, 0, 0)),
                    static_cast<int32_t>(SendMessageW(window, TBM_GETPOS, 0, 0))};
        case class_code::UpDown: {
            INT low = 0;
            INT high = 0;
            SendMessageW(window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
            return {low, high, static_cast<int32_t>(SendMessageW(window, UDM_GETPOS32, 0, 0))};
        }
        default: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(window, SB_CTL, &info);
            return {info.nMin, info.nMax, info.nPos};
        }
    }
}

TEST_F(BUILDER_SUITE(PropertySet), RangesAndPositionsGoToTheControlWhole) {
    const struct {
        int32_t index;
        int32_t type;
    } kinds[] = {{kScroll, class_code::ScrollBar},
                 {kProgress, class_code::ProgressBar},
                 {kTrackbar, class_code::Trackbar},
                 {kUpDown, class_code::UpDown}};
    for (const auto& k : kinds) {
        HWND control = Control(k.index);
        ASSERT_EQ(runtime::SetMax(control, 70000), 1) << k.type;
        ASSERT_EQ(runtime::SetMin(control, -40000), 1) << k.type;
        ASSERT_EQ(runtime::SetValue(control, 65537), 1) << k.type;
        const ControlRange range = RangeOf(control, k.type);
        EXPECT_EQ(range.low, -40000) << "type " << k.type;
        EXPECT_EQ(range.high, 70000) << "type " << k.type;
        EXPECT_EQ(range.position, 65537) << "type " << k.type;
        EXPECT_EQ(runtime::GetMin(control), -40000) << "type " << k.type;
        EXPECT_EQ(runtime::GetMax(control), 70000) << "type " << k.type;
        EXPECT_EQ(runtime::GetValue(control), 65537) << "type " << k.type;
    }
    HWND scroll = Control(kScroll);
    ASSERT_EQ(runtime::SetScrollBarOption(scroll, 7), 1);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(scroll, SB_CTL, &info);
    EXPECT_EQ(info.nPage, 7u);
    EXPECT_EQ(info.nPos, 65537) << "the page leaves the position where it was";

    for (const int32_t index : {kCheck, kOption}) {
        HWND button = Control(index);
        for (const int32_t state : {1, 0}) {
            ASSERT_EQ(runtime::SetValue(button, state), 1);
            EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), state) << "button " << index;
            EXPECT_EQ(runtime::GetValue(button), state) << "button " << index;
        }
    }
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

TEST_F(BUILDER_SUITE(PropertySet), FontsAreMadeAgainFromTheirSlots) {
    HWND label = Control(kLabel);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const struct {
        const char* name;
        std::function<int32_t()> change;
        std::function<bool(const LOGFONTW&)> holds;
    } cases[] = {
        {"bold", [&] { return runtime::SetFontBold(label, 1); },
         [](const LOGFONTW& f) { return f.lfWeight == FW_BOLD; }},
        {"italic", [&] { return runtime::SetFontItalic(label, 1); },
         [](const LOGFONTW& f) { return f.lfItalic != 0; }},
        {"underline", [&] { return runtime::SetFontUnderline(label, 1); },
         [](const LOGFONTW& f) { return f.lfUnderline != 0; }},
        {"strikeout", [&] { return runtime::SetFontStrikeout(label, 1); },
         [](const LOGFONTW& f) { return f.lfStrikeOut != 0; }},
        {"12 points", [&] { return runtime::SetFontSize(label, 12); },
         [&](const LOGFONTW& f) { return f.lfHeight == -MulDiv(12, dpi, 72); }},
        {"Arial", [&] { return runtime::SetFontNameA(label, "Arial"); },
         [](const LOGFONTW& f) { return std::wstring(f.lfFaceName) == L"Arial"; }},
        {"not bold", [&] { return runtime::SetFontBold(label, 0); },
         [](const LOGFONTW& f) { return f.lfWeight == FW_NORMAL && f.lfItalic != 0; }},
    };
    for (const auto& c : cases) {
        const auto previous = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
        ASSERT_EQ(c.change(), 1) << c.name;
        const LOGFONTW font = FontOf(label);
        EXPECT_TRUE(c.holds(font)) << c.name << ": weight " << font.lfWeight << ", height " << font.lfHeight;
        EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), static_cast<LRESULT>(RecordOf(label)->FontHandle))
            << c.name;
        EXPECT_EQ(GetObjectType(previous), 0u) << c.name << ": the previous font is deleted";
    }
    EXPECT_EQ(runtime::GetFontBold(label), 0);
    EXPECT_EQ(runtime::GetFontItalic(label), 1);
    EXPECT_EQ(runtime::GetFontSize(label), 12);
}

TEST_F(BUILDER_SUITE(PropertySet), TextLimitAndPasswordCharacter) {
    HWND edit = Control(kEdit);
    ASSERT_EQ(runtime::SetMaxLength(edit, 4), 1);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(WindowText(edit), L"COM1") << "a longer text is cut";
    EXPECT_EQ(buildertest::RuntimeText(RecordOf(edit)->Text), L"COM1") << "and so is the record's copy";
    EXPECT_EQ(runtime::GetMaxLength(edit), 4) << "the limit is kept";
    ASSERT_EQ(runtime::SetMaxLength(edit, 0), 1);
    EXPECT_EQ(WindowText(edit), L"COM1") << "the system's limit cuts nothing";
    EXPECT_GT(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 4);
    ASSERT_EQ(runtime::SetPasswordChar(edit, '#'), 1);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_EQ(runtime::GetPasswordChar(edit), '#');
}

TEST_F(BUILDER_SUITE(PropertySet), EnablingAGroupBoxReachesItsControls) {
    HWND group = Control(kGroup);
    HWND inner = Control(kGroupEdit);
    // The form acts on the notice itself; its application procedure is not asked.
    testsupport::MessageSequence sequence;
    sequence.Name(form_, "form");
    ASSERT_EQ(runtime::SetEnabled(group, 0), 1);
    EXPECT_FALSE(IsWindowEnabled(group));
    EXPECT_FALSE(IsWindowEnabled(inner)) << "the group box passes the flag on";
    EXPECT_EQ(runtime::GetEnabled(inner), 0);
    EXPECT_NE(RecordOf(group)->Style & WS_DISABLED, 0u) << "the style is read back";
    std::vector<HWND> told;
    // Each control once, in the order first told (WM_ENABLE of each repeats the notice).
    for (const testsupport::SeenMessage& seen : sequence.recorded()) {
        const auto control = reinterpret_cast<HWND>(seen.lParam);
        if (seen.message != runtime::FRM_FOCUSNEXT || std::find(told.begin(), told.end(), control) != told.end()) continue;
        told.push_back(control);
    }
    EXPECT_EQ(told, (std::vector<HWND>{group, inner})) << "the form is told of each disabled control";
    ASSERT_EQ(runtime::SetEnabled(group, -1), 1);
    EXPECT_TRUE(IsWindowEnabled(inner));
    EXPECT_EQ(runtime::GetEnabled(group), 1) << "any non-zero flag enables";
}

TEST_F(BUILDER_SUITE(PropertySet), TheDefaultButtonIsToldToTheForm) {
    HWND button = Control(kButton);
    // The form acts on DM_SETDEFID itself; its application procedure is not asked.
    testsupport::MessageSequence sequence;
    sequence.Name(form_, "form");
    auto told = [&] {
        std::vector<WPARAM> ids;
        for (const testsupport::SeenMessage& seen : sequence.recorded()) {
            if (seen.message == DM_SETDEFID) ids.push_back(seen.wParam);
        }
        return ids;
    };
    ASSERT_EQ(runtime::SetDefault(button, 1), 1);
    EXPECT_EQ(told(), std::vector<WPARAM>{static_cast<WPARAM>(1000 + kButton)});
    EXPECT_EQ(RecordOf(form_)->DefaultButton, runtime::ToSlot(button)) << "the form took it as its default";
    sequence.Clear();
    RecordOf(form_)->DefaultButton = 0;
    ASSERT_EQ(runtime::SetDefault(button, 0), 1);
    EXPECT_TRUE(told().empty()) << "a button that is not the default one changes nothing";
    RecordOf(form_)->DefaultButton = runtime::ToSlot(button);
    ASSERT_EQ(runtime::SetDefault(button, 0), 1);
    EXPECT_EQ(told(), std::vector<WPARAM>{0u}) << "the form loses its default button";
    EXPECT_EQ(RecordOf(form_)->DefaultButton, 0u);
}

TEST_F(BUILDER_SUITE(PropertySet), IconsReachTheWindow) {
    ASSERT_EQ(runtime::SetIcon(form_, kIcon), 1);
    ASSERT_EQ(runtime::SetSmallIcon(form_, kIcon), 1);
    const LRESULT big = SendMessageW(form_, WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(big, 0);
    EXPECT_EQ(big, runtime::GetIcon(form_));
    EXPECT_EQ(SendMessageW(form_, WM_GETICON, ICON_SMALL, 0), runtime::GetSmallIcon(form_));
    ASSERT_EQ(runtime::SetIcon(form_, kMissingMenu), 1);
    EXPECT_EQ(runtime::GetIcon(form_), kMissingMenu) << "a resource that does not load stays a reference";
    EXPECT_EQ(SendMessageW(form_, WM_GETICON, ICON_BIG, 0), big) << "and the window keeps its icon";
}

TEST_F(BUILDER_SUITE(PropertySet), WindowStatesAreShownAtOnce) {
    struct Case {
        int32_t state;
        std::function<bool()> shown;
    };
    const auto normal = [&] { return IsWindowVisible(form_) && !IsZoomed(form_) && !IsIconic(form_); };
    // (A form minimised from maximised would be restored to maximised, as the system does.)
    const Case cases[] = {
        {2, [&] { return IsZoomed(form_) != FALSE; }},
        {0, normal},
        {1, [&] { return IsIconic(form_) != FALSE; }},
        {-1, [&] { return IsWindowVisible(form_) == FALSE; }},
        {0, normal},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(runtime::SetWindowState(form_, c.state), 1) << c.state;
        EXPECT_TRUE(c.shown()) << "state " << c.state << ": visible " << IsWindowVisible(form_) << ", zoomed "
                               << IsZoomed(form_) << ", iconic " << IsIconic(form_);
        EXPECT_EQ(runtime::GetWindowState(form_), c.state);
    }
}

TEST_F(BUILDER_SUITE(PropertySet), TheTimerTicksUntilItIsStopped) {
    runtimetest::app.seen.clear();
    ASSERT_EQ(runtime::SetTimerInterval(form_, 20), 2);
    EXPECT_EQ(runtime::GetTimerInterval(form_), 20);
    const bool ticked = testsupport::PumpMessagesUntil([] { return runtimetest::app.Count(WM_TIMER) > 0; }, 2000);
    ASSERT_TRUE(ticked) << "WM_TIMER arrives";
    EXPECT_EQ(runtimetest::app.All(WM_TIMER)[0].wParam, 2u) << "from timer 2";
    EXPECT_EQ(runtime::SetTimerInterval(form_, 0), 0);
    runtimetest::TakeQueuedMessages();
    runtimetest::app.seen.clear();
    testsupport::PumpMessagesUntil([] { return false; }, 100);
    EXPECT_EQ(runtimetest::app.Count(WM_TIMER), 0) << "none after the stop";
}

LOGPEN PenOf(const RuntimeRecord& record) {
    LOGPEN pen{};
    GetObjectW(runtime::SlotAs<HPEN>(record.Pen), sizeof pen, &pen);
    return pen;
}

TEST_F(BUILDER_SUITE(PropertySet), ThePenKeepsItsStyleAndWidthThroughAColourChange) {
    ASSERT_EQ(runtime::SetLineWidth(form_, 3), 1);
    ASSERT_EQ(runtime::SetLineStyle(form_, PS_DASH), 1);
    ASSERT_EQ(runtime::SetForeColor(form_, 0x0000FF), 1);
    const LOGPEN pen = PenOf(*RecordOf(form_));
    EXPECT_EQ(pen.lopnWidth.x, 3);
    EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(pen.lopnColor, 0x0000FFu);
    EXPECT_EQ(runtime::GetLineWidth(form_), 3);
    EXPECT_EQ(runtime::GetLineStyle(form_), PS_DASH);
}

TEST_F(BUILDER_SUITE(PropertySet), StoredValuesReadBack) {
    const struct {
        const char* name;
        int32_t (*change)(HWND, int32_t);
        int32_t (*read)(HWND);
        HWND target;
        int32_t value;
    } cases[] = {
        {"CursorKind", runtime::SetCursorKind, runtime::GetCursorKind, Control(kEdit), 14},
        {"TabStop", runtime::SetTabStop, runtime::GetTabStop, Control(kEdit), 0},
        {"FocusFrame", runtime::SetFocusFrame, runtime::GetFocusFrame, Control(kButton), 1},
        {"ButtonStyle", runtime::SetButtonStyle, runtime::GetButtonStyle, Control(kButton), 3},
        {"PictureOption", runtime::SetPictureOption, runtime::GetPictureOption, Control(kLeftPicture), 1},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.change(c.target, c.value), 1) << c.name;
        EXPECT_EQ(c.read(c.target), c.value) << c.name;
    }
    HWND edit = Control(kEdit);
    ASSERT_EQ(runtime::SetMouseCursor(edit, kIcon), 1);
    const auto cursor = static_cast<uint32_t>(runtime::GetMouseCursor(edit));
    EXPECT_GE(cursor, runtime::kFirstImageHandle) << "the resource is loaded";
}

TEST_F(BUILDER_SUITE(PropertySet), AutoSizeFitsALabelToItsCaption) {
    HWND label = Control(kLabel);
    ASSERT_EQ(runtime::SetAutoSize(label, 1), 1);
    RECT client{};
    GetClientRect(label, &client);
    EXPECT_EQ(client.right, buildertest::MeasureInFontOf(label, L"Hi").size.cx) << "as wide as its caption";
    EXPECT_EQ(runtime::GetAutoSize(label), 1);
}

}  // namespace
