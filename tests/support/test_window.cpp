#include "tests/support/test_window.h"

#include "forms/main_form_controls.h"

namespace testsupport {

namespace {

constexpr const char* kClassName = "MtTestWindow";

void RegisterTestWindowClass(WNDPROC proc) {
    WNDCLASSA cls{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &cls)) return;
    cls.lpfnWndProc = proc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    cls.lpszClassName = kClassName;
    RegisterClassA(&cls);
}

}  // namespace

std::vector<ControlSpec> MainFormControls() {
    std::vector<ControlSpec> controls;
    for (const forms::ControlRow& row : forms::kMainFormControls) {
        const bool edit = row.type == runtime::class_code::TextBox;
        if (!edit && row.type != runtime::class_code::PushButton) continue;
        controls.push_back({row.Id(), edit ? "EDIT" : "BUTTON", row.text, row.Enabled(), row.maxLength});
    }
    return controls;
}

TestWindow::TestWindow(std::vector<ControlSpec> controls, CommandHandler onCommand)
    : onCommand_(std::move(onCommand)) {
    RegisterTestWindowClass(WindowProc);
    window_ = CreateWindowExA(0, kClassName, "test window", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                              40 + 26 * static_cast<int>(controls.size()), nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    // The procedure finds the handler through the window.
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    int top = 4;
    for (const ControlSpec& c : controls) {
        const DWORD style = WS_CHILD | WS_VISIBLE | (c.enabled ? 0 : WS_DISABLED) |
                            (lstrcmpiA(c.className, "EDIT") == 0 ? ES_AUTOHSCROLL : 0);
        // A child window's menu parameter carries its identifier.
        HWND control = CreateWindowExA(0, c.className, c.text, style, 4, top, 200, 22, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       GetModuleHandleA(nullptr), nullptr);
        if (c.textLimit > 0) SendMessageA(control, EM_LIMITTEXT, c.textLimit, 0);
        top += 26;
    }
}

TestWindow::~TestWindow() {
    if (window_) DestroyWindow(window_);
}

bool TestWindow::IsEnabled(int id) const {
    return IsWindowEnabled(Control(id)) != FALSE;
}

std::string TestWindow::Text(int id) const {
    char text[256] = {};
    GetDlgItemTextA(window_, id, text, sizeof text);
    return text;
}

void TestWindow::SetText(int id, const std::string& text) {
    SetDlgItemTextA(window_, id, text.c_str());
}

bool TestWindow::Press(int id) {
    HWND control = Control(id);
    if (!control || !IsWindowEnabled(control)) return false;
    // The control's handle travels in lParam, as with a real click.
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return true;
}

LRESULT CALLBACK TestWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_COMMAND && lParam != 0) {
        // Stored by the constructor; 0 until then.
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && self->onCommand_) self->onCommand_(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace testsupport
