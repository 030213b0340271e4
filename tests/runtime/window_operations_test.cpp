// The runtime window procedure's operations under Wine: the tab order through a form's
// containers and the default-button look.

#include "window_proc_fixture.h"

#include <map>
#include <string>

#include "runtime/build/build_support.h"
#include "runtime/build/record_values.h"
#include "runtime/property/property_setters.h"
#include "runtime/window/window_operations.h"

namespace {

using namespace windowproctest;

// A form whose controls are declared by a table: where each lives, its Index, kind and state.
class TabOrderForm {
public:
    struct Control {
        const char* name;
        const char* parent;  // "form" or a container's name
        int32_t index;
        int32_t type;
        int32_t tabStop;
        bool visible;
        bool enabled;
        bool checked;
    };

    TabOrderForm(HWND form, std::initializer_list<Control> controls) : form_(form) {
        windows_["form"] = form;
        for (const Control& c : controls) {
            RuntimeRecord* record = NewRecord(c.type);
            record->TabStop = c.tabStop;
            record->Index = c.index;
            HWND parent = windows_.at(c.parent);
            HWND window = nullptr;
            if (c.type == class_code::GroupBox) {
                window = CreateBound(record, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, parent, 0, 5, 5, 200, 150);
            } else if (c.type == class_code::PictureBox) {
                window = CreateBound(record, RuntimeClass::Picture, WS_CHILD | WS_VISIBLE, parent, 0, 5, 160, 200, 60);
            } else {
                const bool option = c.type == class_code::OptionButton;
                const char* systemClass = c.type == class_code::TextBox || c.type == class_code::Label
                                              ? (c.type == class_code::Label ? "STATIC" : "EDIT")
                                              : "BUTTON";
                window = runtimetest::AttachControl(record, systemClass, option ? BS_AUTORADIOBUTTON : 0, parent,
                                                    c.index, 10, 10 + 20 * c.index, 60, 18);
            }
            record->Index = c.index;
            if (!c.visible) ShowWindow(window, SW_HIDE);
            if (!c.enabled) EnableWindow(window, FALSE);
            if (c.checked) SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
            windows_[c.name] = window;
            names_[window] = c.name;
        }
    }

    HWND operator[](const std::string& name) const { return windows_.at(name); }
    std::string NameOf(HWND window) const {
        if (window == form_) return "form";
        const auto found = names_.find(window);
        return found != names_.end() ? found->second : "<unknown window>";
    }

private:
    HWND form_;
    std::map<std::string, HWND> windows_;
    std::map<HWND, std::string> names_;
};

TEST_P(WindowProc, TheTabOrderRunsByIndexThroughTheContainers) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    // name, parent, Index, kind, TabStop, visible, enabled, checked
    const TabOrderForm controls(form, {
        {"label", "form", 0, class_code::Label, 0, true, true, false},
        {"edit", "form", 1, class_code::TextBox, 1, true, true, false},
        {"group", "form", 2, class_code::GroupBox, 0, true, true, false},
        {"option3", "group", 3, class_code::OptionButton, 0, true, true, false},
        {"option4", "group", 4, class_code::OptionButton, 1, true, true, true},
        {"option5", "group", 5, class_code::OptionButton, 0, true, true, false},
        {"button", "form", 6, class_code::PushButton, 1, true, true, false},
        {"hidden", "form", 7, class_code::TextBox, 1, false, true, false},
        {"disabled", "form", 8, class_code::TextBox, 1, true, false, false},
        {"picture", "form", 9, class_code::PictureBox, 0, true, true, false},
        {"inner", "picture", 10, class_code::TextBox, 1, true, true, false},
    });
    const struct {
        int32_t start;
        int32_t backwards, arrow, initial;
        const char* found;
    } cases[] = {
        {0, 0, 0, 0, "edit"},
        {2, 0, 0, 0, "option4"},    // through the group box; only the checked option is a tab stop
        {5, 0, 0, 0, "button"},
        {7, 0, 0, 0, "inner"},      // hidden and disabled controls are passed over, into the picture
        {11, 0, 0, 0, "edit"},      // past the last: round to the first
        {5, 1, 0, 0, "option4"},
        {0, 1, 0, 0, "inner"},      // Shift+Tab from the first control wraps to the last
        {-1, 1, 0, 0, "inner"},
        {9, 1, 0, 0, "button"},
        {3, 0, 0, 1, "option4"},    // an option button stands for the checked one of its group
        {5, 0, 0, 1, "option4"},
    };
    for (const auto& c : cases) {
        HWND found = runtime::NextTabStop(form, c.start, c.backwards, c.arrow, c.initial);
        EXPECT_EQ(controls.NameOf(found), c.found)
            << "from " << c.start << (c.backwards ? " backwards" : "") << (c.initial ? " initial" : "");
    }

    // An arrow key selects the option button it reaches.
    EXPECT_EQ(controls.NameOf(runtime::NextTabStop(form, 5, 0, 1, 0)), "option5");
    EXPECT_EQ(SendMessageA(controls["option5"], BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(controls["option4"], BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // IsTabStop on its own.
    EXPECT_EQ(runtime::IsTabStop(controls["hidden"], 0, 0), nullptr);
    EXPECT_EQ(runtime::IsTabStop(controls["disabled"], 0, 0), nullptr);
    EXPECT_EQ(runtime::IsTabStop(controls["label"], 0, 0), nullptr);
    EXPECT_EQ(runtime::IsTabStop(controls["edit"], 0, 0), controls["edit"]);
    SendMessageA(controls["option5"], BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(runtime::IsTabStop(controls["option3"], 0, 1), nullptr) << "no option checked";
}

TEST_P(WindowProc, WithoutATabStopTheFormKeepsTheFocus) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const TabOrderForm controls(form, {{"label", "form", 0, class_code::Label, 0, true, true, false},
                                       {"off", "form", 1, class_code::TextBox, 0, true, true, false}});
    for (const int32_t backwards : {0, 1}) {
        EXPECT_EQ(runtime::NextTabStop(form, 0, backwards, 0, 0), form) << "backwards " << backwards;
    }
    EXPECT_EQ(runtime::FirstTabStop(formRecord), form);
}

TEST_P(WindowProc, ThePushButtonsDefaultLookFollowsTheFlag) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    const struct {
        const char* name;
        DWORD style;
        int32_t ownerDrawn;
        DWORD onStyle, offStyle;
    } cases[] = {
        {"push button", BS_PUSHBUTTON, 0, BS_DEFPUSHBUTTON, BS_PUSHBUTTON},
        {"owner-drawn", BS_OWNERDRAW, 1, BS_OWNERDRAW, BS_OWNERDRAW},
    };
    int index = 1;
    for (const auto& c : cases) {
        RuntimeRecord* button = NewRecord(class_code::PushButton);
        button->OwnerDrawn = c.ownerDrawn;
        HWND window = runtimetest::AttachControl(button, "BUTTON", c.style, form, index++);
        const struct {
            int32_t on;
            DWORD style;
        } steps[] = {{1, c.onStyle}, {0, c.offStyle}, {1, c.onStyle}};
        for (const auto& s : steps) {
            runtime::SetButtonDefaultLook(button, s.on);
            EXPECT_EQ(button->IsDefault, s.on) << c.name << ": the default flag";
            EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & 0xF, static_cast<LONG>(s.style)) << c.name << " look " << s.on;
        }
    }
}

TEST_P(WindowProc, AWindowsRectangleIsGivenInItsParent) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_POPUP | WS_VISIBLE);
    MoveWindow(form, 40, 30, 300, 200, FALSE);
    HWND label = runtimetest::AttachControl(NewRecord(class_code::Label), "STATIC", 0, form, 1, 12, 14, 50, 20);
    HWND foreign = CreateWindowExA(0, "STATIC", "", WS_CHILD, 5, 5, 10, 10, form, nullptr, nullptr, nullptr);
    RuntimeRecord* frameRecord = nullptr;
    HWND frame = Form(frameRecord, form_kind::MdiFrame, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RuntimeRecord* childRecord = NewRecord(form_kind::Window);
    childRecord->MdiChild = 1;
    childRecord->Style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;  // as the form's completion applies it
    childRecord->ExStyle = WS_EX_MDICHILD;
    HWND child = Keep(CreateBound(childRecord, RuntimeClass::MdiChild, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  runtime::SlotAs<HWND>(frameRecord->MdiClient), WS_EX_MDICHILD, 7, 9, 120, 90));
    ASSERT_NE(child, nullptr);
    ASSERT_NE(frame, nullptr);
    const struct {
        const char* name;
        HWND window;
        int32_t result;
        RECT rectangle;
    } cases[] = {
        {"top-level form, in screen coordinates", form, 1, {40, 30, 340, 230}},
        {"control, in its form", label, 1, {12, 14, 62, 34}},
        {"MDI child, in its client", child, 1, {7, 9, 127, 99}},
        {"a window without a record", foreign, -1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        RECT rectangle{};
        EXPECT_EQ(runtime::WindowRectInParent(c.window, &rectangle), c.result) << c.name;
        if (c.result < 0) continue;
        EXPECT_EQ(Describe(runtime::Placement{rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                                              rectangle.bottom - rectangle.top}),
                  Describe(runtime::Placement{c.rectangle.left, c.rectangle.top, c.rectangle.right - c.rectangle.left,
                                              c.rectangle.bottom - c.rectangle.top}))
            << c.name;
    }
}

TEST_P(WindowProc, AScrollBarsRangeGoesBothWaysBetweenRecordAndControl) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* bar = NewRecord(class_code::ScrollBar);
    HWND window = runtimetest::AttachControl(bar, "SCROLLBAR", SBS_HORZ, form, 1, 10, 10, 150, 16);
    bar->Min = 5;
    bar->Max = 60;
    bar->Value = 20;
    bar->Alignment = 10;  // the page
    runtime::SyncScrollBar(bar, 1);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_CTL, &info);
    EXPECT_EQ(info.nMin, 5);
    EXPECT_EQ(info.nMax, 60);
    EXPECT_EQ(info.nPos, 20);
    EXPECT_EQ(info.nPage, 10u);

    SCROLLINFO moved{sizeof(moved), SIF_RANGE | SIF_POS, 0, 100, 0, 42, 0};
    SetScrollInfo(window, SB_CTL, &moved, FALSE);
    runtime::SyncScrollBar(bar, 0);
    EXPECT_EQ(bar->Min, 0);
    EXPECT_EQ(bar->Max, 100);
    EXPECT_EQ(bar->Value, 42);
}

}  // namespace
