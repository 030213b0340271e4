// The window and message functions of the property interface (controls by identifier, the
// message pump, default processing, the default button, window state and rectangle, tooltips,
// controls loaded into a container, the modal state) and drawing on forms and pictures.

#include <windows.h>

#include <functional>
#include <string>

#include "built_form_fixture.h"
#include "runtime/build/build_support.h"
#include "runtime/build/form_builder.h"
#include "runtime/process/message_pump.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_drawing.h"
#include "runtime/property/property_getters.h"
#include "runtime/property/property_setters.h"
#include "runtime/build/modal_state.h"
#include "runtime/property/property_windows.h"

namespace property_window_test {

using buildertest::FormTemplate;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;

enum : int32_t {
    kEdit = 1,
    kGroup = 2,
    kGroupEdit = 3,
    kImageList = 4,
    kButton = 5,
    kDefaultButton = 6,
    kPicture = 7,
    kNegativeIndex = -1
};

class BUILDER_SUITE(PropertyWindow) : public buildertest::BuiltFormTest {
protected:
    void SetUp() override {
        BuiltFormTest::SetUp();
        FormTemplate& form = template_;
        form.Form().WindowProc = runtimetest::ScriptedAppSlot();
        form.Form().ToolTips = runtime::tooltip_mode::Standard;
        form.Form().Text = form.Text("Caption of the form");
        form.At(form.Add(form.Control(class_code::TextBox, kEdit, "Edit", 5, 5, 80, 22))).Text = form.Text("abc");
        const std::size_t group = form.Add(form.Control(class_code::GroupBox, kGroup, "Group", 100, 5, 150, 100));
        form.At(group).ControlCount = 1;
        form.Add(form.Control(class_code::TextBox, kGroupEdit, "Inner", 10, 20, 80, 22));
        TemplateRecord images = form.Control(class_code::ImageListHolder, kImageList, "Images", 0, 0, 0, 0);
        images.ImageWidth = 16;
        images.ImageHeight = 16;
        form.Add(images);
        form.Add(form.Control(class_code::PushButton, kButton, "Button", 5, 40, 80, 24));
        // The default flag of a push button is its slot 36.
        form.At(form.Add(form.Control(class_code::PushButton, kDefaultButton, "Ok", 5, 70, 80, 24))).IsDefault = 1;
        form.Add(form.Control(class_code::PictureBox, kPicture, "Picture", 5, 110, 80, 40));
        // A control whose Index is below 0: no identifier may reach it.
        form.Add(form.Control(class_code::Label, kNegativeIndex, "Negative", 5, 160, 80, 16));
        form.Form().ControlCount = 7;
        ASSERT_NE(Build(form), nullptr);
        foreign_ = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        if (IsWindow(foreign_)) DestroyWindow(foreign_);
        BuiltFormTest::TearDown();
    }

    static int32_t AsValue(HWND window) { return static_cast<int32_t>(runtime::ToSlot(window)); }

    FormTemplate template_;
    HWND foreign_ = nullptr;
};

TEST_F(BUILDER_SUITE(PropertyWindow), ControlsAreFoundByIdentifier) {
    const RuntimeRecord* images = runtime::FindWindowRecord(Control(kImageList));
    ASSERT_NE(images, nullptr);
    const struct {
        const char* name;
        HWND start;
        int32_t id;
        int32_t found;
    } cases[] = {
        {"999, which the control of Index -1 would have", form_, 999, 0},
        {"-5", form_, -5, 0},
        {"an index no control has", form_, 1050, 0},
        {"a control of the form", form_, 1000 + kEdit, AsValue(Control(kEdit))},
        {"the group box itself", form_, 1000 + kGroup, AsValue(Control(kGroup))},
        {"a control inside the group box", form_, 1000 + kGroupEdit, AsValue(Control(kGroupEdit))},
        {"from a control, on its form", Control(kGroupEdit), 1000 + kButton, AsValue(Control(kButton))},
        {"an image-list holder gives its list", form_, 1000 + kImageList, static_cast<int32_t>(images->ImageList)},
        {"on a foreign window", foreign_, 1000 + kEdit, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(runtime::GetControlById(c.start, c.id), c.found) << c.name;
    EXPECT_NE(images->ImageList, 0u);

    // A form inside the form is no control: its slot of the Index (its ToolTips, 0 once built)
    // does not make it the answer for 1000, which no control of the form has.
    FormTemplate inner;
    inner.Form().Style = WS_CHILD | WS_VISIBLE;
    const HWND built = runtime::BuildForm(inner.Finish(), form_, 0, 0).window;
    ASSERT_TRUE(IsWindow(built));
    const RuntimeRecord* innerRecord = runtime::FindWindowRecord(built);
    ASSERT_NE(innerRecord, nullptr);
    ASSERT_EQ(innerRecord->Index, 0) << "the inner form's slot reads as Index 0";
    EXPECT_EQ(runtime::GetControlById(form_, 1000), 0) << "the inner form was taken for a control";
}

TEST_F(BUILDER_SUITE(PropertyWindow), DoEventsDispatchesAndLeavesTheQuitMessage) {
    runtimetest::app.seen.clear();
    PostMessageW(form_, WM_APP, 1, 0);
    PostMessageW(form_, WM_APP, 2, 0);
    EXPECT_EQ(runtime::DoEvents(), 1);
    EXPECT_EQ(runtimetest::app.Count(WM_APP), 2) << "both posted messages reach the form";

    PostMessageW(form_, WM_APP, 3, 0);
    PostQuitMessage(5);
    EXPECT_EQ(runtime::DoEvents(), 0) << "the quit message ends the pumping";
    const runtimetest::QueuedQuit quit = runtimetest::TakeQueuedMessages();
    EXPECT_TRUE(quit.posted) << "and is still there for the message loop";
    EXPECT_EQ(quit.code, 5u);
    EXPECT_EQ(runtimetest::app.Count(WM_APP), 3);
}

TEST_F(BUILDER_SUITE(PropertyWindow), RefreshAndRepaintPaintAtOnce) {
    runtimetest::app.seen.clear();
    PostMessageW(form_, WM_APP, 0, 0);
    EXPECT_EQ(runtime::Refresh(form_), 1);
    EXPECT_GT(runtimetest::app.Count(WM_PAINT), 0) << "painted before Refresh returns";
    EXPECT_EQ(runtimetest::app.Count(WM_APP), 1) << "and the queue pumped";
    runtimetest::app.seen.clear();
    EXPECT_EQ(runtime::Repaint(form_), 1);
    EXPECT_GT(runtimetest::app.Count(WM_ERASEBKGND), 0) << "erased";
    EXPECT_GT(runtimetest::app.Count(WM_PAINT), 0) << "and painted";
    EXPECT_EQ(runtime::Refresh(foreign_), 0);
    EXPECT_EQ(runtime::Repaint(foreign_), 0);
}

TEST_F(BUILDER_SUITE(PropertyWindow), DefaultProcessingByKindOfWindow) {
    EXPECT_EQ(runtime::CallDefaultProc(Control(kEdit), WM_GETTEXTLENGTH, 0, 0), 3) << "the edit's own procedure";
    EXPECT_EQ(runtime::CallDefaultProc(form_, WM_GETTEXTLENGTH, 0, 0), 19) << "the form's default";
    runtimetest::app.seen.clear();
    runtime::CallDefaultProc(form_, WM_APP, 0, 0);
    EXPECT_EQ(runtimetest::app.Count(WM_APP), 0) << "the application's procedure is passed over";
    EXPECT_EQ(runtime::CallDefaultProc(foreign_, WM_GETTEXTLENGTH, 0, 0), -1);
}

TEST_F(BUILDER_SUITE(PropertyWindow), TheDefaultButtonIsKnown) {
    EXPECT_EQ(runtime::IsDefaultButton(Control(kDefaultButton)), 1);
    EXPECT_EQ(runtime::IsDefaultButton(Control(kButton)), 0);
    EXPECT_EQ(runtime::IsDefaultButton(Control(kEdit)), 0);
    EXPECT_EQ(runtime::IsDefaultButton(foreign_), 0);
}

TEST_F(BUILDER_SUITE(PropertyWindow), TheWindowStateIsReadFromTheSystem) {
    ShowWindow(form_, SW_MAXIMIZE);
    EXPECT_EQ(runtime::UpdateWindowState(form_), 2);
    EXPECT_EQ(runtime::GetWindowState(form_), 2);
    ShowWindow(form_, SW_RESTORE);
    EXPECT_EQ(runtime::UpdateWindowState(form_), 0);
    const int32_t min = runtime::FindWindowRecord(Control(kEdit))->Min;
    EXPECT_EQ(runtime::UpdateWindowState(Control(kEdit)), -1) << "a control has no window state";
    EXPECT_EQ(runtime::FindWindowRecord(Control(kEdit))->Min, min) << "and its slot 188 stays";
    EXPECT_EQ(runtime::UpdateWindowState(foreign_), -1);
}

TEST_F(BUILDER_SUITE(PropertyWindow), TheWindowRectangleInTheScaleMode) {
    RECT rect{};
    ASSERT_EQ(runtime::GetWindowRectInUnits(Control(kGroupEdit), &rect), 1);
    EXPECT_EQ(rect.left, 10) << "in the group box's client area";
    EXPECT_EQ(rect.right - rect.left, 80);
    RECT screen{};
    GetWindowRect(form_, &screen);
    ASSERT_EQ(runtime::GetWindowRectInUnits(form_, &rect), 1);
    EXPECT_TRUE(EqualRect(&rect, &screen)) << "a top-level form on the screen";

    runtime::FindWindowRecord(form_)->ScaleMode = runtime::scale_mode::Twips;
    ASSERT_EQ(runtime::GetWindowRectInUnits(form_, &rect), 1);
    EXPECT_EQ(rect.left, screen.left * runtime::twipsPerPixelX);
    EXPECT_EQ(rect.bottom, screen.bottom * runtime::twipsPerPixelY);
    runtime::FindWindowRecord(form_)->ScaleMode = runtime::scale_mode::Pixels;

    const RECT untouched{1, 2, 3, 4};
    rect = untouched;
    EXPECT_EQ(runtime::GetWindowRectInUnits(foreign_, &rect), 0);
    EXPECT_TRUE(EqualRect(&rect, &untouched));
}

TEST_F(BUILDER_SUITE(PropertyWindow), TheTooltipWindowOfAFormAndItsControls) {
    const int32_t tooltip = runtime::GetToolTipWindow(form_);
    ASSERT_NE(tooltip, 0);
    EXPECT_EQ(buildertest::ClassOf(runtime::SlotAs<HWND>(static_cast<uint32_t>(tooltip))), L"tooltips_class32");
    EXPECT_EQ(runtime::GetToolTipWindow(Control(kGroupEdit)), tooltip) << "a control shows its tip there";
    EXPECT_EQ(runtime::GetToolTipWindow(foreign_), 0);
}

TEST_F(BUILDER_SUITE(PropertyWindow), ControlsAreLoadedIntoAContainer) {
    FormTemplate child;
    child.Add(child.Control(class_code::TextBox, 20, "Loaded1", 5, 40, 60, 22));
    child.Add(child.Control(class_code::Label, 21, "Loaded2", 70, 40, 60, 22));
    child.Form().ControlCount = 2;
    const TemplateRecord* loaded = child.Finish();
    const int busy = runtimetest::BusyBlocks();
    ASSERT_EQ(runtime::LoadChildForm(Control(kGroup), loaded), 1);
    const auto first = runtime::SlotAs<HWND>(static_cast<uint32_t>(runtime::GetControlById(form_, 1020)));
    const auto second = runtime::SlotAs<HWND>(static_cast<uint32_t>(runtime::GetControlById(form_, 1021)));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetParent(first), Control(kGroup)) << "inside the group box";
    EXPECT_EQ(runtime::GetOwnerForm(first), AsValue(form_));
    RECT rect{};
    ASSERT_EQ(runtime::GetWindowRectInUnits(second, &rect), 1);
    EXPECT_EQ(rect.left, 70);
    // The group box's record now lists its three controls.
    int listed = 0;
    for ([[maybe_unused]] RuntimeRecord* record :
         runtime::ChildrenOf(*runtime::FindWindowRecord(Control(kGroup)))) {
        ++listed;
    }
    EXPECT_EQ(listed, 3);
    EXPECT_GT(runtimetest::BusyBlocks(), busy);

    EXPECT_EQ(runtime::LoadChildForm(Control(kEdit), loaded), 0) << "an edit holds no controls";
    EXPECT_EQ(runtime::LoadChildForm(foreign_, loaded), 0);
    FormTemplate empty;
    EXPECT_EQ(runtime::LoadChildForm(form_, empty.Finish()), 0) << "a template without controls";
}

TEST_F(BUILDER_SUITE(PropertyWindow), AModalFormBeingDestroyedEndsItsModalState) {
    FormTemplate modal;
    modal.Form().WindowProc = runtimetest::ScriptedAppSlot();
    int32_t ended = 0;
    bool ownerEnabledAfter = false;
    int32_t ownerAfter = -2;
    runtimetest::app.onMessage = [&](HWND window, UINT message, WPARAM, LPARAM) {
        if (message == runtime::FRM_CREATED) PostMessageW(window, WM_APP, 0, 0);
        if (message == WM_APP && window != form_) {
            ended = runtime::EndModalState(window, 9);
            ownerEnabledAfter = IsWindowEnabled(form_) != FALSE;
            ownerAfter = runtime::GetModalOwner(window);
            EXPECT_EQ(runtime::EndModalState(window, 4), 0) << "once only";
            DestroyWindow(window);
        }
    };
    EXPECT_EQ(runtime::BuildForm(modal.Finish(), form_, 1, 0).modalResult, 9) << "the loop returns the kept result";
    runtimetest::app.onMessage = nullptr;
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(ownerEnabledAfter) << "the owner is enabled again";
    EXPECT_EQ(ownerAfter, 0) << "the form is no longer modal";
    EXPECT_EQ(runtime::EndModalState(form_, 1), 0) << "a modeless form";
}

TEST_F(BUILDER_SUITE(PropertyWindow), ThePrintPositionIsKeptInPixelsAndReadInUnits) {
    ASSERT_EQ(runtime::SetCurrentX(form_, 30), 1);
    ASSERT_EQ(runtime::SetCurrentY(Control(kPicture), -32768), 1);
    EXPECT_EQ(runtime::GetCurrentX(form_), 30);
    EXPECT_EQ(runtime::GetCurrentY(Control(kPicture)), -32768);
    RuntimeRecord* form = runtime::FindWindowRecord(form_);
    form->ScaleMode = runtime::scale_mode::Twips;
    ASSERT_EQ(runtime::SetCurrentX(form_, 20 * runtime::twipsPerPixelX), 1);
    EXPECT_EQ(form->PrintX, 20) << "the print position is kept in pixels";
    EXPECT_EQ(runtime::GetCurrentX(form_), 20 * runtime::twipsPerPixelX) << "read back in twips";
    form->ScaleMode = runtime::scale_mode::Pixels;
    EXPECT_EQ(runtime::GetCurrentX(Control(kEdit)), -1);
    EXPECT_EQ(runtime::GetCurrentX(foreign_), -1);
}

TEST_F(BUILDER_SUITE(PropertyWindow), TextIsPrintedOnFormsAndPictures) {
    EXPECT_EQ(runtime::PrintTextA(form_, "printed"), 1);
    EXPECT_EQ(runtime::PrintTextW(Control(kPicture), L"printed"), 1);
    EXPECT_EQ(runtime::FindWindowRecord(Control(kPicture))->PasswordChar, 0)
        << "the picture's text slot is cleared";
    EXPECT_EQ(runtime::PrintTextA(Control(kEdit), "printed"), 0);
    EXPECT_EQ(runtime::PrintTextA(foreign_, "printed"), 0);
    EXPECT_EQ(runtime::DrawEllipse(form_, 1, 1, 9, 9, 0xFF), 1);
    EXPECT_EQ(runtime::DrawLineBox(Control(kPicture), 1, 1, 9, 9, 0xFF, runtime::line_box::FilledBox), 1);
    EXPECT_EQ(runtime::DrawLineBox(Control(kEdit), 1, 1, 9, 9, 0xFF, runtime::line_box::Line), 0);
}

// A 40 by 40 white bitmap in a memory device context.
class Canvas {
public:
    Canvas() : device_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 40;
        info.bmiHeader.biHeight = -40;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(device_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous_ = SelectObject(device_, bitmap_);
        RECT all{0, 0, 40, 40};
        FillRect(device_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(device_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(device_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC device() const { return device_; }
    COLORREF At(int x, int y) const { return GetPixel(device_, x, y); }

private:
    HDC device_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST(DrawShape, LinesBoxesAndEllipsesLandOnTheirPixels) {
    constexpr COLORREF kRed = RGB(255, 0, 0);
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    using Kind = runtime::Shape::Kind;
    const struct {
        const char* name;
        Kind kind;
        RECT corners;
        POINT inked;
        POINT blank;
    } cases[] = {
        {"a line", Kind::Line, {2, 20, 38, 20}, {20, 20}, {20, 25}},
        {"a box's outline", Kind::Box, {5, 5, 30, 30}, {5, 17}, {17, 17}},
        {"a filled box", Kind::FilledBox, {5, 5, 30, 30}, {17, 17}, {35, 35}},
        {"an ellipse", Kind::Ellipse, {0, 0, 40, 40}, {20, 20}, {1, 1}},
    };
    for (const auto& c : cases) {
        Canvas canvas;
        runtime::Shape shape;
        shape.kind = c.kind;
        shape.corners = c.corners;
        shape.color = kRed;
        runtime::DrawShape(canvas.device(), shape);
        EXPECT_EQ(canvas.At(c.inked.x, c.inked.y), kRed) << c.name;
        EXPECT_EQ(canvas.At(c.blank.x, c.blank.y), kWhite) << c.name;
    }
}

}  // namespace property_window_test
