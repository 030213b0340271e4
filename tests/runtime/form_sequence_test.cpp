// The order of the messages a form and its controls receive when the form is built, closed,
// and shown modally, recorded and compared with tables (tests/support/message_sequence.h).

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "builder_test_support.h"
#include "runtime/build/form_builder.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/property/property_windows.h"
#include "runtime_session.h"
#include "tests/support/message_sequence.h"

namespace {

using buildertest::FormTemplate;
using testsupport::ExpectedMessage;
using testsupport::MessageSequence;
namespace class_code = runtime::class_code;
namespace match = testsupport::match;

// A form with a push button (Index 0), a group box (Index 1) holding a label (Index 2), and the
// scripted application procedure.
void AddControls(FormTemplate& form) {
    form.Form().WindowProc = runtimetest::ScriptedAppSlot();
    form.Add(form.Control(class_code::PushButton, 0, "Button", 5, 5, 80, 24));
    const std::size_t group = form.Add(form.Control(class_code::GroupBox, 1, "Group", 5, 40, 150, 80));
    form.At(group).ControlCount = 1;
    form.Add(form.Control(class_code::Label, 2, "Label", 10, 20, 60, 16));
    form.Form().ControlCount = 2;
}

class BUILDER_SUITE(FormSequence) : public ::testing::Test {
protected:
    void SetUp() override { runtimetest::app.Reset(); }
    void TearDown() override {
        if (IsWindow(form_)) DestroyWindow(form_);
        runtimetest::TakeQueuedMessages();
        runtimetest::app.Reset();
    }

    runtimetest::RuntimeSession session_{buildertest::kWideRequest};
    HWND form_ = nullptr;
};

// The form binds its record and completes itself inside its WM_CREATE: its font, then each
// control in record order. A standard control is given its font once it is created (and shown,
// as it is created visible), a push button announced to its parent first; the runtime's own
// group box takes its font inside its creation and builds its children after it. The form shows
// last.
TEST_F(BUILDER_SUITE(FormSequence), BuildingAFormCreatesItsControlsInsideItsCreation) {
    FormTemplate form;
    AddControls(form);
    MessageSequence sequence(testsupport::RuntimeWindowNames());
    form_ = runtime::BuildForm(form.Finish(), nullptr, 0, 0).window;
    ASSERT_TRUE(IsWindow(form_));
    EXPECT_TRUE(sequence.Matches({
        {"form", WM_NCCREATE},
        {"form", WM_CREATE},
        {"form", WM_SETFONT},
        {"form", runtime::FRM_MEASURETYPE, match::WParam, 4},
        {"id 1000", WM_NCCREATE},
        {"id 1000", WM_CREATE},
        {"id 1000", WM_SHOWWINDOW, match::WParam, TRUE},
        {"id 1000", WM_SETFONT},
        {"id 1001", WM_NCCREATE},
        {"id 1001", WM_CREATE},
        {"id 1001", WM_SETFONT},
        {"id 1001", WM_SHOWWINDOW, match::WParam, TRUE},
        {"id 1002", WM_NCCREATE},
        {"id 1002", WM_CREATE},
        {"id 1002", WM_SHOWWINDOW, match::WParam, TRUE},
        {"id 1002", WM_SETFONT},
        {"form", WM_SHOWWINDOW, match::WParam, TRUE},
    }));
}

// Closing destroys the form from the top down and frees the windows from the bottom up; each
// window is given back the font it had before the runtime's is deleted, inside its WM_DESTROY.
TEST_F(BUILDER_SUITE(FormSequence), ClosingAFormDestroysItTopDownAndFreesItBottomUp) {
    FormTemplate form;
    AddControls(form);
    form_ = runtime::BuildForm(form.Finish(), nullptr, 0, 0).window;
    ASSERT_TRUE(IsWindow(form_));
    MessageSequence sequence(testsupport::RuntimeWindowNames());
    EXPECT_EQ(SendMessageW(form_, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(form_));
    EXPECT_TRUE(sequence.Matches({
        {"form", WM_CLOSE},
        {"form", WM_DESTROY},
        {"form", WM_SETFONT},
        {"id 1000", WM_DESTROY},
        {"id 1000", WM_SETFONT},
        {"id 1001", WM_DESTROY},
        {"id 1001", WM_SETFONT},
        {"id 1002", WM_DESTROY},
        {"id 1002", WM_SETFONT},
        {"id 1000", WM_NCDESTROY},
        {"id 1002", WM_NCDESTROY},
        {"id 1001", WM_NCDESTROY},
        {"form", WM_NCDESTROY},
    }));
}

// A modal form disables its owner once it is created and enables it again before it is
// destroyed; a close posted to it ends the modal loop.
TEST_F(BUILDER_SUITE(FormSequence), AModalFormHoldsItsOwnerDisabledWhileItLives) {
    FormTemplate ownerTemplate;
    ownerTemplate.Form().WindowProc = runtimetest::ScriptedAppSlot();
    form_ = runtime::BuildForm(ownerTemplate.Finish(), nullptr, 0, 0).window;
    ASSERT_TRUE(IsWindow(form_));

    FormTemplate modal;
    modal.Form().WindowProc = runtimetest::ScriptedAppSlot();
    runtimetest::app.onMessage = [](HWND window, UINT message, WPARAM, LPARAM) {
        if (message == runtime::FRM_CREATED) PostMessageW(window, WM_CLOSE, 0, 0);
    };
    MessageSequence sequence(testsupport::RuntimeWindowNames());
    sequence.Name(form_, "owner");
    EXPECT_EQ(runtime::BuildForm(modal.Finish(), form_, 1, 0).modalResult, 0) << "closed, the modal result is 0";
    runtimetest::app.onMessage = nullptr;
    EXPECT_TRUE(IsWindowEnabled(form_));
    EXPECT_TRUE(sequence.Matches({
        {"form", WM_NCCREATE},
        {"form", WM_CREATE},
        {"owner", WM_ENABLE, match::WParam, FALSE},
        {"form", WM_SHOWWINDOW, match::WParam, TRUE},
        {"form", WM_CLOSE},
        {"owner", WM_ENABLE, match::WParam, TRUE},
        {"form", WM_DESTROY},
        {"form", WM_NCDESTROY},
    }));
}

}  // namespace
