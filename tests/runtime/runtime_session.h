#pragma once
// What the runtime's Windows tests share: the runtime started for one test, a scripted
// application procedure that records what it sees, records in the runtime heap, and runtime
// windows made the way the builder makes them.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "runtime/process/application.h"
#include "runtime/build/form_builder.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/start/startup.h"
#include "runtime/process/system_calls.h"
#include "runtime/template/template_record.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_mode.h"
#include "runtime/window/window_proc.h"
#include "runtime/process/window_table.h"

namespace runtimetest {

using runtime::RuntimeRecord;

// Destroys the top-level windows the calling thread still has, so that no test leaves a form
// behind for the next one of its program (a loop that ended on a quit message leaves its main
// form open, for instance).
inline BOOL CALLBACK DestroyEnumeratedWindow(HWND window, LPARAM) noexcept {
    DestroyWindow(window);
    return TRUE;
}

inline void DestroyThreadWindows() { EnumThreadWindows(GetCurrentThreadId(), DestroyEnumeratedWindow, 0); }

// The runtime as the program starts it, shut down again at the end of the test with the windows
// the test left.
class RuntimeSession {
public:
    explicit RuntimeSession(int32_t wideRequest = 0, const char* applicationName = "Project1",
                            const char* description = "Runtime tests") {
        runtime::StartRuntime(GetModuleHandleA(nullptr), applicationName, "Project1.exe", description,
                              runtime::form_kind::Window, wideRequest);
    }
    ~RuntimeSession() {
        DestroyThreadWindows();
        runtime::ShutdownRuntime();
    }
    RuntimeSession(const RuntimeSession&) = delete;
    RuntimeSession& operator=(const RuntimeSession&) = delete;
};

// One message as the application's procedure received it.
struct Seen {
    HWND window;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
};

// The application procedure's script: answers by message (0 when none is given), an action
// run on every message before answering, and the messages seen.
struct AppScript {
    std::map<UINT, LRESULT> answers;
    std::function<void(HWND, UINT, WPARAM, LPARAM)> onMessage;
    std::vector<Seen> seen;

    void Reset() { *this = AppScript{}; }
    // The messages with this id, in order.
    std::vector<Seen> All(UINT id) const {
        std::vector<Seen> found;
        for (const Seen& s : seen) {
            if (s.id == id) found.push_back(s);
        }
        return found;
    }
    int Count(UINT id) const { return static_cast<int>(All(id).size()); }
};

inline AppScript app;

inline LRESULT CALLBACK ScriptedApp(HWND window, UINT id, WPARAM wParam, LPARAM lParam) noexcept {
    app.seen.push_back(Seen{window, id, wParam, lParam});
    if (app.onMessage) app.onMessage(window, id, wParam, lParam);
    const auto answer = app.answers.find(id);
    return answer != app.answers.end() ? answer->second : 0;
}

inline uint32_t ScriptedAppSlot() { return runtime::ToSlot(&ScriptedApp); }

// A zero-filled record of the given type from the runtime heap, as the builder makes it.
inline RuntimeRecord* NewRecord(int32_t type) {
    auto* record = static_cast<RuntimeRecord*>(runtime::AllocRuntimeBlock(sizeof(RuntimeRecord)));
    if (record != nullptr) {
        record->Type = type;
        record->Enabled = 1;
    }
    return record;
}

// A copy of an ANSI text in the runtime heap, in the text mode.
inline uint32_t HeapText(const char* text) {
    const size_t units = strlen(text) + 2;
    void* copy = runtime::AllocRuntimeBlock(static_cast<uint32_t>(units * (runtime::wideMode != 0 ? 2 : 1)));
    runtime::CopyAnsiText(text, copy);
    return runtime::ToSlot(copy);
}

// A runtime-class window for `record`, made through the record under construction.
inline HWND CreateBound(RuntimeRecord* record, runtime::RuntimeClass which, DWORD style, HWND parent,
                        DWORD exStyle = 0, int x = 10, int y = 10, int width = 300, int height = 200) {
    runtime::pendingRecord = record;
    const void* name = runtime::RuntimeClassName(which);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = runtime::wideMode != 0
                      ? CreateWindowExW(exStyle, static_cast<const wchar_t*>(name), L"", style, x, y, width, height,
                                        parent, nullptr, instance, nullptr)
                      : CreateWindowExA(exStyle, static_cast<const char*>(name), "", style, x, y, width, height,
                                        parent, nullptr, instance, nullptr);
    if (runtime::pendingRecord == record) runtime::pendingRecord = nullptr;
    return window;
}

// A standard control taken over the way the builder does it: entered in the window table with
// its record, its own procedure kept in the record and replaced by the runtime's.
inline HWND AttachControl(RuntimeRecord* record, const char* systemClass, DWORD style, HWND parent, int index,
                          int x = 10, int y = 10, int width = 80, int height = 24) {
    record->Index = index;
    record->ControlId = 1000 + index;
    HWND control = CreateWindowExA(0, systemClass, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<intptr_t>(record->ControlId)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control == nullptr) return nullptr;
    record->Window = runtime::ToSlot(control);
    runtime::EnterWindowRecord(control, record);
    record->ClassProc = static_cast<uint32_t>(
        runtime::SetWindowValue(control, GWLP_WNDPROC, runtime::FromWindowProc(runtime::RuntimeWindowProc)));
    return control;
}

// Blocks in use in the runtime heap.
inline int BusyBlocks() {
    PROCESS_HEAP_ENTRY entry{};
    int busy = 0;
    while (HeapWalk(runtime::runtimeHeap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
    }
    return busy;
}

// Takes every posted message of the thread out of the queue; returns whether a quit message was
// among them, and its code.
struct QueuedQuit {
    bool posted = false;
    WPARAM code = 0;
};

inline QueuedQuit TakeQueuedMessages() {
    QueuedQuit quit;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit.posted = true;
            quit.code = message.wParam;
        } else {
            DispatchMessageA(&message);
        }
    }
    return quit;
}

}  // namespace runtimetest
