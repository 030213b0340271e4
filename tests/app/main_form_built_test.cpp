// The main form as the runtime builds it from its template: caption, menu, every control in
// its place and state, the auto-sized labels and the first focus.

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "main_form_session.h"

namespace {

using apptest::FindControl;
using apptest::TextOf;
namespace id = forms::control_id;

LRESULT CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) noexcept { return 0; }

class BuiltMainFormTest : public testing::Test {
protected:
    void SetUp() override {
        main_ = apptest::BuildMainForm(QuietProc);
        ASSERT_NE(main_, nullptr) << "the main form was not built";
    }
    void TearDown() override {
        if (IsWindow(main_)) DestroyWindow(main_);
    }

    apptest::ProgramRuntime runtime_;
    HWND main_ = nullptr;
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The window's place in its parent's client area.
RECT PlaceInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    // The two corners of the rectangle are mapped as two points.
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct ControlPlace {
    int id;
    int parent;  // 0: the form
    const char* className;
    const char* text;
    int left, top, width, height;  // width 0: sized to its text
    bool enabled;
};

constexpr bool kOn = true;
constexpr bool kOff = false;

const ControlPlace kControls[] = {
    {id::Edit1, 0, "EDIT", "", 29, 51, 83, 23, kOn},
    {id::Edit2, 0, "EDIT", "", 29, 80, 83, 23, kOn},
    {id::Edit3, 0, "EDIT", "", 29, 110, 83, 23, kOn},
    {id::inputCom, 0, "EDIT", "COM1", 123, 86, 65, 23, kOn},
    {id::Edit4, 0, "EDIT", "", 125, 37, 61, 20, kOn},
    {id::btnTest, 0, "BUTTON", "Testeaza port", 120, 121, 74, 23, kOff},
    {id::btnSetCom, 0, "BUTTON", ">", 145, 66, 19, 18, kOn},
    {id::btnStopCom, 0, "BUTTON", "!", 166, 66, 19, 18, kOff},
    {id::inputLinie, 0, "EDIT", "", 29, 24, 82, 22, kOn},
    {id::Static4, 0, "STATIC", "Sleep", 127, 22, 0, 0, kOn},
    {id::Static5, 0, "STATIC", "Port", 123, 71, 27, 16, kOn},
    {id::GRUPSETARI, 0, "BKGROUP", "Setari", 119, 3, 77, 115, kOn},
    {id::GroupCoordonate, 0, "BKGROUP", "Coordonate spatiu", 4, 3, 113, 141, kOn},
    {id::Static1, id::GroupCoordonate, "STATIC", "X", 8, 51, 0, 0, kOn},
    {id::Static2, id::GroupCoordonate, "STATIC", "Y", 8, 82, 0, 0, kOn},
    {id::Static3, id::GroupCoordonate, "STATIC", "Z", 9, 113, 0, 0, kOn},
    {id::Static6, id::GroupCoordonate, "STATIC", "i", 11, 26, 0, 0, kOn},
};

// A text's extent in the font the control uses.
SIZE TextExtentIn(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

TEST_F(BuiltMainFormTest, CaptionClassAndMenu) {
    EXPECT_EQ(TextOf(main_), "Mini-Tarvo Server V0.3");
    EXPECT_EQ(ClassOf(main_), "BKRUNWINDOWProject1");

    HMENU bar = GetMenu(main_);
    ASSERT_NE(bar, nullptr) << "no menu bar";
    ASSERT_EQ(GetMenuItemCount(bar), 1) << "the bar holds only \"?\"";
    char text[64] = {};
    GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "?");
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_NE(popup, nullptr) << "\"?\" is no popup";
    ASSERT_EQ(GetMenuItemCount(popup), 1);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(forms::kAboutCommand));
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Despre / About\tF1");
}

TEST_F(BuiltMainFormTest, EveryControlInItsParentAtItsPlace) {
    int found = 0;
    for (const ControlPlace& c : kControls) {
        SCOPED_TRACE("control " + std::to_string(c.id) + " \"" + c.text + "\"");
        HWND control = FindControl(main_, c.id);
        ASSERT_NE(control, nullptr);
        ++found;
        HWND parent = c.parent == 0 ? main_ : FindControl(main_, c.parent);
        EXPECT_EQ(GetParent(control), parent) << "parent";
        EXPECT_EQ(Upper(ClassOf(control)), c.className);
        EXPECT_EQ(TextOf(control), c.text);
        EXPECT_EQ(IsWindowEnabled(control) != 0, c.enabled) << "enabled";
        EXPECT_TRUE(IsWindowVisible(control)) << "visible";
        const RECT place = PlaceInParent(control);
        EXPECT_EQ(place.left, c.left) << "left";
        EXPECT_EQ(place.top, c.top) << "top";
        if (c.width != 0) {
            EXPECT_EQ(place.right - place.left, c.width) << "width";
            EXPECT_EQ(place.bottom - place.top, c.height) << "height";
        }
    }
    EXPECT_EQ(found, 17) << "identifiers 1000 to 1016";
}

TEST_F(BuiltMainFormTest, AutoSizedLabelsTakeTheirTextsSizeAndPortKeepsItsOwn) {
    for (const ControlPlace& c : kControls) {
        if (lstrcmpA(c.className, "STATIC") != 0) continue;
        HWND label = FindControl(main_, c.id);
        ASSERT_NE(label, nullptr) << c.id;
        const RECT place = PlaceInParent(label);
        const SIZE size{place.right - place.left, place.bottom - place.top};
        if (c.width != 0) {
            EXPECT_EQ(size.cx, c.width) << "\"" << c.text << "\" keeps its width";
            EXPECT_EQ(size.cy, c.height) << "\"" << c.text << "\" keeps its height";
            continue;
        }
        const SIZE text = TextExtentIn(label, c.text);
        EXPECT_GT(text.cx, 0) << c.text;
        EXPECT_EQ(size.cx, text.cx) << "\"" << c.text << "\" is as wide as its text";
        EXPECT_EQ(size.cy, text.cy) << "\"" << c.text << "\" is as high as its text";
    }
}

TEST_F(BuiltMainFormTest, FontOfEveryControlIsMsSansSerifOfEightPoints) {
    for (const ControlPlace& c : kControls) {
        HWND control = FindControl(main_, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << c.id << " has the system font";
        LOGFONTA face{};
        ASSERT_NE(GetObjectA(font, sizeof face, &face), 0) << c.id;
        EXPECT_STREQ(face.lfFaceName, "MS Sans Serif") << c.id;
        // 8 points at the screen's resolution, as a character height.
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(face.lfHeight, height) << c.id;
        EXPECT_EQ(face.lfWeight, FW_NORMAL) << c.id;
        EXPECT_FALSE(face.lfItalic || face.lfUnderline || face.lfStrikeOut) << c.id;
    }
}

TEST_F(BuiltMainFormTest, InputComHoldsCom1AndTakesAtMostFiveCharacters) {
    HWND input = FindControl(main_, id::inputCom);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(TextOf(input), "COM1");
    EXPECT_EQ(SendMessageA(input, EM_GETLIMITTEXT, 0, 0), 5);
    // Typed characters beyond the fifth are refused.
    SendMessageA(input, EM_SETSEL, 4, 4);
    for (char c : std::string("567")) SendMessageA(input, WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(TextOf(input), "COM15");
}

TEST_F(BuiltMainFormTest, TheFirstFocusIsOnInputLinie) {
    // The first tab stop: the lowest index that is a tab stop, visible and enabled.
    testsupport::PumpMessagesUntil([] { return false; }, 100);
    HWND focus = GetFocus();
    EXPECT_EQ(GetDlgCtrlID(focus), id::inputLinie) << "focus on \"" << TextOf(focus) << "\" of class " << ClassOf(focus);
}

}  // namespace
