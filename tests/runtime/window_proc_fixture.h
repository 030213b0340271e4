#pragma once
// The fixture of the runtime window procedure's tests: the common controls' classes, the
// runtime started in the mode of the test's parameter (0 ANSI, 1 wide), forms with the scripted
// application procedure, and a thread hook that records the messages sent to windows.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "runtime/build/form_geometry.h"
#include "runtime/process/runtime_messages.h"
#include "runtime_session.h"

namespace windowproctest {

using runtime::RuntimeClass;
using runtime::RuntimeRecord;
using runtimetest::app;
using runtimetest::CreateBound;
using runtimetest::NewRecord;
namespace form_kind = runtime::form_kind;
namespace class_code = runtime::class_code;

class WindowProc : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls),
                                      ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        app.Reset();
        session_ = std::make_unique<runtimetest::RuntimeSession>(GetParam());
    }
    void TearDown() override {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            if (IsWindow(*it)) DestroyWindow(*it);
        }
        runtimetest::TakeQueuedMessages();
        session_.reset();
        app.Reset();
    }

    // A form of `kind` with the scripted application procedure, destroyed at the end.
    HWND Form(RuntimeRecord*& record, int32_t kind = form_kind::Window, DWORD style = WS_OVERLAPPEDWINDOW,
              HWND parent = nullptr, DWORD exStyle = 0) {
        record = NewRecord(kind);
        record->WindowProc = runtimetest::ScriptedAppSlot();
        record->Visible = 1;
        record->Style = style;
        record->ExStyle = exStyle;
        const RuntimeClass which = kind == form_kind::MdiFrame ? RuntimeClass::MdiFrame
                                   : record->MdiChild != 0     ? RuntimeClass::MdiChild
                                                               : RuntimeClass::Window;
        return Keep(CreateBound(record, which, style, parent, exStyle));
    }

    HWND Keep(HWND window) {
        if (window != nullptr) windows_.push_back(window);
        return window;
    }

private:
    std::unique_ptr<runtimetest::RuntimeSession> session_;
    std::vector<HWND> windows_;
};

// A window's place in its parent's client area (screen coordinates for a top-level window).
inline runtime::Placement PlaceOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT topLeft{rect.left, rect.top};
    if (HWND parent = GetAncestor(window, GA_PARENT); parent != nullptr && parent != GetDesktopWindow()) {
        ScreenToClient(parent, &topLeft);
    }
    return runtime::Placement{topLeft.x, topLeft.y, rect.right - rect.left, rect.bottom - rect.top};
}

inline std::string Describe(const runtime::Placement& p) {
    return std::to_string(p.left) + "," + std::to_string(p.top) + " " + std::to_string(p.width) + "x" +
           std::to_string(p.height);
}

// Gives a top-level window a client area of exactly `width` by `height` pixels.
inline void SetClientSize(HWND window, int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
}

// An ANSI text as the runtime's text mode wants it in messages (kept for the test's life).
inline LPARAM TextInMode(const char* text) {
    static std::vector<std::wstring> wide;
    if (runtime::wideMode == 0) return reinterpret_cast<LPARAM>(text);
    wide.emplace_back(text, text + strlen(text));
    return reinterpret_cast<LPARAM>(wide.back().c_str());
}

// The caption copy of a record as ANSI text (the tests' texts are ASCII).
inline std::string CaptionOf(const RuntimeRecord& record) {
    if (record.Text == 0) return "<none>";
    if (runtime::wideMode == 0) return runtime::SlotAs<const char*>(record.Text);
    const wchar_t* wide = runtime::SlotAs<const wchar_t*>(record.Text);
    return std::string(wide, wide + wcslen(wide));
}

// A dialog form of `width` by `height` dialog units made from a template in memory whose
// window class is the runtime's dialog class, bound to `record`.
inline HWND CreateRuntimeDialog(RuntimeRecord* record, short width, short height, HWND parent = nullptr) {
    struct DialogTemplate {
        DLGTEMPLATE header;
        WORD menu;
        wchar_t className[64];
        wchar_t title[2];
    } dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION;
    dialog.header.cx = width;
    dialog.header.cy = height;
    MultiByteToWideChar(CP_ACP, 0, runtime::RuntimeClassNameA(RuntimeClass::Dialog), -1, dialog.className, 64);
    // The class name is followed directly by the (empty) title.
    const size_t nameLength = wcslen(dialog.className);
    dialog.className[nameLength + 1] = 0;
    runtime::pendingRecord = record;
    // The runtime window procedure serves the dialog as its class procedure; the dialog
    // procedure the builder hands over is the same function.
    const auto procedure = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(&runtime::RuntimeWindowProc));
    HWND dialogWindow = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), &dialog.header, parent, procedure, 99);
    if (runtime::pendingRecord == record) runtime::pendingRecord = nullptr;
    return dialogWindow;
}

// Messages sent to a window, seen by a thread hook; for a tool's removal also the tool's
// window, read while the message's record still exists.
struct Sent {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    HWND tool;
};
inline std::vector<Sent> sentSeen;
inline LRESULT CALLBACK RecordSent(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        const bool toolRemoval = sent->message == TTM_DELTOOLA || sent->message == TTM_DELTOOLW;
        const HWND tool = toolRemoval ? reinterpret_cast<const TTTOOLINFOA*>(sent->lParam)->hwnd : nullptr;
        sentSeen.push_back(Sent{sent->hwnd, sent->message, sent->wParam, sent->lParam, tool});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace windowproctest
