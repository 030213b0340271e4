#pragma once
// Runs the crash report's test program (crash_child.exe, beside the test program) as another
// process, the way a user meets a crash: every report box it shows is found from outside (a
// visible top-level window of class #32770 of that process), read and dismissed with a sent
// IDOK, and what the program told on its standard output is kept. Every wait is bounded; a
// program that does not end in time is killed.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tests/crash/box_icon.h"
#include "tests/crash/crash_cases.h"

namespace crashtest {

// Generous: under emulation on a loaded machine one failing program takes up to half a minute.
constexpr DWORD kChildTimeLimitMs = 90000;
constexpr UINT kSendTimeoutMs = 3000;
// After a second fault has been asked for, the time the program gets to end by it.
constexpr DWORD kSecondFaultWaitMs = 5000;
// How long a box may take to show its caption and text once it is visible.
constexpr DWORD kSettleMs = 5000;

// A report box as it stood on the screen.
struct SeenReport {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    std::string icon;        // by BoxIconName
    std::string toldBefore;  // what the program had told while its box was up
};

struct ChildRun {
    bool started = false;
    bool ended = false;  // by itself, within the time limit
    DWORD exitCode = 0;
    std::string told;
    std::vector<SeenReport> reports;

    // The value of the first "key=value" line, or "<none>".
    std::string Value(const std::string& key) const {
        const std::string wanted = "\n" + key + "=";
        const std::string all = "\n" + told;
        const std::size_t at = all.find(wanted);
        if (at == std::string::npos) return "<none>";
        const std::size_t start = at + wanted.size();
        return all.substr(start, all.find('\n', start) - start);
    }
};

// How the program finds the debug-help library.
enum class DebugHelp {
    Present,
    Missing,             // Wine is told not to load it for the program's copy
    WithoutEntryPoints,  // a library of its name without its entry points lies beside the copy
};

// What the test does when the report box is up.
enum class WhileReportIsUp {
    Dismiss,
    FaultAgain,  // post kFaultAgainMessage to the main window, and dismiss only if still there
};

inline std::string HexText(uintptr_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%X", static_cast<unsigned>(value));
    return text;
}

namespace detail {

inline std::string TestDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    return name.substr(0, name.rfind('\\') + 1);
}

constexpr const char* kMissingCopy = "crash_child_without_debug_help.exe";
constexpr const char* kStubCopy = "crash_child_with_stub_debug_help.exe";

inline std::string ChildPath(DebugHelp debugHelp) {
    switch (debugHelp) {
        case DebugHelp::Missing: return TestDirectory() + kMissingCopy;
        case DebugHelp::WithoutEntryPoints: return TestDirectory() + "stub_debug_help\\" + kStubCopy;
        case DebugHelp::Present: break;
    }
    return TestDirectory() + "crash_child.exe";
}

// Wine's load order of the debug-help library for one program (by its file name), for as
// long as the object lives: "" refuses the library, "native" takes the one beside the program.
class DebugHelpLoadOrder {
public:
    DebugHelpLoadOrder(const char* program, const char* order)
        : programKey_(std::string("Software\\Wine\\AppDefaults\\") + program) {
        const std::string key = programKey_ + "\\DllOverrides";
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) !=
            ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        RegSetValueExA(key_, "dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                       static_cast<DWORD>(strlen(order) + 1));
    }
    ~DebugHelpLoadOrder() {
        if (key_ == nullptr) return;
        RegCloseKey(key_);
        RegDeleteKeyA(HKEY_CURRENT_USER, (programKey_ + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, programKey_.c_str());
    }
    DebugHelpLoadOrder(const DebugHelpLoadOrder&) = delete;
    DebugHelpLoadOrder& operator=(const DebugHelpLoadOrder&) = delete;

private:
    std::string programKey_;
    HKEY key_ = nullptr;
};

inline std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

inline std::string TextOf(HWND window) {
    char text[2048] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &copied);
    return text;
}

// The boxes that the process shows.
struct BoxSearch {
    DWORD processId;
    std::vector<HWND> boxes;
};

inline BOOL CALLBACK CollectBox(HWND window, LPARAM search) noexcept {
    auto* wanted = reinterpret_cast<BoxSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == wanted->processId && IsWindowVisible(window) && ClassOf(window) == "#32770") {
        wanted->boxes.push_back(window);
    }
    return TRUE;
}

inline SeenReport ReadBoxOnce(HWND box) {
    SeenReport seen;
    seen.caption = TextOf(box);
    seen.owner = GetWindow(box, GW_OWNER);
    seen.icon = "<none>";
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Static") continue;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen.icon = BoxIconName(child);
        } else if (seen.text.empty()) {
            seen.text = TextOf(child);
        }
    }
    return seen;
}

// A box can be visible a moment before its dialog procedure has set its caption and text (seen
// under emulation, where the box's thread runs slowly): it is read again until both are there,
// for a few seconds at most.
inline SeenReport ReadBox(HWND box) {
    const DWORD start = GetTickCount();
    SeenReport seen = ReadBoxOnce(box);
    while ((seen.caption.empty() || seen.text.empty()) && IsWindow(box) && GetTickCount() - start < kSettleMs) {
        Sleep(50);
        seen = ReadBoxOnce(box);
    }
    return seen;
}

// Appends what is waiting in the pipe, without blocking.
inline void Drain(HANDLE pipe, std::string& told) {
    DWORD waiting = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
        char buffer[512];
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, waiting < sizeof(buffer) ? waiting : sizeof(buffer), &read, nullptr) || read == 0) {
            return;
        }
        told.append(buffer, read);
    }
}

inline HWND ToldMainWindow(const ChildRun& run) {
    const std::string main = run.Value("main");
    return main == "<none>" ? nullptr : reinterpret_cast<HWND>(std::stoul(main, nullptr, 16));
}

}  // namespace detail

// Runs the program with the case's name as its argument until it ends (or the time limit
// passes, when it is killed), handling its boxes on the way.
inline ChildRun RunCrashChild(const char* caseName, DebugHelp debugHelp = DebugHelp::Present,
                              WhileReportIsUp whileUp = WhileReportIsUp::Dismiss) {
    ChildRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const std::string program = detail::ChildPath(debugHelp);
    std::string commandLine = "crash_child " + std::string(caseName);
    // The program reads its load order when it loads the library, at the crash: the setting
    // stays for the whole run.
    std::optional<detail::DebugHelpLoadOrder> loadOrder;
    if (debugHelp == DebugHelp::Missing) loadOrder.emplace(detail::kMissingCopy, "");
    if (debugHelp == DebugHelp::WithoutEntryPoints) loadOrder.emplace(detail::kStubCopy, "native");
    run.started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &startup, &process) != 0;
    CloseHandle(writeEnd);
    if (!run.started) {
        CloseHandle(readEnd);
        return run;
    }

    std::vector<HWND> handled;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kChildTimeLimitMs) {
        detail::Drain(readEnd, run.told);
        detail::BoxSearch search{process.dwProcessId, {}};
        EnumWindows(detail::CollectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes) {
            if (std::find(handled.begin(), handled.end(), box) != handled.end()) continue;
            handled.push_back(box);
            detail::Drain(readEnd, run.told);
            SeenReport seen = detail::ReadBox(box);
            seen.toldBefore = run.told;
            run.reports.push_back(seen);
            if (whileUp == WhileReportIsUp::FaultAgain) {
                PostMessageA(detail::ToldMainWindow(run), kFaultAgainMessage, 0, 0);
                WaitForSingleObject(process.hProcess, kSecondFaultWaitMs);
            }
            DWORD_PTR ignored = 0;
            if (IsWindow(box)) SendMessageTimeoutA(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
        }
        if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
            run.ended = true;
            break;
        }
    }
    if (!run.ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    detail::Drain(readEnd, run.told);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

}  // namespace crashtest
