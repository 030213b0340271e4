#pragma once
// The program's start: the crash report first, the common controls, the form runtime, the main
// message loop with the main form, and the end of the process with the loop's exit code.

#include <cstdint>

namespace app {

// What the program's start-up hands the form runtime.
inline constexpr char kApplicationName[] = "Project1";
inline constexpr char kExecutableName[] = "Project1.exe";
inline constexpr char kDescription[] =
    "Mini-Tarvo Server: a web browser drives a two-axis stepper machine; C++20, mingw-w64 i686, CMake";
inline constexpr int32_t kMainFormKind = 3;  // a window (not a dialog or MDI frame)
inline constexpr int32_t kAnsiTexts = 0;     // no wide-text request: the program runs in ANSI mode
// Every class flag of the common-controls initialisation from the list view through the native
// font control: neither the standard classes nor the link control.
inline constexpr uint32_t kCommonControlClasses = 0x3FFF;

// The program run up to the end of the process: installs the crash report's filter (keeping
// the previous one in Application.PrevFilter), takes the module handle, initialises the common
// controls, starts the runtime, reads the switches (app/program_options.h) from `arguments`
// (nullptr: the program's own command line, as the runtime keeps it), runs the message loop
// with the main form until the quit message and puts the previous filter back. Returns the
// loop's exit code. A refused command line is shown in a box without owner and gives
// kRefusedCommandLineExitCode before any window is built or anything listens.
int32_t RunApplication(const char* arguments = nullptr) noexcept;

// The process entry: RunApplication, then the end of the process with its exit code.
[[noreturn]] void AppStart() noexcept;

}  // namespace app
