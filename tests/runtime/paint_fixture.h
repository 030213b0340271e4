#pragma once
// The fixture of the runtime painting tests: forms built from templates with colours that the
// pixels can be told apart by, pictures of one colour, and the captures of what a window
// paints (tests/support/window_capture.h).

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>

#include "built_form_fixture.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/window_table.h"
#include "tests/support/window_capture.h"

// Rectangles compared and printed by the assertions.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace painttest {

using buildertest::FormTemplate;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
using testsupport::Capture;
namespace class_code = runtime::class_code;

// Colours that no system colour has, so that each pixel tells who painted it.
constexpr COLORREF kUnderlay = RGB(255, 0, 255);     // the bitmap before anything is painted
constexpr COLORREF kFormBack = RGB(240, 240, 200);
constexpr COLORREF kGroupBack = RGB(0, 128, 255);
constexpr COLORREF kPictureBack = RGB(40, 160, 40);
constexpr COLORREF kLabelBack = RGB(250, 200, 0);
constexpr COLORREF kButtonBack = RGB(200, 220, 240);
constexpr COLORREF kText = RGB(200, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A bitmap of one colour; the window it is given to owns it.
inline HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    testsupport::Canvas canvas(width, height, colour);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HDC device = CreateCompatibleDC(canvas.Device());
    HGDIOBJ previous = SelectObject(device, bitmap);
    BitBlt(device, 0, 0, width, height, canvas.Device(), 0, 0, SRCCOPY);
    SelectObject(device, previous);
    DeleteDC(device);
    return bitmap;
}

class PaintTest : public buildertest::BuiltFormTest {
protected:
    // A form template with the test's colours, wide enough for a row of controls.
    static FormTemplate Template(int32_t width = 400, int32_t height = 300) {
        FormTemplate form(runtime::form_kind::Window, width, height);
        form.Form().BackColor = kFormBack;
        return form;
    }

    // A control of the template with the test's text colour, back colour `back` and `caption`.
    static TemplateRecord Coloured(FormTemplate& form, int32_t type, int32_t index, RECT place, COLORREF back,
                                   const char* caption, uint32_t style = WS_VISIBLE) {
        TemplateRecord control = form.Control(type, index, "Control", place.left, place.top,
                                              place.right - place.left, place.bottom - place.top, style);
        control.BackColor = back;
        control.ForeColor = kText;
        control.Text = form.Text(caption);
        return control;
    }

    // Builds a template of the form and the given controls (children of the form).
    HWND BuildWith(FormTemplate& form, std::initializer_list<TemplateRecord> controls) {
        for (const TemplateRecord& control : controls) form.Add(control);
        form.Form().ControlCount = static_cast<int32_t>(controls.size());
        return Build(form);
    }

    static RuntimeRecord& RecordOf(HWND window) { return *runtime::FindWindowRecord(window); }

    static RECT ClientOf(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return client;
    }
};

// The suite's name tells the text mode of the program (see BUILDER_SUITE).
class BUILDER_SUITE(Paint) : public PaintTest {};

}  // namespace painttest
