// The runtime window procedure's routing under Wine: notifications through containers, the
// form's buttons and first tab stop, the MDI frame and its client, the combo box field's
// subclass procedure, and the tooltips removed when a form closes.

#include "window_proc_fixture.h"

#include <algorithm>
#include <iterator>

#include "runtime/window/child_subclass_proc.h"
#include "runtime/window/window_operations.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace windowproctest;

TEST_P(WindowProc, NotificationsOfControlsInsideContainersReachTheForm) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 200, 150);
    RuntimeRecord* picture = NewRecord(class_code::PictureBox);
    HWND pictureBox = CreateBound(picture, RuntimeClass::Picture, WS_CHILD | WS_VISIBLE, groupBox, 0, 10, 20, 150, 100);
    ASSERT_NE(pictureBox, nullptr);
    RuntimeRecord* button = NewRecord(class_code::PushButton);
    HWND pushButton = runtimetest::AttachControl(button, "BUTTON", BS_PUSHBUTTON, pictureBox, 8);
    ASSERT_NE(pushButton, nullptr);

    app.seen.clear();
    runtime::SendToWindow(pushButton, BM_CLICK, 0, 0);
    const auto commands = app.All(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u) << "the click went through the picture and the group box";
    EXPECT_EQ(commands[0].window, form);
    EXPECT_EQ(LOWORD(commands[0].wParam), 1008) << "the identifier follows the Index";
    EXPECT_EQ(HIWORD(commands[0].wParam), BN_CLICKED);
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(pushButton));

    // A container whose own procedure handles the notification keeps it.
    group->WindowProc = runtimetest::ScriptedAppSlot();
    app.answers[WM_COMMAND] = 1;
    app.seen.clear();
    runtime::SendToWindow(pushButton, BM_CLICK, 0, 0);
    ASSERT_EQ(app.Count(WM_COMMAND), 1);
    EXPECT_EQ(app.All(WM_COMMAND)[0].window, groupBox);
}

TEST_P(WindowProc, FindsTheFormsButtonsAndFirstTabStopThroughContainers) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 200, 150);
    // Controls in window order, with their Index and flags.
    const struct {
        const char* name;
        HWND parent;
        int32_t index;
        int32_t type;
        int32_t tabStop, visible, enabled, cancel, isDefault;
    } controls[] = {
        {"label", form, 0, class_code::Label, 0, 1, 1, 0, 0},
        {"hidden", form, 1, class_code::TextBox, 1, 0, 1, 0, 0},
        {"disabled", form, 2, class_code::TextBox, 1, 1, 0, 0, 0},
        {"cancel", groupBox, 5, class_code::PushButton, 1, 1, 1, 1, 0},
        {"default", groupBox, 4, class_code::PushButton, 1, 1, 1, 0, 1},
        {"edit", form, 6, class_code::TextBox, 1, 1, 1, 0, 0},
    };
    std::map<std::string, HWND> made;
    for (const auto& c : controls) {
        RuntimeRecord* record = NewRecord(c.type);
        record->TabStop = c.tabStop;
        record->Visible = c.visible;
        record->Enabled = c.enabled;
        record->AutoSize = c.cancel;
        record->NoClose = c.isDefault;
        made[c.name] = runtimetest::AttachControl(record, c.type == class_code::PushButton ? "BUTTON" : "EDIT", 0,
                                                  c.parent, c.index);
        ASSERT_NE(made[c.name], nullptr) << c.name;
    }
    EXPECT_EQ(runtime::FindFormButton(form, runtime::form_button::Cancel), made["cancel"]);
    EXPECT_EQ(runtime::FindFormButton(form, runtime::form_button::Default), made["default"]);
    EXPECT_EQ(runtime::FindFormButton(made["edit"], runtime::form_button::Default), nullptr);
    EXPECT_EQ(runtime::FirstTabStop(formRecord), made["default"]) << "the lowest Index that can take the focus";
    runtime::FindWindowRecord(made["default"])->TabStop = 0;
    EXPECT_EQ(runtime::FirstTabStop(formRecord), made["cancel"]);
}

TEST_P(WindowProc, AnMdiFrameGetsItsClientAndItsChildrenTheirDefaults) {
    RuntimeRecord* frameRecord = nullptr;
    HWND frame = Form(frameRecord, form_kind::MdiFrame, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE);
    ASSERT_NE(frame, nullptr);
    HWND client = runtime::SlotAs<HWND>(frameRecord->MdiClient);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(GetParent(client), frame);
    char className[64] = {};
    GetClassNameA(client, className, 64);
    EXPECT_STREQ(className, "BKMDICLIENT");
    EXPECT_TRUE(runtime::GetWindowValue(client, GWL_STYLE) & WS_CLIPCHILDREN) << "taken over from the frame";
    RECT frameArea{}, clientArea{};
    GetClientRect(frame, &frameArea);
    GetClientRect(client, &clientArea);
    EXPECT_EQ(clientArea.right, frameArea.right) << "the client fills the frame";
    EXPECT_EQ(clientArea.bottom, frameArea.bottom) << "the client fills the frame";

    // The client hands commands to the frame.
    app.seen.clear();
    runtime::SendToWindow(client, WM_COMMAND, MAKEWPARAM(1234, 0), 0);
    ASSERT_EQ(app.Count(WM_COMMAND), 1);
    EXPECT_EQ(app.All(WM_COMMAND)[0].window, frame);
    EXPECT_EQ(LOWORD(app.All(WM_COMMAND)[0].wParam), 1234);

    // An MDI child: DefMDIChildProc tells the client that it is maximised.
    RuntimeRecord* childRecord = NewRecord(form_kind::Window);
    childRecord->MdiChild = 1;
    // The styles the window is made with, as a built record holds them (the form's completion
    // applies them to the window).
    childRecord->Style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    childRecord->ExStyle = WS_EX_MDICHILD;
    HWND child = Keep(CreateBound(childRecord, RuntimeClass::MdiChild, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  client, WS_EX_MDICHILD, 0, 0, 120, 90));
    ASSERT_NE(child, nullptr);
    ShowWindow(child, SW_MAXIMIZE);
    BOOL maximised = FALSE;
    const auto active = reinterpret_cast<HWND>(
        runtime::SendToWindow(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    EXPECT_EQ(active, child);
    EXPECT_TRUE(maximised);

    // The focus changes an MDI child reports are kept as the frame's focus window.
    runtime::SendToWindow(client, runtime::FRM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(frameRecord->FocusWindow, runtime::ToSlot(child));

    // The client's end takes its children with it.
    DestroyWindow(frame);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(runtime::FindWindowRecord(child), nullptr);
}


TEST_P(WindowProc, TheComboBoxFieldHandsTabAndFocusToItsOwner) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RuntimeRecord* comboRecord = NewRecord(class_code::ComboBox);
    comboRecord->OwnerForm = runtime::ToSlot(form);
    HWND combo = runtimetest::AttachControl(comboRecord, "COMBOBOX", CBS_DROPDOWN, form, 1, 10, 10, 120, 100);
    ASSERT_NE(combo, nullptr);
    HWND field = GetWindow(combo, GW_CHILD);
    ASSERT_NE(field, nullptr);
    // The builder's subclassing: the field's own procedure goes to its user data.
    const LONG_PTR own = runtime::SetWindowValue(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(runtime::ChildSubclassProc));
    runtime::SetWindowValue(field, GWLP_USERDATA, own);

    sentSeen.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    app.seen.clear();
    const LRESULT tab = runtime::SendToWindow(field, WM_KEYDOWN, VK_TAB, 0);
    SetFocus(field);
    UnhookWindowsHookEx(hook);
    // The form records the focus change itself; its application procedure is not asked.
    EXPECT_EQ(app.Count(runtime::FRM_FOCUSCHANGED), 0);

    EXPECT_EQ(tab, 0);
    const auto navKey = std::find_if(sentSeen.begin(), sentSeen.end(), [&](const Sent& s) {
        return s.hwnd == combo && s.message == runtime::FRM_NAVKEY;
    });
    ASSERT_NE(navKey, sentSeen.end()) << "the owner heard of the Tab key";
    EXPECT_EQ(navKey->wParam, static_cast<WPARAM>(VK_TAB));
    EXPECT_EQ(navKey->lParam, reinterpret_cast<LPARAM>(combo));
    std::vector<Sent> focus;
    std::copy_if(sentSeen.begin(), sentSeen.end(), std::back_inserter(focus),
                 [&](const Sent& sent) { return sent.message == runtime::FRM_FOCUSCHANGED && sent.hwnd == form; });
    ASSERT_EQ(focus.size(), 1u) << "the form heard of the focus change";
    EXPECT_EQ(focus[0].lParam, reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(formRecord->FocusWindow, runtime::ToSlot(combo)) << "the form remembers the combo box";

    // Everything else is the field's own business.
    EXPECT_TRUE(SetWindowTextA(field, "typed"));
    char text[16] = {};
    GetWindowTextA(combo, text, 16);
    EXPECT_STREQ(text, "typed");
}

TEST_P(WindowProc, ClosingAFormRemovesItsTooltipsFirst) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 200, 150);
    HWND outer = runtimetest::AttachControl(NewRecord(class_code::PushButton), "BUTTON", 0, form, 1, 5, 160);
    HWND inner = runtimetest::AttachControl(NewRecord(class_code::PushButton), "BUTTON", 0, groupBox, 2);
    HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(tooltip, nullptr);
    record->ToolTip = runtime::ToSlot(tooltip);

    sentSeen.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    runtime::SendToWindow(form, WM_CLOSE, 0, 0);
    UnhookWindowsHookEx(hook);

    EXPECT_FALSE(IsWindow(form));
    std::vector<HWND> removed;
    bool tooltipGoneFirst = false;
    for (const Sent& s : sentSeen) {
        if (s.hwnd == tooltip && s.tool != nullptr) {
            EXPECT_EQ(s.message, runtime::wideMode != 0 ? static_cast<UINT>(TTM_DELTOOLW) : TTM_DELTOOLA);
            removed.push_back(s.tool);
        }
        if (s.hwnd == tooltip && s.message == WM_DESTROY) tooltipGoneFirst = true;
        if (s.hwnd == form && s.message == WM_DESTROY) break;
    }
    EXPECT_TRUE(tooltipGoneFirst) << "the tooltip window goes before the form";
    for (HWND control : {groupBox, outer, inner}) {
        EXPECT_NE(std::find(removed.begin(), removed.end(), control), removed.end()) << "no tool removed for " << control;
    }
}

}  // namespace
