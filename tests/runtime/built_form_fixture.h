#pragma once
// The fixture of the builder's control tests: the runtime started for each test, the common
// control classes and the rich edit library loaded, a form built from a template and its
// controls found by identifier; and measuring texts in a control's font.

#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "builder_test_support.h"
#include "runtime/build/form_builder.h"
#include "runtime_session.h"

namespace buildertest {

class BuiltFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                           ICC_COOL_CLASSES | ICC_INTERNET_CLASSES |
                                                           ICC_PAGESCROLLER_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        richEdit_ = LoadLibraryA("riched20.dll");
        runtimetest::app.Reset();
    }
    void TearDown() override {
        if (form_ != nullptr && IsWindow(form_)) DestroyWindow(form_);
        form_ = nullptr;
    }

    HWND Build(FormTemplate& form) {
        const runtime::FormBuild built = runtime::BuildForm(form.Finish(), nullptr, 0, 0);
        form_ = built.window;
        if (IsWindow(form_)) return form_;
        // What the form's procedure heard tells where the build stopped.
        std::string heard;
        for (const runtimetest::Seen& seen : runtimetest::app.seen) heard += std::to_string(seen.id) + " ";
        ADD_FAILURE() << "the form was not built: BuildForm gave outcome "
                      << static_cast<int>(built.outcome) << ", last error " << GetLastError()
                      << ", its procedure heard " << heard;
        return nullptr;
    }

    // The control with identifier 1000 + index anywhere in the form (depth first).
    HWND Control(int32_t index) const { return FindById(form_, 1000 + index); }

    static HWND FindById(HWND parent, int32_t id) {
        for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == id) return child;
            if (HWND inner = FindById(child, id)) return inner;
        }
        return nullptr;
    }

    runtimetest::RuntimeSession session_{kWideRequest};
    HMODULE richEdit_ = nullptr;
    HWND form_ = nullptr;
};

// A text's size and the line height in the font a control uses.
struct Measured {
    SIZE size;
    LONG lineHeight;
};

inline Measured MeasureInFontOf(HWND control, const wchar_t* text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    Measured measured{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &measured.size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    measured.lineHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return measured;
}

}  // namespace buildertest
