// The runtime window procedure under Wine: binding windows to their records, the application
// procedure's contract, the default procedure of each kind of window, dialog forms, and the
// clean-up that ends a window.

#include "window_proc_fixture.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace windowproctest;

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
    // Any non-zero answer keeps the form; the message's own result is 1, not the answer.
    app.answers[WM_CLOSE] = 7;
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

// Whether the control's record was in the window table when its own procedure saw its
// WM_DESTROY and its WM_NCDESTROY.
std::vector<std::pair<UINT, bool>> boundWhenSeen;
LRESULT CALLBACK NotingControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY || message == WM_NCDESTROY) {
        boundWhenSeen.emplace_back(message, runtime::FindWindowRecord(window) != nullptr);
    }
    return CallWindowProcA(staticProc, window, message, wParam, lParam);
}

// A static control class `name` whose procedure is `proc`, which hands on to STATIC's.
bool RegisterStaticLike(const char* name, WNDPROC proc) {
    WNDCLASSA recording{};
    if (!GetClassInfoA(nullptr, "STATIC", &recording)) return false;
    staticProc = recording.lpfnWndProc;
    recording.lpfnWndProc = proc;
    recording.hInstance = GetModuleHandleA(nullptr);
    recording.lpszClassName = name;
    return RegisterClassA(&recording) != 0;
}

TEST_P(WindowProc, AGoneControlGetsItsOwnProcedureBackAndLeavesTheTable) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    ASSERT_TRUE(RegisterStaticLike("MtRecordingControl", RecordingControlProc));

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

// The record lives as long as the window: through WM_DESTROY, out of the table at WM_NCDESTROY.
TEST_P(WindowProc, AControlStaysARuntimeWindowUntilItsLastMessage) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    ASSERT_TRUE(RegisterStaticLike("MtNotingControl", NotingControlProc));
    HWND control = runtimetest::AttachControl(NewRecord(class_code::Label), "MtNotingControl", 0, form, 2);
    ASSERT_NE(control, nullptr);
    boundWhenSeen.clear();
    DestroyWindow(control);
    const std::vector<std::pair<UINT, bool>> expected{{WM_DESTROY, true}, {WM_NCDESTROY, false}};
    EXPECT_EQ(boundWhenSeen, expected) << "(message, record in the table) as the class procedure saw them";
    UnregisterClassA("MtNotingControl", GetModuleHandleA(nullptr));
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

TEST_P(WindowProc, ADialogFormSeesItsCreationArgumentAtInitDialog) {
    RuntimeRecord* record = NewRecord(form_kind::Dialog);
    record->WindowProc = runtimetest::ScriptedAppSlot();
    record->ClassProc = 0x1234;  // the builder keeps the procedure value here
    HWND form = Keep(CreateRuntimeDialog(record, 100, 60));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(runtime::FindWindowRecord(form), record);
    const auto init = app.All(WM_INITDIALOG);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].lParam, 0x1234) << "the creation argument kept in the record";
    EXPECT_EQ(record->ClassProc, 0u) << "the slot has served its purpose";
    EXPECT_EQ(record->FocusWindow, runtime::ToSlot(form)) << "no control: the form is its first tab stop";
    EXPECT_EQ(app.Count(WM_CREATE), 0) << "a dialog's application sees WM_INITDIALOG instead";
    // Its default procedure is the system's window default.
    EXPECT_TRUE(SetWindowTextA(form, "dialog"));
    char text[16] = {};
    GetWindowTextA(form, text, 16);
    EXPECT_STREQ(text, "dialog");
}

TEST_P(WindowProc, AWindowTheTableCannotTakeIsNotCreated) {
    // Fill the table's first block with stand-in pairs and let its growth fail.
    std::vector<HWND> standIns;
    for (uintptr_t i = 0; !runtime::WindowTableMustGrow(runtime::windowTable.used, runtime::windowTable.capacity); ++i) {
        HWND standIn = reinterpret_cast<HWND>(0x7FFF0000 + 4 * i);
        ASSERT_TRUE(runtime::EnterWindowRecord(standIn, nullptr));
        standIns.push_back(standIn);
    }
    runtime::SetWindowTableGrowth([](runtime::WindowPair*, uint32_t) -> runtime::WindowPair* { return nullptr; });
    RuntimeRecord* record = NewRecord(form_kind::Window);
    runtime::pendingRecord = record;
    HWND form = CreateWindowExA(0, runtime::RuntimeClassNameA(RuntimeClass::Window), "", WS_OVERLAPPED, 0, 0, 50,
                                50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    runtime::SetWindowTableGrowth(nullptr);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(runtime::pendingRecord, record) << "the record is still the builder's";
    runtime::pendingRecord = nullptr;
    runtime::FreeRuntimeBlock(record);
    for (HWND standIn : standIns) runtime::RemoveWindowRecord(standIn);
}

TEST_P(WindowProc, AClosedSecondFormHandsTheActivationBackToTheMainForm) {
    RuntimeRecord* mainRecord = nullptr;
    HWND mainForm = Form(mainRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    mainRecord->IsMain = 1;
    runtime::Application.MainWindow = runtime::ToSlot(mainForm);
    RuntimeRecord* secondRecord = nullptr;
    HWND second = Form(secondRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetActiveWindow(second);
    ASSERT_EQ(GetActiveWindow(), second);
    DestroyWindow(second);
    EXPECT_EQ(GetActiveWindow(), mainForm);
    EXPECT_EQ(GetFocus(), mainForm);
    EXPECT_FALSE(runtimetest::TakeQueuedMessages().posted) << "only the main form's end quits";
}

}  // namespace
