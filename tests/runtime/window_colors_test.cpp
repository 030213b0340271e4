// The runtime window procedure's colour and painting rows under Wine: the colours a control is
// given, who erases which window, transparent labels drawn again after what lies under them,
// and the colours resolved again when the system's change.

#include "window_proc_fixture.h"

#include <string>
#include <vector>

namespace {

using namespace windowproctest;

// A memory device context with a small bitmap filled with `fill`, for colours and pixels.
class MemoryDevice {
public:
    explicit MemoryDevice(COLORREF fill = RGB(1, 2, 3)) {
        HDC screen = GetDC(nullptr);
        device_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, 40, 40);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(device_, bitmap_);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, 40, 40};
        FillRect(device_, &all, brush);
        DeleteObject(brush);
    }
    ~MemoryDevice() {
        SelectObject(device_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(device_);
    }
    MemoryDevice(const MemoryDevice&) = delete;
    MemoryDevice& operator=(const MemoryDevice&) = delete;
    HDC get() const { return device_; }
    COLORREF Pixel() const { return GetPixel(device_, 5, 5); }

private:
    HDC device_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// Gives a record its own colours and font, as the builder resolves them.
void Colour(RuntimeRecord* record, COLORREF back, COLORREF fore) {
    record->BackColorRgb = back;
    record->BackBrush = runtime::ToSlot(CreateSolidBrush(back));
    record->ForeColorRgb = fore;
    record->FontHandle = runtime::ToSlot(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
}

TEST_P(WindowProc, ControlsAreGivenTheColoursOfTheirRecords) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    Colour(formRecord, RGB(200, 200, 200), RGB(0, 0, 0));
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 200, 150);
    Colour(group, RGB(180, 180, 100), RGB(0, 0, 0));

    RuntimeRecord* label = NewRecord(class_code::Label);
    HWND labelWindow = runtimetest::AttachControl(label, "STATIC", 0, form, 1);
    Colour(label, RGB(10, 20, 30), RGB(40, 50, 60));
    RuntimeRecord* button = NewRecord(class_code::CheckBox);
    HWND buttonWindow = runtimetest::AttachControl(button, "BUTTON", BS_CHECKBOX, groupBox, 2);
    Colour(button, RGB(70, 80, 90), RGB(100, 110, 120));
    RuntimeRecord* edit = NewRecord(class_code::TextBox);
    HWND editWindow = runtimetest::AttachControl(edit, "EDIT", 0, form, 3);
    Colour(edit, RGB(130, 140, 150), RGB(160, 170, 180));
    RuntimeRecord* combo = NewRecord(class_code::ComboBox);
    HWND comboWindow = runtimetest::AttachControl(combo, "COMBOBOX", CBS_DROPDOWN, form, 4, 10, 60, 100, 100);
    Colour(combo, RGB(190, 200, 210), RGB(220, 230, 240));
    HWND comboField = GetWindow(comboWindow, GW_CHILD);
    HWND foreign = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, form, nullptr, nullptr, nullptr);

    const struct {
        const char* name;
        HWND receiver;
        UINT message;
        HWND control;
        const RuntimeRecord* colours;  // null: the system default answers
        const RuntimeRecord* brushOf;
        bool ownBackground;  // SetBkColor instead of the transparent background mode
    } cases[] = {
        {"label at its form", form, WM_CTLCOLORSTATIC, labelWindow, label, label, false},
        {"check box at its group box", groupBox, WM_CTLCOLORBTN, buttonWindow, button, group, false},
        {"check box as static at its group box", groupBox, WM_CTLCOLORSTATIC, buttonWindow, button, button, false},
        {"edit at its form", form, WM_CTLCOLOREDIT, editWindow, edit, edit, true},
        {"combo box field at the combo box", comboWindow, WM_CTLCOLOREDIT, comboField, combo, combo, true},
        {"foreign control at the form", form, WM_CTLCOLORSTATIC, foreign, nullptr, nullptr, false},
    };
    for (const auto& c : cases) {
        MemoryDevice device;
        SetBkMode(device.get(), OPAQUE);
        SetBkColor(device.get(), RGB(1, 1, 1));
        app.seen.clear();
        const LRESULT brush = runtime::SendToWindow(c.receiver, c.message, reinterpret_cast<WPARAM>(device.get()),
                                                    reinterpret_cast<LPARAM>(c.control));
        if (c.receiver == form) {
            EXPECT_EQ(app.Count(c.message), 1) << c.name << ": the application is asked first";
        }
        if (c.colours == nullptr) {
            EXPECT_NE(brush, static_cast<LRESULT>(label->BackBrush)) << c.name;
            EXPECT_NE(GetTextColor(device.get()), label->ForeColorRgb) << c.name;
            continue;
        }
        EXPECT_EQ(brush, static_cast<LRESULT>(c.brushOf->BackBrush)) << c.name;
        EXPECT_EQ(GetTextColor(device.get()), c.colours->ForeColorRgb) << c.name;
        EXPECT_EQ(GetCurrentObject(device.get(), OBJ_FONT), runtime::SlotAs<HGDIOBJ>(c.colours->FontHandle)) << c.name;
        if (c.ownBackground) {
            EXPECT_EQ(GetBkMode(device.get()), OPAQUE) << c.name;
            EXPECT_EQ(GetBkColor(device.get()), c.colours->BackColorRgb) << c.name;
        } else {
            EXPECT_EQ(GetBkMode(device.get()), TRANSPARENT) << c.name;
        }
    }

    // An application that answers chooses the brush itself.
    app.answers[WM_CTLCOLORSTATIC] = 0x1234;
    MemoryDevice device;
    EXPECT_EQ(runtime::SendToWindow(form, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(device.get()),
                                    reinterpret_cast<LPARAM>(labelWindow)),
              0x1234);
    EXPECT_NE(GetTextColor(device.get()), label->ForeColorRgb) << "the runtime left the colours alone";
}

TEST_P(WindowProc, EachKindOfWindowErasesItsOwnWay) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    const COLORREF back = RGB(0, 128, 255);
    const COLORREF untouched = RGB(1, 2, 3);
    auto control = [&](int32_t type, const char* systemClass, int32_t transparent, int32_t pictureOption) {
        RuntimeRecord* record = NewRecord(type);
        record->IsTransparent = transparent;
        record->PaintsOffscreen = pictureOption;
        HWND window = type == class_code::PictureBox
                          ? CreateBound(record, RuntimeClass::Picture, WS_CHILD | WS_VISIBLE, form)
                      : type == class_code::GroupBox
                          ? CreateBound(record, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form)
                          : runtimetest::AttachControl(record, systemClass, 0, form, 1);
        Colour(record, back, RGB(0, 0, 0));
        return window;
    };
    Colour(formRecord, back, RGB(0, 0, 0));
    const struct {
        const char* name;
        HWND window;
        LRESULT result;
        COLORREF pixel;
    } cases[] = {
        {"form", form, 1, back},
        {"group box", control(class_code::GroupBox, nullptr, 0, 0), 1, back},
        {"animation", control(class_code::Animation, "STATIC", 0, 0), 1, back},
        {"picture", control(class_code::PictureBox, nullptr, 0, 0), 1, back},
        {"picture drawn at its painting", control(class_code::PictureBox, nullptr, 0, 1), 1, untouched},
        {"transparent label", control(class_code::Label, "STATIC", 1, 0), 1, untouched},
        {"transparent image", control(class_code::Image, "STATIC", 1, 0), 1, untouched},
        {"image", control(class_code::Image, "STATIC", 0, 0), 1, untouched},
    };
    for (const auto& c : cases) {
        MemoryDevice device(untouched);
        EXPECT_EQ(runtime::SendToWindow(c.window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(device.get()), 0), c.result)
            << c.name;
        EXPECT_EQ(device.Pixel(), c.pixel) << c.name;
    }
    // An application that erases the form itself leaves it to the application.
    app.answers[WM_ERASEBKGND] = 5;
    MemoryDevice device(untouched);
    EXPECT_EQ(runtime::SendToWindow(form, WM_ERASEBKGND, reinterpret_cast<WPARAM>(device.get()), 0), 1);
    EXPECT_EQ(device.Pixel(), untouched);
}

// Whether the window waits to be painted.
bool NeedsPaint(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != 0; }

TEST_P(WindowProc, ATransparentLabelIsDrawnAgainAfterWhatLiesUnderIt) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    auto label = [&](int32_t transparent, HWND parent, int index) {
        RuntimeRecord* record = NewRecord(class_code::Label);
        record->IsTransparent = transparent;
        return runtimetest::AttachControl(record, "STATIC", 0, parent, index, 10, 10, 60, 20);
    };
    // In Z order from the top: a transparent label, an opaque one, another transparent one, a
    // picture holding a transparent label of its own, and a plain control at the bottom.
    HWND upper = label(1, form, 1);
    HWND opaque = label(0, form, 2);
    HWND lower = label(1, form, 3);
    RuntimeRecord* picture = NewRecord(class_code::PictureBox);
    HWND pictureBox = CreateBound(picture, RuntimeClass::Picture, WS_CHILD | WS_VISIBLE, form, 0, 5, 5, 100, 60);
    HWND inside = label(1, pictureBox, 4);
    HWND bottom = runtimetest::AttachControl(NewRecord(class_code::TextBox), "EDIT", 0, form, 5, 10, 10, 60, 20);
    // Paints what waits and then takes every window's wish to be painted away.
    auto settle = [form] {
        RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RedrawWindow(form, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
    };
    settle();

    // The picture paints: its own label and the nearest transparent label above it.
    InvalidateRect(pictureBox, nullptr, FALSE);
    runtime::SendToWindow(pictureBox, WM_PAINT, 0, 0);
    EXPECT_FALSE(NeedsPaint(pictureBox)) << "the picture was painted";
    EXPECT_TRUE(NeedsPaint(inside)) << "the transparent label on the picture";
    EXPECT_TRUE(NeedsPaint(lower)) << "the nearest transparent label above";
    EXPECT_FALSE(NeedsPaint(upper)) << "the walk stops at the first";
    settle();

    // The opaque label paints: the transparent label above it is drawn again, not the one below.
    InvalidateRect(opaque, nullptr, FALSE);
    runtime::SendToWindow(opaque, WM_PAINT, 0, 0);
    EXPECT_TRUE(NeedsPaint(upper));
    EXPECT_FALSE(NeedsPaint(lower)) << "below the opaque label";
    settle();

    // A control whose own procedure paints it is followed by the same rule, past the picture.
    RuntimeRecord* bottomRecord = runtime::FindWindowRecord(bottom);
    bottomRecord->WindowProc = runtimetest::ScriptedAppSlot();
    app.answers[WM_PAINT] = 1;
    runtime::SendToWindow(bottom, WM_PAINT, 0, 0);
    app.answers.clear();
    EXPECT_TRUE(NeedsPaint(lower));
    EXPECT_FALSE(NeedsPaint(upper));
    EXPECT_FALSE(NeedsPaint(inside)) << "the picture itself did not paint";
    bottomRecord->WindowProc = 0;
    settle();
}

TEST_P(WindowProc, ASystemColourChangeResolvesTheColoursAgain) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* label = NewRecord(class_code::Label);
    HWND labelWindow = runtimetest::AttachControl(label, "STATIC", 0, form, 1);
    formRecord->BackColor = 0x8000000F;  // button face
    formRecord->ForeColor = 0x80000012;  // button text
    label->BackColor = 0x80000005;       // window background
    // Stale values, as if the system's colours had changed since they were resolved.
    formRecord->BackColorRgb = 0x123456;
    formRecord->ForeColorRgb = 0x123456;
    label->BackColorRgb = 0x123456;

    sentSeen.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    app.answers[WM_SYSCOLORCHANGE] = 9;
    const LRESULT result = runtime::SendToWindow(form, WM_SYSCOLORCHANGE, 0, 0);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(result, 9) << "a form answers with its application's result";
    EXPECT_EQ(formRecord->BackColorRgb, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(formRecord->ForeColorRgb, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(label->BackColorRgb, GetSysColor(COLOR_WINDOW)) << "the control was told too";
    bool labelTold = false;
    for (const Sent& s : sentSeen) labelTold = labelTold || (s.hwnd == labelWindow && s.message == WM_SYSCOLORCHANGE);
    EXPECT_TRUE(labelTold);
}

}  // namespace
