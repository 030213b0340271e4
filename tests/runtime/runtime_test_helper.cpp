// The runtime tests' helper program, run as another process (see test_helper_process.h):
//  - MT_HELPER_MODE=window: registers MT_HELPER_CLASS and holds a top-level window of it titled
//    MT_HELPER_TITLE until it is closed (or 30 seconds pass);
//  - MT_HELPER_MODE=probe: starts the runtime (wide text when MT_HELPER_WIDE is 1) and writes
//    the text mode, the arguments and the path it found to its standard output.

#include <windows.h>

#include <string>

#include "runtime/process/application.h"
#include "runtime/start/startup.h"
#include "runtime/text/text_mode.h"

namespace {

constexpr UINT kLifetimeMs = 30000;

std::string Environment(const char* name) {
    char value[512] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

LRESULT CALLBACK HelperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY) PostQuitMessage(0);
    if (message == WM_TIMER) DestroyWindow(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

int HoldWindow() {
    const std::string className = Environment("MT_HELPER_CLASS");
    const std::string title = Environment("MT_HELPER_TITLE");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HelperWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassA(&windowClass)) return 2;
    HWND window = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return 3;
    SetTimer(window, 1, kLifetimeMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

// A runtime text as ASCII, whatever the mode.
std::string Ascii(uint32_t slot) {
    std::string out;
    if (runtime::wideMode != 0) {
        for (auto* unit = runtime::SlotAs<const wchar_t*>(slot); *unit != 0; ++unit) out.push_back(static_cast<char>(*unit));
    } else {
        out = runtime::SlotAs<const char*>(slot);
    }
    return out;
}

int Probe() {
    const int32_t wide = Environment("MT_HELPER_WIDE") == "1" ? 1 : 0;
    runtime::StartRuntime(GetModuleHandleA(nullptr), "Project1", "Project1.exe", nullptr, 3, wide);
    // Written as it stands: no text-mode translation of the line ends.
    const std::string report = "wide=" + std::to_string(runtime::wideMode) + "\nargs=" +
                               Ascii(runtime::Application.CommandLine) + "\npath=" +
                               Ascii(runtime::Application.Path) + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    runtime::ShutdownRuntime();
    return 0;
}

}  // namespace

int main() {
    const std::string mode = Environment("MT_HELPER_MODE");
    if (mode == "window") return HoldWindow();
    if (mode == "probe") return Probe();
    return 1;
}
