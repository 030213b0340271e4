#pragma once
// A plain top-level window holding child controls by identifier, standing in for a form in
// tests of code that reads and writes controls with GetDlgItem / SetDlgItemInt /
// EnableWindow. Button presses reach an optional command handler as WM_COMMAND would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct ControlSpec {
    int id;
    const char* className;  // "EDIT", "BUTTON", ...
    const char* text;
    bool enabled;
    int textLimit;          // EM_LIMITTEXT for edits; 0: none
};

// The controls of the main form that motion control and the main window use, as the form's
// table states them (forms/main_form_controls.h): its edits (inputCom "COM1", at most 5
// characters typed) and its push buttons (">" enabled, "!" and "Testeaza port" disabled).
std::vector<ControlSpec> MainFormControls();

class TestWindow {
public:
    // Called for WM_COMMAND from a control: the window, the control's identifier and the
    // notification code (BN_CLICKED for a press; edits also send EN_CHANGE and the like).
    using CommandHandler = std::function<void(HWND window, int id, int code)>;

    explicit TestWindow(std::vector<ControlSpec> controls = MainFormControls(),
                        CommandHandler onCommand = {});
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    bool IsEnabled(int id) const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    // Presses a button as the operator would: nothing happens when it is disabled (returns
    // false); otherwise its WM_COMMAND / BN_CLICKED reaches the window.
    bool Press(int id);

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

    HWND window_ = nullptr;
    CommandHandler onCommand_;
};

}  // namespace testsupport
