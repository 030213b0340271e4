#pragma once
// What the form builder's Windows tests share: form templates made in the test, a hook that
// records and closes message boxes (and can refuse the creation of a window class), and
// readers of texts in the runtime's text mode. The builder tests are built into two programs,
// one running the runtime in ANSI mode, the other (MT_TEST_WIDE_MODE) in wide mode; every
// text is compared as wide text, whatever the mode.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "runtime/template/template_record.h"
#include "runtime/text/text_mode.h"

namespace buildertest {

#ifdef MT_TEST_WIDE_MODE
constexpr int32_t kWideRequest = 1;
#define BUILDER_SUITE(name) name##InWideMode
#else
constexpr int32_t kWideRequest = 0;
#define BUILDER_SUITE(name) name##InAnsiMode
#endif

using runtime::TemplateRecord;

constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonText = 0x80000012u;

// A form template laid out the way the program's data holds one: the form's record, then its
// controls depth first. Texts handed to it stay at fixed addresses for the template's life.
class FormTemplate {
public:
    explicit FormTemplate(int32_t kind = runtime::form_kind::Window, int32_t width = 300, int32_t height = 200) {
        TemplateRecord form = Base();
        form.Type = kind;
        form.Name = Text("Form1");
        form.Text = Text("Builder test form");
        form.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
        form.Width = width;
        form.Height = height;
        form.LineWidth = 1;
        records_.push_back(form);
    }

    // The address of a text kept for the template's life, as a text reference.
    uint32_t Text(const std::string& text) {
        texts_.push_back(text);
        return runtime::ToSlot(texts_.back().c_str());
    }

    // A control record with the usual values of the designer: visible, enabled, 8-point
    // "MS Sans Serif", button-face colours, no picture.
    TemplateRecord Control(int32_t type, int32_t index, const char* name, int32_t left, int32_t top,
                           int32_t width, int32_t height, uint32_t style = WS_VISIBLE) {
        TemplateRecord control = Base();
        control.Type = type;
        control.Index = index;
        control.Name = Text(name);
        control.Text = Text("");
        control.ToolTipText = Text("");
        control.Left = left;
        control.Top = top;
        control.Width = width;
        control.Height = height;
        control.Style = style;
        return control;
    }

    // Appends a record; returns its position (0 is the form).
    std::size_t Add(const TemplateRecord& record) {
        records_.push_back(record);
        return records_.size() - 1;
    }

    TemplateRecord& At(std::size_t position) { return records_[position]; }
    TemplateRecord& Form() { return records_[0]; }

    // The finished template: counts as given, Self set for the form and every record with
    // children. No record may be added afterwards.
    const TemplateRecord* Finish() {
        for (TemplateRecord& record : records_) {
            record.Self = (&record == &records_[0] || record.ControlCount > 0) ? runtime::ToSlot(&record) : 0;
        }
        return records_.data();
    }

private:
    TemplateRecord Base() {
        TemplateRecord record{};
        record.Visible = 1;
        record.Enabled = 1;
        record.FontName = Text("MS Sans Serif");
        record.FontSize = 8;
        record.BackColor = kButtonFace;
        record.ForeColor = kButtonText;
        record.ImageKind = runtime::image_kind::None;
        return record;
    }

    std::vector<TemplateRecord> records_;
    std::deque<std::string> texts_;
};

// A runtime text (in the text mode) as wide text; ASCII in the tests.
inline std::wstring RuntimeText(uint32_t slot) {
    if (slot == 0) return L"<null>";
    if (runtime::wideMode != 0) return runtime::SlotAs<const wchar_t*>(slot);
    std::wstring text;
    for (const char* unit = runtime::SlotAs<const char*>(slot); *unit != 0; ++unit) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*unit)));
    }
    return text;
}

inline std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// A window's procedure as the runtime reads it (in its text mode; the other mode would give a
// translating stand-in for a procedure of this one).
inline LONG_PTR WindowProcOf(HWND window) {
    return runtime::wideMode != 0 ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
}
template <class Procedure>
LONG_PTR ProcValue(Procedure* procedure) {
    return reinterpret_cast<LONG_PTR>(procedure);
}

inline std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

// A message box as the hook saw it.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner;
};

// Closes every message box of the thread and records it; refuses the creation of windows of
// `refusedClass` (letter case ignored) when one is given. One hook at a time.
class BoxHook {
public:
    explicit BoxHook(const wchar_t* refusedClass = nullptr) : refusedClass_(refusedClass) {
        active_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &BoxHook::Watch, nullptr, GetCurrentThreadId());
    }
    ~BoxHook() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    BoxHook(const BoxHook&) = delete;
    BoxHook& operator=(const BoxHook&) = delete;

    bool installed() const { return hook_ != nullptr; }
    const std::vector<SeenBox>& boxes() const { return boxes_; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) noexcept {
        BoxHook* self = active_;
        if (self != nullptr && code == HCBT_ACTIVATE) self->Activated(reinterpret_cast<HWND>(wParam));
        if (self != nullptr && code == HCBT_DESTROYWND) self->Closing(reinterpret_cast<HWND>(wParam));
        if (self != nullptr && code == HCBT_CREATEWND && self->Refuses(lParam)) return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // A box is closed as soon as it is up, and read as it goes, with all its texts in place.
    void Activated(HWND window) {
        if (ClassOf(window) == L"#32770") PostMessageW(window, WM_COMMAND, IDOK, 0);
    }

    void Closing(HWND window) {
        if (ClassOf(window) != L"#32770") return;
        // The box's message is the text of its static child that has one (the icon's has none).
        std::wstring text;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr && text.empty();
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == L"Static") text = WindowText(child);
        }
        boxes_.push_back(SeenBox{WindowText(window), text, GetWindow(window, GW_OWNER)});
    }

    bool Refuses(LPARAM lParam) const {
        if (refusedClass_ == nullptr) return false;
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        const ULONG_PTR name = reinterpret_cast<ULONG_PTR>(create->lpszClass);
        if (name <= 0xFFFF) return false;  // an atom, not a name
        // A hook set with the wide call sees the class name as wide text, whichever call created
        // the window.
        return lstrcmpiW(create->lpszClass, refusedClass_) == 0;
    }

    static inline BoxHook* active_ = nullptr;
    const wchar_t* refusedClass_;
    HHOOK hook_ = nullptr;
    std::vector<SeenBox> boxes_;
};

}  // namespace buildertest
