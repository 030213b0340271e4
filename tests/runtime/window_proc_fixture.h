#pragma once
// The fixture of the runtime window procedure's tests: the runtime started in the mode of the
// test's parameter (0 ANSI, 1 wide), forms with the scripted application procedure, and a
// thread hook that records the messages sent to windows.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "runtime/runtime_messages.h"
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
