// The runtime window procedure under Wine: binding windows to their records, the application
// procedure's contract, the default procedure of each kind of window, the containers' and MDI
// client's forwarding, the child subclass procedure, and the clean-up that ends a window.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/runtime_messages.h"
#include "runtime_session.h"

namespace {

using runtime::RuntimeClass;
using runtime::RuntimeRecord;
using runtimetest::app;
using runtimetest::CreateBound;
using runtimetest::NewRecord;
namespace form_kind = runtime::form_kind;
namespace class_code = runtime::class_code;

class WindowProc : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        app.Reset();
        session_ = std::make_unique<runtimetest::RuntimeSession>(GetParam());
    }
    void TearDown() override {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            if (IsWindow(*it)) DestroyWindow(*it);
        }
        runtimetest::TakeQueuedMessages();
        session_.reset();
        app.Reset();
    }

    // A form of `kind` with the scripted application procedure, destroyed at the end.
    HWND Form(RuntimeRecord*& record, int32_t kind = form_kind::Window, DWORD style = WS_OVERLAPPEDWINDOW,
              HWND parent = nullptr, DWORD exStyle = 0) {
        record = NewRecord(kind);
        record->WindowProc = runtimetest::ScriptedAppSlot();
        record->Visible = 1;
        record->Style = style;
        record->ExStyle = exStyle;
        const RuntimeClass which = kind == form_kind::MdiFrame ? RuntimeClass::MdiFrame
                                   : record->MdiChild != 0     ? RuntimeClass::MdiChild
                                                               : RuntimeClass::Window;
        return Keep(CreateBound(record, which, style, parent, exStyle));
    }

    HWND Keep(HWND window) {
        if (window != nullptr) windows_.push_back(window);
        return window;
    }

private:
    std::unique_ptr<runtimetest::RuntimeSession> session_;
    std::vector<HWND> windows_;
};

INSTANTIATE_TEST_SUITE_P(AnsiAndWide, WindowProc, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param != 0 ? "Wide" : "Ansi"; });

TEST_P(WindowProc, TheFirstCreationMessageBindsThePendingRecord) {
    for (const int32_t isMain : {0, 1}) {
        app.Reset();
        runtime::Application.MainWindow = 0;
        RuntimeRecord* record = NewRecord(form_kind::Window);
        record->WindowProc = runtimetest::ScriptedAppSlot();
        record->IsMain = isMain;
        HWND form = Keep(CreateBound(record, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr));
        ASSERT_NE(form, nullptr) << "IsMain " << isMain;
        EXPECT_EQ(runtime::FindWindowRecord(form), record) << "IsMain " << isMain;
        EXPECT_EQ(record->Window, runtime::ToSlot(form));
        EXPECT_EQ(runtime::pendingRecord, nullptr) << "the record was taken";
        ASSERT_EQ(app.Count(WM_NCCREATE), 1) << "the application sees the creation";
        EXPECT_EQ(app.All(WM_NCCREATE)[0].window, form);
        if (isMain != 0) {
            EXPECT_EQ(runtime::Application.MainWindow, runtime::ToSlot(form));
            EXPECT_EQ(runtime::Application.ThreadId, GetCurrentThreadId());
            EXPECT_EQ(runtime::Application.ProcessId, GetCurrentProcessId());
        } else {
            EXPECT_EQ(runtime::Application.MainWindow, 0u) << "only the main form is the main window";
        }
    }
}

TEST_P(WindowProc, CreationCompletesTheFormAndFocusesItsFirstTabStop) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(app.Count(WM_CREATE), 1);
    // Without controls the first tab stop is the form itself.
    EXPECT_EQ(record->FocusWindow, runtime::ToSlot(form));
    EXPECT_EQ(record->DefaultButton, 0u);
    // The nudge gave the application a size round before its WM_CREATE.
    EXPECT_GE(app.Count(WM_SIZE), 2);
}

TEST_P(WindowProc, AnApplicationThatFailsTheCreationLeavesNoRecordBehind) {
    const int before = runtimetest::BusyBlocks();
    app.answers[WM_CREATE] = -1;
    RuntimeRecord* record = NewRecord(form_kind::Window);
    record->WindowProc = runtimetest::ScriptedAppSlot();
    record->Text = runtimetest::HeapText("caption");
    HWND form = CreateBound(record, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr);
    EXPECT_EQ(form, nullptr);
    ASSERT_EQ(app.Count(WM_NCCREATE), 1);
    EXPECT_EQ(runtime::FindWindowRecord(app.All(WM_NCCREATE)[0].window), nullptr);
    EXPECT_EQ(runtimetest::BusyBlocks(), before) << "the record and its caption are freed with the window";
}

TEST_P(WindowProc, TheApplicationSeesEachMessageAsReceivedAndItsResultDecides) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    ASSERT_NE(form, nullptr);
    runtime::SendToWindow(form, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(runtime::wideMode ? static_cast<const void*>(L"abc") : "abc"));

    // WM_GETTEXT has no runtime row: 0 lets the default answer, anything else is the answer.
    const struct {
        LRESULT answer;
        LRESULT expected;
        const char* text;
    } cases[] = {{0, 3, "abc"}, {77, 77, ""}, {-5, -5, ""}};
    for (const auto& c : cases) {
        app.seen.clear();
        app.answers[WM_GETTEXT] = c.answer;
        wchar_t buffer[16] = {};
        const LRESULT result = runtime::SendToWindow(form, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(buffer));
        EXPECT_EQ(result, c.expected) << "answer " << c.answer;
        const std::string text = runtime::wideMode != 0 ? std::string(buffer, buffer + wcslen(buffer))
                                                        : std::string(reinterpret_cast<const char*>(buffer));
        EXPECT_EQ(text, c.text) << "answer " << c.answer;
        ASSERT_EQ(app.Count(WM_GETTEXT), 1);
        const auto seen = app.All(WM_GETTEXT)[0];
        EXPECT_EQ(seen.window, form);
        EXPECT_EQ(seen.wParam, 16u);
        EXPECT_EQ(seen.lParam, reinterpret_cast<LPARAM>(buffer));
    }
}

TEST_P(WindowProc, AFormWithoutApplicationProcedureGetsTheDefaults) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    record->WindowProc = 0;
    EXPECT_TRUE(SetWindowTextA(form, "plain"));
    char text[16] = {};
    EXPECT_EQ(GetWindowTextA(form, text, 16), 5);
    EXPECT_STREQ(text, "plain");
    EXPECT_EQ(runtime::SendToWindow(form, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(form)) << "the default closes it";
}

TEST_P(WindowProc, CloseKeepsTheFormWhenTheApplicationHandlesIt) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    app.answers[WM_CLOSE] = 1;
    EXPECT_EQ(runtime::SendToWindow(form, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(form));

    // The application that destroys its form while closing it is not followed into the gone
    // record.
    app.answers.clear();
    app.onMessage = [](HWND window, UINT message, WPARAM, LPARAM) {
        if (message == WM_CLOSE) DestroyWindow(window);
    };
    EXPECT_EQ(runtime::SendToWindow(form, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(form));
}

TEST_P(WindowProc, OnlyTheMainFormsEndPostsTheQuitMessage) {
    for (const int32_t isMain : {0, 1}) {
        app.Reset();
        RuntimeRecord* record = NewRecord(form_kind::Window);
        record->IsMain = isMain;
        HWND form = CreateBound(record, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr);
        ASSERT_NE(form, nullptr);
        runtimetest::TakeQueuedMessages();
        DestroyWindow(form);
        const runtimetest::QueuedQuit quit = runtimetest::TakeQueuedMessages();
        EXPECT_EQ(quit.posted, isMain != 0) << "IsMain " << isMain;
        EXPECT_EQ(quit.code, 0u);
    }
    EXPECT_EQ(runtime::Application.MainWindow, 0u) << "the gone main window is not kept";
}

TEST_P(WindowProc, AGoneFormFreesItsRecordTextsAndChildRecords) {
    const int before = runtimetest::BusyBlocks();
    RuntimeRecord* record = NewRecord(form_kind::Window);
    record->Text = runtimetest::HeapText("Window1");
    record->FontName = runtimetest::HeapText("MS Sans Serif");
    // A child list as the builder leaves it: two records, one a group box with a child of its own.
    auto* children = static_cast<uint32_t*>(runtime::AllocRuntimeBlock(3 * sizeof(uint32_t)));
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    RuntimeRecord* inner = NewRecord(class_code::PushButton);
    RuntimeRecord* label = NewRecord(class_code::Label);
    group->Text = runtimetest::HeapText("Frame1");
    inner->ToolTip = runtimetest::HeapText("tip");
    label->FontName = runtimetest::HeapText("Arial");
    auto* groupChildren = static_cast<uint32_t*>(runtime::AllocRuntimeBlock(2 * sizeof(uint32_t)));
    groupChildren[0] = runtime::ToSlot(inner);
    group->Children = runtime::ToSlot(groupChildren);
    label->ControlCount = 0;
    children[0] = runtime::ToSlot(group);
    children[1] = runtime::ToSlot(label);
    record->Children = runtime::ToSlot(children);
    ASSERT_GT(runtimetest::BusyBlocks(), before + 10);

    HWND form = CreateBound(record, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr);
    ASSERT_NE(form, nullptr);
    DestroyWindow(form);
    EXPECT_EQ(runtime::FindWindowRecord(form), nullptr);
    EXPECT_EQ(runtimetest::BusyBlocks(), before) << "every block of the form's tree is freed";
    EXPECT_TRUE(HeapValidate(runtime::runtimeHeap, 0, nullptr));
}

// The system answers WM_GETDLGCODE differently by class, which shows whose default ran.
TEST_P(WindowProc, EachKindOfWindowFallsBackToItsOwnDefault) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    ASSERT_NE(form, nullptr);

    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 100, 80);
    ASSERT_NE(groupBox, nullptr);
    EXPECT_EQ(group->Window, runtime::ToSlot(groupBox)) << "a group box's window is noted at creation";

    RuntimeRecord* picture = NewRecord(class_code::PictureBox);
    HWND pictureBox = CreateBound(picture, RuntimeClass::Picture, WS_CHILD | WS_VISIBLE, form, 0, 120, 5, 50, 50);
    ASSERT_NE(pictureBox, nullptr);

    RuntimeRecord* button = NewRecord(class_code::PushButton);
    HWND pushButton = runtimetest::AttachControl(button, "BUTTON", BS_PUSHBUTTON, form, 3, 5, 100);
    ASSERT_NE(pushButton, nullptr);

    const struct {
        const char* window;
        HWND handle;
        LRESULT code;
    } cases[] = {
        {"form (DefWindowProc)", form, 0},
        {"group box (system button procedure)", groupBox, DLGC_STATIC},
        {"picture (DefWindowProc)", pictureBox, 0},
        {"push button (its class procedure)", pushButton, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::SendToWindow(c.handle, WM_GETDLGCODE, 0, 0), c.code) << c.window;
    }
    // The group box's caption goes through the system button procedure.
    runtime::SendToWindow(groupBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(runtime::wideMode ? static_cast<const void*>(L"Frame") : "Frame"));
    char text[16] = {};
    GetWindowTextA(groupBox, text, 16);
    EXPECT_STREQ(text, "Frame");
}

// A standard control's own procedure, recording what reaches it.
std::vector<UINT> controlSeen;
WNDPROC staticProc = nullptr;
LRESULT CALLBACK RecordingControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    controlSeen.push_back(message);
    return CallWindowProcA(staticProc, window, message, wParam, lParam);
}

TEST_P(WindowProc, AGoneControlGetsItsOwnProcedureBackAndLeavesTheTable) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    WNDCLASSA recording{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "STATIC", &recording));
    staticProc = recording.lpfnWndProc;
    recording.lpfnWndProc = RecordingControlProc;
    recording.hInstance = GetModuleHandleA(nullptr);
    recording.lpszClassName = "MtRecordingControl";
    ASSERT_TRUE(RegisterClassA(&recording));

    RuntimeRecord* label = NewRecord(class_code::Label);
    label->Text = runtimetest::HeapText("Sleep");
    HWND control = runtimetest::AttachControl(label, "MtRecordingControl", 0, form, 2);
    ASSERT_NE(control, nullptr);
    controlSeen.clear();
    DestroyWindow(control);
    EXPECT_EQ(runtime::FindWindowRecord(control), nullptr);
    EXPECT_EQ(label->Text, 0u) << "the caption copy is freed";
    const bool destroySeen = std::find(controlSeen.begin(), controlSeen.end(), WM_DESTROY) != controlSeen.end();
    const bool ncDestroySeen = std::find(controlSeen.begin(), controlSeen.end(), WM_NCDESTROY) != controlSeen.end();
    EXPECT_TRUE(destroySeen) << "the class procedure handles WM_DESTROY";
    EXPECT_TRUE(ncDestroySeen) << "the class procedure is back for the window's last message";
    UnregisterClassA("MtRecordingControl", GetModuleHandleA(nullptr));
}

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

TEST_P(WindowProc, AWindowWithoutRecordIsServedByTheSystemDefault) {
    ASSERT_EQ(runtime::pendingRecord, nullptr);
    const void* name = runtime::RuntimeClassName(RuntimeClass::Window);
    HWND loose = Keep(runtime::wideMode != 0
                          ? CreateWindowExW(0, static_cast<const wchar_t*>(name), L"loose", WS_OVERLAPPED, 0, 0, 50, 50,
                                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)
                          : CreateWindowExA(0, static_cast<const char*>(name), "loose", WS_OVERLAPPED, 0, 0, 50, 50,
                                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(runtime::FindWindowRecord(loose), nullptr);
    char text[16] = {};
    EXPECT_EQ(GetWindowTextA(loose, text, 16), 5);
    EXPECT_STREQ(text, "loose");
}

TEST_P(WindowProc, PrivateQueriesAreAnsweredWithoutTheApplication) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    app.seen.clear();
    EXPECT_EQ(runtime::SendToWindow(form, runtime::FRM_GETRECORD, 0, 0), reinterpret_cast<LRESULT>(record));
    EXPECT_EQ(runtime::SendToWindow(form, runtime::FRM_GETTHEMEACTIVE, 0, 0), 0) << "this program has no manifest";
    EXPECT_EQ(runtime::SendToWindow(form, runtime::FRM_GETTHEMELIB, 0, 0), 0);
    EXPECT_EQ(runtime::SendToWindow(form, runtime::FRM_MEASURETYPE, 4, 0), 0);
    EXPECT_TRUE(app.seen.empty()) << app.seen.size() << " messages reached the application, first "
                                  << (app.seen.empty() ? 0 : app.seen[0].id);
}

TEST_P(WindowProc, StyleChangesAreKeptInTheRecord) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    const LONG_PTR style = runtime::GetWindowValue(form, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX);
    runtime::SetWindowValue(form, GWL_STYLE, style);
    EXPECT_EQ(record->Style, static_cast<uint32_t>(style));
    runtime::SetWindowValue(form, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    EXPECT_EQ(record->ExStyle & WS_EX_TOOLWINDOW, static_cast<uint32_t>(WS_EX_TOOLWINDOW));
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

// Messages sent to a window, seen by a thread hook.
std::vector<CWPSTRUCT> sentSeen;
LRESULT CALLBACK RecordSent(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION) sentSeen.push_back(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
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

    EXPECT_EQ(tab, 0);
    const auto navKey = std::find_if(sentSeen.begin(), sentSeen.end(), [&](const CWPSTRUCT& s) {
        return s.hwnd == combo && s.message == runtime::FRM_NAVKEY;
    });
    ASSERT_NE(navKey, sentSeen.end()) << "the owner heard of the Tab key";
    EXPECT_EQ(navKey->wParam, static_cast<WPARAM>(VK_TAB));
    EXPECT_EQ(navKey->lParam, reinterpret_cast<LPARAM>(combo));
    const auto focus = app.All(runtime::FRM_FOCUSCHANGED);
    ASSERT_EQ(focus.size(), 1u) << "the form heard of the focus change";
    EXPECT_EQ(focus[0].lParam, reinterpret_cast<LPARAM>(combo));

    // Everything else is the field's own business.
    EXPECT_TRUE(SetWindowTextA(field, "typed"));
    char text[16] = {};
    GetWindowTextA(combo, text, 16);
    EXPECT_STREQ(text, "typed");
}

}  // namespace
