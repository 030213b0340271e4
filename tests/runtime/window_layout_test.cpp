// The runtime window procedure's layout and text rows under Wine: docked bars on real windows,
// the record following the window's place and size, the caption copy, captions measured again,
// and pictures and image lists set from outside.

#include "window_proc_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/process/screen.h"

namespace {

using namespace windowproctest;
using runtime::Placement;
namespace dock_side = runtime::dock_side;

// A picture box docked at `side`, of the given size in pixels.
HWND DockedPicture(HWND parent, int32_t side, int width, int height) {
    RuntimeRecord* record = NewRecord(class_code::PictureBox);
    record->DockSide = side;
    record->Visible = 1;
    record->Width = width;
    record->Height = height;
    return CreateBound(record, RuntimeClass::Picture, WS_CHILD | WS_VISIBLE, parent, 0, 0, 0, width, height);
}

TEST_P(WindowProc, DockedBarsLandInTheirStripsInBothOrders) {
    const struct {
        const char* order;
        int32_t alternative;
        Placement top, bottom, left, right;
    } cases[] = {
        {"normal", 0, {0, 0, 400, 30}, {0, 280, 400, 20}, {0, 30, 50, 250}, {340, 30, 60, 250}},
        {"alternative", 1, {0, 0, 400, 30}, {50, 280, 290, 20}, {0, 30, 50, 270}, {340, 30, 60, 270}},
    };
    for (const auto& c : cases) {
        RuntimeRecord* formRecord = nullptr;
        HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        formRecord->ClassValue5 = c.alternative;
        SetClientSize(form, 400, 300);
        // Created in this Z order: bottom, right, top, left.
        HWND bottom = DockedPicture(form, dock_side::Bottom, 10, 20);
        HWND right = DockedPicture(form, dock_side::Right, 60, 10);
        HWND top = DockedPicture(form, dock_side::Top, 10, 30);
        HWND left = DockedPicture(form, dock_side::Left, 50, 10);
        runtime::SendToWindow(form, runtime::FRM_RELAYOUT, 0, 0);
        EXPECT_EQ(Describe(PlaceOf(top)), Describe(c.top)) << c.order << " top";
        EXPECT_EQ(Describe(PlaceOf(bottom)), Describe(c.bottom)) << c.order << " bottom";
        EXPECT_EQ(Describe(PlaceOf(left)), Describe(c.left)) << c.order << " left";
        EXPECT_EQ(Describe(PlaceOf(right)), Describe(c.right)) << c.order << " right";

        // A wider and higher form: its WM_SIZE lays the bars out again.
        SetClientSize(form, 440, 320);
        EXPECT_EQ(PlaceOf(right).left, 380) << c.order << ": the right bar follows the right edge";
        EXPECT_EQ(PlaceOf(bottom).top, 300) << c.order << ": the bottom bar follows the bottom edge";
        EXPECT_EQ(PlaceOf(top).width, 440) << c.order;

        // A bar that is hidden leaves its strip to the others.
        ShowWindow(top, SW_HIDE);
        EXPECT_EQ(runtime::FindWindowRecord(top)->Visible, 0) << c.order;
        EXPECT_EQ(PlaceOf(left).top, 0) << c.order << ": the left bar took the top strip";
        DestroyWindow(form);
    }
}

TEST_P(WindowProc, AnMdiFramesClientTakesWhatTheBarsLeave) {
    RuntimeRecord* frameRecord = nullptr;
    HWND frame = Form(frameRecord, form_kind::MdiFrame, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetClientSize(frame, 300, 200);
    HWND top = DockedPicture(frame, dock_side::Top, 10, 24);
    HWND left = DockedPicture(frame, dock_side::Left, 40, 10);
    ASSERT_NE(left, nullptr);
    app.seen.clear();
    SetClientSize(frame, 320, 220);
    ASSERT_GE(app.Count(WM_SIZE), 1) << "the frame's application still sees its size";
    HWND client = runtime::SlotAs<HWND>(frameRecord->MdiClient);
    // The frame's (empty) menu bar may take a height of its own: the client area is measured.
    RECT area{};
    GetClientRect(frame, &area);
    EXPECT_EQ(Describe(PlaceOf(top)), Describe(Placement{0, 0, area.right, 24}));
    EXPECT_EQ(Describe(PlaceOf(client)), Describe(Placement{40, 24, area.right - 40, area.bottom - 24}))
        << "not under the bars";
    // A bar asked to lay out its parent does the frame's layout.
    SetWindowPos(top, nullptr, 0, 0, 10, 30, SWP_NOMOVE | SWP_NOZORDER);
    runtime::SendToWindow(top, runtime::FRM_RELAYOUT, 1, 0);
    EXPECT_EQ(PlaceOf(client).top, 30);
}

TEST_P(WindowProc, TheRecordFollowsPlaceAndSizeInItsScaleMode) {
    const int32_t tppX = runtime::twipsPerPixelX;
    const int32_t tppY = runtime::twipsPerPixelY;
    const struct {
        int32_t scaleMode;
        int32_t x, y;  // factors per pixel
    } cases[] = {{runtime::scale_mode::Pixels, 1, 1}, {runtime::scale_mode::Twips, tppX, tppY}};
    for (const auto& c : cases) {
        RuntimeRecord* formRecord = nullptr;
        HWND form = Form(formRecord, form_kind::Window, WS_POPUP | WS_VISIBLE);
        formRecord->ScaleMode = c.scaleMode;
        MoveWindow(form, 30, 40, 310, 210, TRUE);
        EXPECT_EQ(formRecord->Left, 30 * c.x) << "scale mode " << c.scaleMode;
        EXPECT_EQ(formRecord->Top, 40 * c.y) << "scale mode " << c.scaleMode;
        EXPECT_EQ(formRecord->Width, 310 * c.x) << "scale mode " << c.scaleMode;
        EXPECT_EQ(formRecord->Height, 210 * c.y) << "scale mode " << c.scaleMode;

        RuntimeRecord* labelRecord = NewRecord(class_code::Label);
        labelRecord->ScaleMode = c.scaleMode;
        HWND label = runtimetest::AttachControl(labelRecord, "STATIC", 0, form, 1);
        MoveWindow(label, 12, 14, 80, 24, TRUE);
        EXPECT_EQ(labelRecord->Left, 12 * c.x) << "scale mode " << c.scaleMode;
        EXPECT_EQ(labelRecord->Top, 14 * c.y) << "scale mode " << c.scaleMode;
        EXPECT_EQ(labelRecord->Width, 80 * c.x) << "scale mode " << c.scaleMode;
        EXPECT_EQ(labelRecord->Height, 24 * c.y) << "scale mode " << c.scaleMode;
        DestroyWindow(form);
    }
}

TEST_P(WindowProc, TheCaptionCopyFollowsTheWindowText) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* label = NewRecord(class_code::Label);
    label->Text = runtimetest::HeapText("abc");
    label->CaptionLength = 3;
    HWND window = runtimetest::AttachControl(label, "STATIC", 0, form, 1);
    const struct {
        const char* text;  // null: a null text
        const char* copy;
        int32_t length;
    } steps[] = {
        {"abcdef", "abcdef", 6}, {"xy", "xy", 2}, {"zw", "zw", 2}, {nullptr, "", 0}, {"", "", 0}, {"again", "again", 5},
    };
    for (const auto& s : steps) {
        runtime::SendToWindow(window, WM_SETTEXT, 0, s.text != nullptr ? TextInMode(s.text) : 0);
        EXPECT_EQ(CaptionOf(*label), s.copy) << "after " << (s.text != nullptr ? s.text : "<null>");
        EXPECT_EQ(label->CaptionLength, s.length) << "after " << (s.text != nullptr ? s.text : "<null>");
    }
    // A caption set from the copy itself (as the builder sets a form's caption) stays intact.
    label->CaptionLength = 0;
    runtime::SendToWindow(window, WM_SETTEXT, 0, static_cast<LPARAM>(label->Text));
    EXPECT_EQ(CaptionOf(*label), "again");
    EXPECT_EQ(label->CaptionLength, 5);
    char shown[16] = {};
    GetWindowTextA(window, shown, 16);
    EXPECT_STREQ(shown, "again");
    EXPECT_TRUE(HeapValidate(runtime::runtimeHeap, 0, nullptr));
}

TEST_P(WindowProc, LabelsAndGroupBoxesMeasureANewCaption) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RuntimeRecord* label = NewRecord(class_code::Label);
    label->AutoSize = 1;
    HWND labelWindow = runtimetest::AttachControl(label, "STATIC", 0, form, 1, 10, 10, 20, 16);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 10, 40, 200, 100);
    ASSERT_NE(groupBox, nullptr);

    // The width of a text in a window's font.
    auto textWidth = [](HWND window, const char* text) {
        HDC device = GetDC(window);
        auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
        HGDIOBJ previous = font != nullptr ? SelectObject(device, font) : nullptr;
        SIZE size{};
        GetTextExtentPoint32A(device, text, static_cast<int>(strlen(text)), &size);
        if (previous != nullptr) SelectObject(device, previous);
        ReleaseDC(window, device);
        return size;
    };

    runtime::SendToWindow(labelWindow, WM_SETTEXT, 0, TextInMode("A much longer caption"));
    const SIZE labelText = textWidth(labelWindow, "A much longer caption");
    EXPECT_EQ(PlaceOf(labelWindow).width, labelText.cx) << "the label sized itself to its caption";
    EXPECT_EQ(label->Width, labelText.cx);
    EXPECT_EQ(label->ImageHeight, labelText.cy);

    const struct {
        const char* caption;
        bool captioned;
    } cases[] = {{"Frame caption", true}, {"", false}, {"X", true}};
    for (const auto& c : cases) {
        runtime::SendToWindow(groupBox, WM_SETTEXT, 0, TextInMode(c.caption));
        const SIZE text = textWidth(groupBox, c.caption);
        EXPECT_EQ(group->ClassValue3, c.captioned ? 9 : 0) << "caption \"" << c.caption << "\"";
        EXPECT_EQ(group->ImageWidth, c.captioned ? text.cx + 4 : 0) << "caption \"" << c.caption << "\"";
        EXPECT_EQ(group->ImageHeight, c.captioned ? text.cy : 0) << "caption \"" << c.caption << "\"";
    }
}

TEST_P(WindowProc, APictureSetFromOutsideIsTheRecordsPicture) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* image = NewRecord(class_code::Image);
    image->ImageKind = runtime::image_kind::None;
    HWND imageWindow = runtimetest::AttachControl(image, "STATIC", SS_BITMAP, form, 1);
    HBITMAP bitmap = CreateBitmap(16, 12, 1, 32, nullptr);
    runtime::SendToWindow(imageWindow, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    EXPECT_EQ(image->Picture, runtime::ToSlot(bitmap));
    EXPECT_EQ(image->ImageKind, runtime::image_kind::Bitmap);
    EXPECT_EQ(image->ImageWidth, 16);
    EXPECT_EQ(image->ImageHeight, 12);
    EXPECT_EQ(runtime::SendToWindow(imageWindow, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap))
        << "the control shows it";
}

// The heights a window was asked to take (WM_WINDOWPOSCHANGING), seen by a thread hook.
HWND sizedWindow = nullptr;
std::vector<int> sizesAsked;
LRESULT CALLBACK RecordSizeAsked(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == sizedWindow && sent->message == WM_WINDOWPOSCHANGING) {
        const auto* place = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
        if ((place->flags & SWP_NOSIZE) == 0) sizesAsked.push_back(place->cy);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_P(WindowProc, AnExtendedComboBoxGrowsWithItsImageList) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* combo = NewRecord(class_code::ComboBoxEx);
    combo->MaxLength = 5;  // items shown when the list drops down
    HWND comboWindow = runtimetest::AttachControl(combo, WC_COMBOBOXEXA, CBS_DROPDOWN, form, 1, 10, 10, 150, 200);
    ASSERT_NE(comboWindow, nullptr);
    HIMAGELIST images = ImageList_Create(16, 30, ILC_COLOR32, 1, 1);
    const int32_t fieldHeight = PlaceOf(comboWindow).height;
    sizesAsked.clear();
    sizedWindow = comboWindow;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSizeAsked, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    runtime::SendToWindow(comboWindow, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    UnhookWindowsHookEx(hook);
    auto inner = reinterpret_cast<HWND>(runtime::SendToWindow(comboWindow, CBEM_GETCOMBOCONTROL, 0, 0));
    const auto itemHeight = static_cast<int32_t>(runtime::SendToWindow(inner, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(combo->ImageHeight, itemHeight);
    EXPECT_EQ(combo->Height, fieldHeight);
    // The control may keep its field's height on screen (Wine's does); the height asked for
    // leaves room for five items below the field.
    const int expected = 5 * itemHeight + fieldHeight + 2;
    EXPECT_NE(std::find(sizesAsked.begin(), sizesAsked.end(), expected), sizesAsked.end())
        << "no resize to " << expected << " among " << sizesAsked.size() << " asked";
    runtime::SendToWindow(comboWindow, CBEM_SETIMAGELIST, 0, 0);
    ImageList_Destroy(images);
}

}  // namespace
