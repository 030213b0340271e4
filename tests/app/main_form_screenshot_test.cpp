// A picture of the main form as the runtime builds it, saved in the build tree (main_form.bmp,
// turned into main_form.png by the test that follows), with checks that it shows the form and
// its controls.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "main_form_session.h"
#include "tests/support/window_capture.h"

namespace {

namespace id = forms::control_id;

LRESULT CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) noexcept { return 0; }

// The centre of a control in the captured window's pixels.
POINT CentreIn(HWND main, HWND control) {
    RECT window{};
    RECT rect{};
    GetWindowRect(main, &window);
    GetWindowRect(control, &rect);
    return POINT{(rect.left + rect.right) / 2 - window.left, (rect.top + rect.bottom) / 2 - window.top};
}

// Whether some pixel inside the control's client area differs from `background` (text drawn
// on it; the frame is left out).
bool ShowsSomethingOn(const testsupport::Capture& shot, HWND main, HWND control, COLORREF background) {
    RECT window{};
    GetWindowRect(main, &window);
    RECT client{};
    GetClientRect(control, &client);
    // The two corners of the client rectangle, as screen points.
    MapWindowPoints(control, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    for (int y = client.top; y < client.bottom; ++y) {
        for (int x = client.left; x < client.right; ++x) {
            if (shot.At(x - window.left, y - window.top) != background) return true;
        }
    }
    return false;
}

TEST(MainFormScreenshot, SavedWithItsBackgroundAndFieldsDrawn) {
    apptest::ProgramRuntime runtime;
    HWND main = apptest::BuildMainForm(QuietProc);
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    testsupport::PumpMessagesUntil([] { return false; }, 300);

    const testsupport::Capture shot = testsupport::CaptureWindow(main);
    ASSERT_FALSE(shot.Empty());
    RECT rect{};
    GetWindowRect(main, &rect);
    EXPECT_EQ(shot.width, rect.right - rect.left);
    EXPECT_EQ(shot.height, rect.bottom - rect.top);
    EXPECT_TRUE(testsupport::WriteBmp(shot, "main_form.bmp"));

    // The form's own background, below the last row of controls, is the button face.
    RECT client{};
    GetClientRect(main, &client);
    POINT corner{client.right - 3, client.bottom - 3};
    ClientToScreen(main, &corner);
    EXPECT_EQ(shot.At(corner.x - rect.left, corner.y - rect.top), GetSysColor(COLOR_BTNFACE))
        << "form background at " << corner.x - rect.left << ", " << corner.y - rect.top;

    // The empty edit fields show the window colour in their middle.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    for (int edit : {id::inputLinie, id::Edit1, id::Edit2, id::Edit3, id::Edit4}) {
        const POINT centre = CentreIn(main, apptest::FindControl(main, edit));
        EXPECT_EQ(shot.At(centre.x, centre.y), window) << "edit " << edit << " at " << centre.x << ", " << centre.y;
    }
    // "COM1" is written in its field; the empty fields show nothing else.
    HWND input = apptest::FindControl(main, id::inputCom);
    EXPECT_TRUE(ShowsSomethingOn(shot, main, input, window)) << "no text in inputCom";
    EXPECT_FALSE(ShowsSomethingOn(shot, main, apptest::FindControl(main, id::Edit1), window))
        << "the empty field Edit1 shows something";

    // Both group captions stand centred over their boxes: their text, in the rows above the
    // frame's middle, is centred on the box's width.
    for (int group : {id::GRUPSETARI, id::GroupCoordonate}) {
        HWND box = apptest::FindControl(main, group);
        const testsupport::Capture caption = testsupport::PrintClient(box, RGB(255, 0, 255));
        RECT client{};
        GetClientRect(box, &client);
        testsupport::Capture top = caption;
        top.height = 14;  // the caption's rows (8-point text)
        const RECT text = top.Extent(GetSysColor(COLOR_BTNTEXT));
        ASSERT_GT(text.right, 0) << "no caption in group " << group;
        EXPECT_NEAR((text.left + text.right) / 2, client.right / 2, 2)
            << "group " << group << ": caption from " << text.left << " to " << text.right << " in a box "
            << client.right << " wide";
    }
    DestroyWindow(main);
}

}  // namespace
