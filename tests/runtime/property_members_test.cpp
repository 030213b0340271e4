// The property members the builder uses, on built forms and controls: what they refuse, the
// modal owner, the timer, the wait cursor, colours by message, pictures and visibility.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "builder_test_resources.h"
#include "builder_test_support.h"
#include "runtime/build/form_builder.h"
#include "runtime/process/wait_cursor.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_getters.h"
#include "runtime/property/property_setters.h"
#include "runtime/build/modal_state.h"
#include "runtime/property/property_windows.h"
#include "runtime_session.h"

namespace {

using buildertest::FormTemplate;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;

class BUILDER_SUITE(PropertyMembers) : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        runtimetest::app.Reset();
        FormTemplate form;
        form.Form().WindowProc = runtimetest::ScriptedAppSlot();
        TemplateRecord tree = form.Control(class_code::TreeView, 1, "Tree", 5, 5, 100, 100);
        form.Add(tree);
        TemplateRecord edit = form.Control(class_code::TextBox, 2, "Edit", 120, 5, 80, 22);
        form.Add(edit);
        TemplateRecord image = form.Control(class_code::Image, 3, "Image", 120, 40, 40, 40, WS_VISIBLE | SS_ICON);
        form.Add(image);
        form.Form().ControlCount = 3;
        form_ = runtime::BuildForm(form.Finish(), nullptr, 0, 0).window;
        ASSERT_TRUE(IsWindow(form_));
        foreign_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        runtime::EndWaitCursor();
        if (IsWindow(form_)) DestroyWindow(form_);
        if (IsWindow(foreign_)) DestroyWindow(foreign_);
    }

    HWND Control(int32_t index) const { return GetDlgItem(form_, 1000 + index); }
    RuntimeRecord* RecordOf(HWND window) const { return runtime::FindWindowRecord(window); }

    runtimetest::RuntimeSession session_{buildertest::kWideRequest};
    HWND form_ = nullptr;
    HWND foreign_ = nullptr;
};

TEST_F(BUILDER_SUITE(PropertyMembers), RefuseWhatTheyDoNotApplyTo) {
    const struct {
        const char* name;
        int32_t result;
        int32_t expected;
    } cases[] = {
        {"back colour of a foreign window", runtime::SetBackColor(foreign_, 0xFF), 0},
        {"fore colour of a foreign window", runtime::SetForeColor(foreign_, 0xFF), 0},
        {"line style 7", runtime::SetLineStyle(form_, 7), 0},
        {"line style -1", runtime::SetLineStyle(form_, -1), 0},
        {"line style of an edit", runtime::SetLineStyle(Control(2), 1), 0},
        {"picture of an edit", runtime::SetPicture(Control(2), kImageBitmap), 0},
        {"timer of a control", runtime::SetTimerInterval(Control(2), 10), 0},
        {"drop-down items of an edit", runtime::SetDropDownItems(Control(2), 4), 0},
        {"modal owner of a modeless form", runtime::GetModalOwner(form_), 0},
        {"modal owner of a control", runtime::GetModalOwner(Control(2)), -1},
        {"modal owner of a foreign window", runtime::GetModalOwner(foreign_), -1},
        {"closing a modeless form", runtime::CloseModal(form_, 3), 0},
        {"closing a foreign window", runtime::CloseModal(foreign_, 3), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
    EXPECT_TRUE(IsWindow(form_)) << "a modeless form stays open";
}

TEST_F(BUILDER_SUITE(PropertyMembers), TheTimerStartsAndStops) {
    RuntimeRecord* form = RecordOf(form_);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(runtime::SetTimerInterval(form_, 15), 2);
    EXPECT_EQ(form->TimerId, 2);
    EXPECT_EQ(form->ClassValue4, 15);
    EXPECT_EQ(runtime::SetTimerInterval(form_, 0), 0) << "0 stops the timer";
    EXPECT_EQ(form->TimerId, 0);
    EXPECT_EQ(form->ClassValue4, 15) << "the interval stays";
    runtimetest::TakeQueuedMessages();
    Sleep(60);
    runtimetest::TakeQueuedMessages();
    runtimetest::app.seen.clear();
    Sleep(60);
    runtimetest::TakeQueuedMessages();
    EXPECT_EQ(runtimetest::app.Count(WM_TIMER), 0) << "no tick after the stop";
}

TEST_F(BUILDER_SUITE(PropertyMembers), TheWaitCursorCapturesOnce) {
    runtime::BeginWaitCursor(form_);
    EXPECT_EQ(runtime::waitCursorActive, 1);
    EXPECT_EQ(GetCapture(), form_);
    runtime::BeginWaitCursor(Control(2));
    EXPECT_EQ(GetCapture(), form_) << "a second begin changes nothing";
    runtime::EndWaitCursor();
    EXPECT_EQ(runtime::waitCursorActive, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(form_);
    runtime::EndWaitCursor();
    EXPECT_EQ(GetCapture(), nullptr) << "the capture is always released";
}

TEST_F(BUILDER_SUITE(PropertyMembers), ColoursOfSelfDrawingControlsAreTold) {
    HWND tree = Control(1);
    ASSERT_EQ(runtime::SetBackColor(tree, 0x80000005), 1);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tree, TVM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(RecordOf(tree)->BackBrush, 0u);
    ASSERT_EQ(runtime::SetForeColor(tree, 0x00123456), 1);
    EXPECT_EQ(SendMessageW(tree, TVM_GETTEXTCOLOR, 0, 0), 0x123456);

    HWND edit = Control(2);
    const uint32_t oldBrush = RecordOf(edit)->BackBrush;
    ASSERT_EQ(runtime::SetBackColor(edit, 0x00010203), 1);
    LOGBRUSH brush{};
    ASSERT_NE(GetObjectW(runtime::SlotAs<HBRUSH>(RecordOf(edit)->BackBrush), sizeof brush, &brush), 0);
    EXPECT_EQ(brush.lbColor, 0x010203u);
    ASSERT_EQ(runtime::SetBackColor(edit, 0x00040506), 1);
    LOGBRUSH gone{};
    const uint32_t firstBrush = RecordOf(edit)->BackBrush;
    ASSERT_EQ(runtime::SetBackColor(edit, 0x8000000F), 1);
    EXPECT_EQ(GetObjectW(runtime::SlotAs<HBRUSH>(firstBrush), sizeof gone, &gone), 0) << "the replaced brush is deleted";
    EXPECT_NE(GetObjectW(runtime::SlotAs<HBRUSH>(oldBrush), sizeof gone, &gone), 0) << "a system brush is never deleted";
}

TEST_F(BUILDER_SUITE(PropertyMembers), APictureIsShownAndReplaced) {
    HWND image = Control(3);
    ASSERT_EQ(runtime::SetPicture(image, kIcon), 1);
    RuntimeRecord* record = RecordOf(image);
    EXPECT_EQ(record->ImageKind, runtime::image_kind::Icon);
    EXPECT_EQ(record->ImageWidth, GetSystemMetrics(SM_CXICON)) << "icons load at the system's size";
    EXPECT_EQ(static_cast<uint32_t>(SendMessageW(image, STM_GETICON, 0, 0)), record->Picture);

    ASSERT_EQ(runtime::SetPicture(form_, kImageBitmap), 1);
    RuntimeRecord* form = RecordOf(form_);
    const auto first = runtime::SlotAs<HBITMAP>(form->Picture);
    EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BITMAP));
    HBITMAP second = CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_EQ(runtime::SetPicture(form_, runtime::ToSlot(second)), 1);
    EXPECT_EQ(GetObjectType(first), 0u) << "the previous picture is deleted";
    EXPECT_EQ(form->ImageWidth, 4);
    ASSERT_EQ(runtime::SetPicture(form_, kMissingMenu), 1);
    EXPECT_EQ(form->Picture, static_cast<uint32_t>(kMissingMenu)) << "a reference that does not load is kept";
    EXPECT_EQ(form->ImageWidth, 4) << "and names no picture size";
}

TEST_F(BUILDER_SUITE(PropertyMembers), VisibilityFollowsTheFlag) {
    HWND edit = Control(2);
    ASSERT_EQ(runtime::SetVisible(edit, 0), 1);
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_EQ(RecordOf(edit)->Visible, 0);
    ASSERT_EQ(runtime::SetVisible(edit, 1), 1);
    EXPECT_TRUE(IsWindowVisible(edit));
    ASSERT_EQ(runtime::SetVisible(form_, 0), 1);
    EXPECT_FALSE(IsWindowVisible(form_));
    ASSERT_EQ(runtime::SetVisible(form_, 1), 1);
    EXPECT_TRUE(IsWindowVisible(form_));
    EXPECT_EQ(RecordOf(form_)->WindowState, runtime::window_state::Normal);
}

}  // namespace
