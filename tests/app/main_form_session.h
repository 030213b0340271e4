#pragma once
// What the application's Windows tests share: the runtime started as the program starts it,
// the main form built from its template through the real builder, and the main message loop
// run with a script of steps that act while the loop pumps.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_start.h"
#include "app/main_window.h"
#include "app/motion/motion.h"
#include "app/web/web_front_internal.h"
#include "forms/main_form.h"
#include "runtime/process/application.h"
#include "runtime/build/form_builder.h"
#include "runtime/build/modal_state.h"
#include "runtime/start/message_loop.h"
#include "runtime/property/property_getters.h"
#include "runtime/property/property_windows.h"
#include "runtime/start/startup.h"
#include "tests/support/win_test_support.h"

namespace apptest {

// What a run of the program leaves behind in the process, cleared for the next test: the
// serial port, the listener and its connections, and the quit message of a destroyed main
// form, which no later loop may see.
inline void CleanUpAfterProgram() {
    motion::ClosePort();
    web::ResetWebFront();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) DispatchMessageA(&message);
    }
}

// The runtime started for one test with the program's own arguments, and shut down again.
class ProgramRuntime {
public:
    ProgramRuntime() {
        runtime::StartRuntime(GetModuleHandleA(nullptr), app::kApplicationName, app::kExecutableName,
                              app::kDescription, app::kMainFormKind, app::kAnsiTexts);
    }
    ~ProgramRuntime() {
        runtime::ShutdownRuntime();
        CleanUpAfterProgram();
    }
    ProgramRuntime(const ProgramRuntime&) = delete;
    ProgramRuntime& operator=(const ProgramRuntime&) = delete;
};

// The main form built (not modal, no owner) with `procedure` as its application procedure.
inline HWND BuildMainForm(WNDPROC procedure = app::MainWindowProc) {
    const runtime::FormBuild built = runtime::BuildForm(forms::MainFormTemplate(procedure), nullptr, 0, 0);
    return built.outcome == runtime::FormBuild::Outcome::Window && IsWindow(built.window) ? built.window : nullptr;
}

// The control with `id` anywhere below `parent` (group box children included).
inline HWND FindControl(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) return child;
        if (HWND inner = FindControl(child, id)) return inner;
    }
    return nullptr;
}

inline std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// One step of a script: once `ready` holds, `act` runs (from a timer the loop dispatches, so
// it must post rather than send anything that opens a modal box).
struct Step {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> act;
};

// Runs the program's message loop (runtime::RunMessageLoop with the main form template of
// `procedure`) while the steps act one after another. Every wait is bounded: when the steps
// are not done within `timeoutMs`, the main window is destroyed, which ends the loop, and
// the step that stalled is reported.
class ScriptedLoop {
public:
    explicit ScriptedLoop(std::vector<Step> steps, DWORD timeoutMs = 15000)
        : steps_(std::move(steps)), timeoutMs_(timeoutMs) {}

    // The program's main loop with the main form of `procedure`; returns the loop's exit code.
    int32_t Run(WNDPROC procedure = app::MainWindowProc) {
        runtime::SetMainForm(forms::MainFormTemplate(procedure));
        return Run([] { return runtime::RunMessageLoop(GetModuleHandleA(nullptr), 0, "", SW_SHOWDEFAULT); });
    }

    // Any loop (a modal form's, the whole program's); returns what `loop` returns.
    int32_t Run(const std::function<int32_t()>& loop) {
        active_ = this;
        started_ = GetTickCount();
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &ScriptedLoop::OnTick);
        const int32_t result = loop();
        KillTimer(nullptr, timer);
        active_ = nullptr;
        return result;
    }

    bool Finished() const { return next_ == steps_.size(); }
    // The step that was waiting when the loop ended ("" when all ran).
    std::string Stalled() const { return Finished() ? std::string() : steps_[next_].name; }
    bool TimedOut() const { return timedOut_; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
        ScriptedLoop* self = active_;
        if (self == nullptr || self->busy_) return;
        self->busy_ = true;
        self->Advance();
        self->busy_ = false;
    }

    void Advance() {
        if (GetTickCount() - started_ > timeoutMs_) {
            if (!timedOut_) {
                timedOut_ = true;
                HWND main = runtime::SlotAs<HWND>(runtime::Application.MainWindow);
                if (main != nullptr) DestroyWindow(main);
            }
            return;
        }
        while (next_ < steps_.size() && steps_[next_].ready()) {
            Step& step = steps_[next_++];
            if (step.act) step.act();
        }
    }

    static inline ScriptedLoop* active_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    DWORD timeoutMs_;
    DWORD started_ = 0;
    bool busy_ = false;
    bool timedOut_ = false;
};

inline HWND MainWindow() { return runtime::SlotAs<HWND>(runtime::Application.MainWindow); }

inline bool MainWindowUp() {
    HWND main = MainWindow();
    return main != nullptr && IsWindowVisible(main);
}

inline BOOL CALLBACK NoteVisibleBox(HWND window, LPARAM found) noexcept {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;  // the flag BoxOpen hands in
    return FALSE;
}

// Whether a dialog box (a message box) of this thread is on the screen.
inline bool BoxOpen() {
    bool open = false;
    EnumThreadWindows(GetCurrentThreadId(), NoteVisibleBox, reinterpret_cast<LPARAM>(&open));
    return open;
}

// Presses a key as the keyboard would: to the window with the focus, through the queue, so
// that the loop's accelerator table sees it.
inline void PostKey(UINT key) {
    HWND target = GetFocus() != nullptr ? GetFocus() : MainWindow();
    PostMessageA(target, WM_KEYDOWN, key, 1);
    // Key up: repeat count 1, previous state down, transition bit set.
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace apptest
