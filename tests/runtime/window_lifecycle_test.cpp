// The runtime window procedure's creation and destruction rows under Wine: a built form's
// default button and first focus, a dialog's start position, modal forms ending however they
// go, the shared frame pens, what toolbars and image-list holders give back, the theme library
// and the message pump.

#include "window_proc_fixture.h"

#include <string>
#include <vector>

#include "builder_test_support.h"
#include "runtime/build/modal_state.h"
#include "runtime/paint/shared_pens.h"
#include "runtime/paint/theme_support.h"
#include "runtime/process/message_pump.h"
#include "runtime/property/property_setters.h"
#include "runtime/property/property_windows.h"
#include "runtime/template/template_items.h"
#include "runtime/window/window_operations.h"
#include "tests/support/impossible_states.h"

namespace {

using namespace windowproctest;
using buildertest::FormTemplate;

TEST_P(WindowProc, ABuiltFormKnowsItsDefaultButtonAndFirstFocus) {
    const struct {
        LRESULT answer;  // the application's answer to WM_CREATE
        const char* focus;
    } cases[] = {{0, "edit"}, {1, "form"}};
    for (const auto& c : cases) {
        app.Reset();
        app.answers[WM_CREATE] = c.answer;
        FormTemplate form;
        form.Form().WindowProc = runtimetest::ScriptedAppSlot();
        runtime::TemplateRecord label = form.Control(class_code::Label, 0, "Label", 5, 5, 80, 16);
        runtime::TemplateRecord edit = form.Control(class_code::TextBox, 1, "Edit", 5, 25, 80, 20, WS_VISIBLE | WS_TABSTOP);
        edit.TabStop = 1;
        runtime::TemplateRecord cancel = form.Control(class_code::PushButton, 3, "Cancel", 5, 50, 80, 24);
        cancel.IsCancel = 1;
        cancel.TabStop = 1;
        runtime::TemplateRecord ok = form.Control(class_code::PushButton, 2, "Ok", 95, 50, 80, 24);
        ok.IsDefault = 1;
        ok.TabStop = 1;
        form.Add(label);
        form.Add(edit);
        form.Add(cancel);
        form.Add(ok);
        form.Form().ControlCount = 4;
        auto window = runtime::BuildForm(form.Finish(), nullptr, 0, 0).window;
        ASSERT_TRUE(IsWindow(window)) << "answer " << c.answer;
        const RuntimeRecord* record = runtime::FindWindowRecord(window);
        HWND editWindow = GetDlgItem(window, 1001);
        EXPECT_EQ(record->DefaultButton, runtime::ToSlot(GetDlgItem(window, 1002))) << "answer " << c.answer;
        EXPECT_EQ(runtime::FindFormButton(window, runtime::form_button::Cancel), GetDlgItem(window, 1003));
        const HWND expected = std::string(c.focus) == "edit" ? editWindow : window;
        EXPECT_EQ(record->FocusWindow, runtime::ToSlot(expected)) << "answer " << c.answer;
        DestroyWindow(window);
    }
}

TEST_P(WindowProc, ADialogStandsWhereItsStartPositionSays) {
    RuntimeRecord* record = NewRecord(form_kind::Dialog);
    record->StartPosition = runtime::start_position::CenterScreen;
    HWND dialog = Keep(CreateRuntimeDialog(record, 120, 80));
    ASSERT_NE(dialog, nullptr);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const runtime::Placement place = PlaceOf(dialog);
    EXPECT_EQ(place.left, work.left + (work.right - work.left) / 2 - place.width / 2) << Describe(place);
    EXPECT_EQ(place.top, work.top + (work.bottom - work.top) / 2 - place.height / 2) << Describe(place);
}

// The modal form of the test, destroyed by a timer should the test's own way of ending it fail,
// so that its modal loop cannot run on.
HWND modalForm = nullptr;
void CALLBACK EndRunawayModalForm(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (IsWindow(modalForm)) DestroyWindow(modalForm);
}

TEST_P(WindowProc, AModalFormEndsItsModalStateHoweverItGoes) {
    HWND owner = Keep(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(owner, nullptr);
    const struct {
        const char* name;
        void (*end)(HWND form);
        LONG_PTR result;
    } cases[] = {
        {"closed", [](HWND form) { runtime::SendToWindow(form, WM_CLOSE, 0, 0); }, 0},
        {"destroyed", [](HWND form) { DestroyWindow(form); }, 2},
        {"close refused, then closed with a result",
         [](HWND form) {
             app.answers[WM_CLOSE] = 1;
             runtime::SendToWindow(form, WM_CLOSE, 0, 0);
             app.answers.erase(WM_CLOSE);
             if (IsWindow(form)) runtime::CloseModal(form, 7);
         },
         7},
    };
    for (const auto& c : cases) {
        app.Reset();
        FormTemplate form;
        form.Form().WindowProc = runtimetest::ScriptedAppSlot();
        app.onMessage = [&](HWND window, UINT message, WPARAM, LPARAM) {
            if (message == runtime::FRM_CREATED) {
                modalForm = window;
                PostMessageA(window, WM_APP, 0, 0);
            }
            if (message == WM_APP) c.end(window);
        };
        const UINT_PTR guard = SetTimer(nullptr, 0, 10000, EndRunawayModalForm);
        const LONG_PTR result = runtime::BuildForm(form.Finish(), owner, 1, 0).modalResult;
        KillTimer(nullptr, guard);
        app.onMessage = nullptr;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_FALSE(IsWindow(modalForm)) << c.name;
        EXPECT_TRUE(IsWindowEnabled(owner)) << c.name << ": the owner is enabled again";
        EXPECT_EQ(app.Count(WM_DESTROY), 1) << c.name << ": the application sees the form's end once";
    }
    modalForm = nullptr;
}

TEST_P(WindowProc, TheFramePensAreHeldByFormsGroupBoxesAndPicturesOnly) {
    const int32_t before = runtime::framePenUsers;
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    EXPECT_EQ(runtime::framePenUsers, before + 1);
    HWND groupBox = CreateBound(NewRecord(class_code::GroupBox), RuntimeClass::Group, WS_CHILD | BS_GROUPBOX, form);
    HWND picture = CreateBound(NewRecord(class_code::PictureBox), RuntimeClass::Picture, WS_CHILD, form);
    HWND rebar = runtimetest::AttachControl(NewRecord(class_code::Rebar), REBARCLASSNAMEA, CCS_NORESIZE, form, 4);
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(runtime::framePenUsers, before + 3);
    EXPECT_NE(runtime::lightFramePen, nullptr);
    const struct {
        const char* name;
        HWND window;
        int32_t usersAfter;
    } steps[] = {{"rebar", rebar, before + 3}, {"group box", groupBox, before + 2}, {"picture", picture, before + 1},
                 {"form", form, before}};
    for (const auto& s : steps) {
        DestroyWindow(s.window);
        EXPECT_EQ(runtime::framePenUsers, s.usersAfter) << "after the " << s.name;
    }
    if (before == 0) {
        EXPECT_EQ(runtime::lightFramePen, nullptr) << "the last user deleted them";
    }
}

// However a holder ends, it gives back what it took: a form its application refuses at
// WM_CREATE, a form of a kind the builder does not complete. One release too many is reported.
TEST_P(WindowProc, TheFramePensStayBalancedHoweverAHolderEnds) {
    const int32_t before = runtime::framePenUsers;
    app.answers[WM_CREATE] = -1;
    FormTemplate refused;
    refused.Form().WindowProc = runtimetest::ScriptedAppSlot();
    EXPECT_EQ(runtime::BuildForm(refused.Finish(), nullptr, 0, 0).window, nullptr) << "the refused form was built";
    EXPECT_EQ(runtime::framePenUsers, before) << "after the form refused at WM_CREATE";
    app.Reset();
    RuntimeRecord* record = nullptr;
    DestroyWindow(Form(record, 0));
    EXPECT_EQ(runtime::framePenUsers, before) << "after a form of kind 0";

    testsupport::ImpossibleStates heard;
    runtime::framePenUsers = 0;
    runtime::ReleaseFramePens();
    EXPECT_EQ(runtime::framePenUsers, 0) << "a release without a holder changed the count";
    ASSERT_EQ(heard.Heard().size(), 1u) << "the release too many was not reported";
    EXPECT_EQ(heard.Heard()[0].condition, "framePenUsers <= 0");
    runtime::framePenUsers = before;
}

TEST_P(WindowProc, AGoneToolbarOrImageListHolderGivesBackWhatItHeld) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);

    RuntimeRecord* toolbar = NewRecord(class_code::Toolbar);
    auto* buttons = static_cast<runtime::ToolbarButtonItem*>(runtime::AllocRuntimeBlock(3 * sizeof(runtime::ToolbarButtonItem)));
    buttons[0].Data = runtimetest::HeapText("Open");
    buttons[1].Data = 0;  // a separator
    buttons[2].Data = runtimetest::HeapText("Save");
    toolbar->Items = runtime::ToSlot(buttons);
    toolbar->ItemCount = 3;
    HWND toolbarWindow = runtimetest::AttachControl(toolbar, TOOLBARCLASSNAMEA, CCS_NORESIZE, form, 1);
    ASSERT_NE(toolbarWindow, nullptr);
    runtime::SendToWindow(toolbarWindow, TB_SETIMAGELIST, 0,
                          reinterpret_cast<LPARAM>(ImageList_Create(16, 16, ILC_COLOR32, 2, 1)));
    const int blocks = runtimetest::BusyBlocks();
    DestroyWindow(toolbarWindow);
    EXPECT_EQ(runtimetest::BusyBlocks(), blocks - 2) << "the two button texts";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(buttons[i].Data, 0u) << "button " << i;

    RuntimeRecord* holder = NewRecord(class_code::ImageListHolder);
    holder->ImageList = runtime::ToSlot(ImageList_Create(16, 16, ILC_COLOR32, 2, 1));
    HWND holderWindow = runtimetest::AttachControl(holder, "STATIC", 0, form, 2);
    DestroyWindow(holderWindow);
    EXPECT_EQ(holder->ImageList, 0u);
    EXPECT_EQ(runtime::FindWindowRecord(holderWindow), nullptr);
}

TEST_P(WindowProc, TheThemeLibraryIsKeptOnlyWhileThemesAreActive) {
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    using IsThemeActiveEntry = BOOL(WINAPI*)();
    const auto isThemeActive = uxtheme != nullptr ? reinterpret_cast<IsThemeActiveEntry>(
                                                        reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsThemeActive")))
                                                  : nullptr;
    const bool active = isThemeActive != nullptr && isThemeActive() != 0;
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);

    runtime::LoadThemeSupport();
    EXPECT_EQ(runtime::themeLibrary != nullptr, active);
    EXPECT_EQ(runtime::SendToWindow(form, runtime::FRM_GETTHEMELIB, 0, 0), reinterpret_cast<LRESULT>(runtime::themeLibrary));
    if (active) {
        EXPECT_NE(runtime::openThemeData, nullptr);
        EXPECT_NE(runtime::drawThemeBackground, nullptr);
        EXPECT_NE(runtime::closeThemeData, nullptr);
    }
    runtime::UnloadThemeSupport();
    EXPECT_EQ(runtime::themeLibrary, nullptr);
    EXPECT_EQ(runtime::openThemeData, nullptr);
    EXPECT_EQ(runtime::SendToWindow(form, runtime::FRM_GETTHEMELIB, 0, 0), 0);

    // The main form of a program with a manifest follows the themes from its creation to its end.
    const int32_t manifest = runtime::manifestPresent;
    runtime::manifestPresent = 1;
    RuntimeRecord* mainRecord = NewRecord(form_kind::Window);
    mainRecord->IsMain = 1;
    HWND mainForm = CreateBound(mainRecord, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr);
    EXPECT_EQ(runtime::themeLibrary != nullptr, active) << "loaded at the main form's creation";
    DestroyWindow(mainForm);
    EXPECT_EQ(runtime::themeLibrary, nullptr) << "unloaded at its end";
    runtime::manifestPresent = manifest;
    if (uxtheme != nullptr) FreeLibrary(uxtheme);
}

TEST_P(WindowProc, DoEventsHandlesWhatWaitsAndLeavesTheQuitMessage) {
    RuntimeRecord* record = nullptr;
    HWND form = Form(record);
    runtimetest::TakeQueuedMessages();
    app.seen.clear();
    PostMessageA(form, WM_APP, 1, 0);
    PostQuitMessage(4);
    PostMessageA(form, WM_APP, 2, 0);
    runtime::DoEvents();
    const auto handled = app.All(WM_APP);
    ASSERT_EQ(handled.size(), 2u) << "both waiting messages were dispatched";
    EXPECT_EQ(handled[0].wParam, 1u);
    EXPECT_EQ(handled[1].wParam, 2u);
    const runtimetest::QueuedQuit quit = runtimetest::TakeQueuedMessages();
    EXPECT_TRUE(quit.posted) << "the quit message is still there for the loop that waits for it";
    EXPECT_EQ(quit.code, 4u);
}

}  // namespace
