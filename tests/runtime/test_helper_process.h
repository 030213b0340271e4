#pragma once
// The helper program (runtime_test_helper.exe, next to the test program) run as another
// process: either holding a top-level window of a given class, or starting the runtime with a
// given command line and reporting what it saw. Every wait is bounded and the helper ends with
// the object that started it.

#include <windows.h>

#include <string>

namespace helpertest {

// Generous: a Wine process start takes many seconds under emulation on a loaded machine; a
// helper that works ends long before these.
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kEndTimeoutMs = 60000;

// The helper's full file name: beside this program.
inline std::string HelperPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    return name.substr(0, name.rfind('\\') + 1) + "runtime_test_helper.exe";
}

// The helper's instructions travel in its environment, so that its command line is free to be
// whatever a test needs.
inline void SetHelperEnvironment(const char* mode, const char* className, const char* title, int32_t wide) {
    SetEnvironmentVariableA("MT_HELPER_MODE", mode);
    SetEnvironmentVariableA("MT_HELPER_CLASS", className);
    SetEnvironmentVariableA("MT_HELPER_TITLE", title);
    SetEnvironmentVariableA("MT_HELPER_WIDE", wide != 0 ? "1" : "0");
}

inline bool StartHelper(std::string commandLine, PROCESS_INFORMATION& process, STARTUPINFOA& startup,
                        bool inheritHandles) {
    const std::string helper = HelperPath();
    startup.cb = sizeof(startup);
    return CreateProcessA(helper.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles, 0, nullptr, nullptr,
                          &startup, &process) != 0;
}

inline void EndHelper(PROCESS_INFORMATION& process) {
    if (process.hProcess == nullptr) return;
    if (WaitForSingleObject(process.hProcess, kEndTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kEndTimeoutMs);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = PROCESS_INFORMATION{};
}

// A top-level window of `className` in another process, for as long as the object lives.
class InstanceWindow {
public:
    explicit InstanceWindow(const char* className) {
        static int serial = 0;
        title_ = "mt-instance-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        SetHelperEnvironment("window", className, title_.c_str(), 0);
        STARTUPINFOA startup{};
        if (!StartHelper("runtime_test_helper", process_, startup, false)) return;
        for (DWORD waited = 0; waited < kStartTimeoutMs && window_ == nullptr; waited += 20) {
            window_ = FindWindowA(nullptr, title_.c_str());
            if (window_ == nullptr) Sleep(20);
        }
    }
    ~InstanceWindow() {
        if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
        EndHelper(process_);
    }
    InstanceWindow(const InstanceWindow&) = delete;
    InstanceWindow& operator=(const InstanceWindow&) = delete;

    HWND window() const { return window_; }

private:
    std::string title_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// What the runtime of a started program saw.
struct ProbeResult {
    bool ran = false;
    int32_t wideMode = -1;
    std::string arguments;
    std::string path;
};

// Starts the helper with `commandLine` (the helper's file is given apart, so the line may name
// any program), lets it start the runtime and reads its report from its standard output.
inline ProbeResult RunProbe(const std::string& commandLine, int32_t wideRequest) {
    ProbeResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    SetHelperEnvironment("probe", "", "", wideRequest);
    STARTUPINFOA startup{};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = StartHelper(commandLine, process, startup, true);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        EndHelper(process);
        // The helper has ended and its report waits in the pipe. Only what is there is read: a
        // process the helper started may hold the pipe's other end, so no end of file may come.
        char buffer[512];
        DWORD waiting = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
            DWORD read = 0;
            if (!ReadFile(readEnd, buffer, waiting < sizeof(buffer) ? waiting : sizeof(buffer), &read, nullptr) ||
                read == 0) {
                break;
            }
            output.append(buffer, read);
        }
    }
    CloseHandle(readEnd);
    // The report: one "key=value" line each for wide, args and path.
    auto field = [&output](const std::string& key, std::string& value) {
        const size_t at = output.find(key + "=");
        if (at == std::string::npos) return false;
        const size_t start = at + key.size() + 1;
        value = output.substr(start, output.find('\n', start) - start);
        return true;
    };
    std::string wide;
    result.ran = field("wide", wide) && field("args", result.arguments) && field("path", result.path);
    if (result.ran) result.wideMode = std::stoi(wide);
    return result;
}

}  // namespace helpertest
