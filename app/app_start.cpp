#include "app/app_start.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "app/hook_library.h"
#include "app/failure_caption.h"
#include "app/main_window.h"
#include "app/motion/motion.h"
#include "app/program_options.h"
#include "app/web/web_front.h"
#include "crash/exception_report.h"
#include "forms/main_form.h"
#include "runtime/process/application.h"
#include "runtime/start/message_loop.h"
#include "runtime/start/startup.h"

namespace app {

namespace {

// The Application record's common-controls block is the 8-byte initialisation record.
static_assert(sizeof(runtime::Application.CommonControls) == sizeof(INITCOMMONCONTROLSEX));

void InitialiseCommonControls() {
    InitCommonControls();
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), kCommonControlClasses};
    std::memcpy(runtime::Application.CommonControls, &classes, sizeof classes);
    InitCommonControlsEx(&classes);
}

// Each subsystem takes its part of the switches before the main window exists.
void ApplyProgramOptions(const ProgramOptions& options) {
    web::SetListenAddress(options.port, options.bindAddress);
    // Within 1 to 4096 (the switch's range).
    web::SetListenBacklog(static_cast<int>(options.backlog));
    motion::motionSettings.stepBoxes = options.stepBoxes;
    motion::motionSettings.baud = options.baud;
    motion::motionSettings.limits = motion::LineLimits{options.limited, options.xMax, options.yMax};
    web::SetOperatorApi(options.operatorApi);
    web::SetAllowList(options.allow);
    motion::motionSettings.ramp = motion::StepRamp{options.ramped, options.rampStartMs, options.rampSteps};
}

// The library of --hook, when one is named: false, after the operator is told why, when it is
// not one to drive the port with.
bool TakeHookLibrary(std::string_view library) {
    if (library.empty()) return true;
    const HookLoad load = LoadHookLibrary(library);
    if (load.loaded) return true;
    char text[512];
    FormatHookRefusal(library, load.refusal, load.error, text);
    MessageBoxA(nullptr, text, kFailureCaption, MB_ICONERROR | MB_OK);
    return false;
}

// A command line that is not understood is not guessed at: the operator is told, without an
// owner since no window exists yet.
void RefuseCommandLine(const OptionsResult& refused) {
    char text[512];
    FormatOptionsRefusal(refused, text);
    MessageBoxA(nullptr, text, kFailureCaption, MB_ICONERROR | MB_OK);
}

}  // namespace

int32_t RunApplication(const char* arguments) noexcept {
    runtime::ApplicationRecord& application = runtime::Application;
    // First of all, so that a fault anywhere later is reported.
    application.PrevFilter = runtime::ToSlot(SetUnhandledExceptionFilter(crash::ExceptionReportFilter));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    application.Instance = runtime::ToSlot(instance);
    application.StartFlag1 = 1;
    application.StartFlag2 = 0;
    application.StartFlag3 = 1;
    InitialiseCommonControls();

    runtime::StartRuntime(instance, kApplicationName, kExecutableName, kDescription, kMainFormKind, kAnsiTexts);
    if (arguments == nullptr) arguments = runtime::SlotAs<const char*>(application.CommandLine);
    const OptionsResult options = ParseProgramOptions(arguments != nullptr ? arguments : "");
    int32_t exitCode = kRefusedCommandLineExitCode;
    if (options.error != OptionsError::None) {
        RefuseCommandLine(options);
        runtime::ShutdownRuntime();
    } else if (!TakeHookLibrary(options.options.hookLibrary)) {
        runtime::ShutdownRuntime();
    } else {
        ApplyProgramOptions(options.options);
        // Whatever state the port was left in, the tool starts off (without a hook, nothing).
        web::SwitchToolOff();
        crash::SetFaultSafeguard(web::SwitchToolOff);
        runtime::SetMainForm(forms::MainFormTemplate(MainWindowProc));
        exitCode = runtime::RunMessageLoop(
            instance, 0, runtime::SlotAs<const void*>(application.CommandLine), SW_SHOWDEFAULT);
        web::SwitchToolOff();
        crash::SetFaultSafeguard(nullptr);
        UnloadHookLibrary();
    }

    // A line ends before the loop does, and puts the system timer back itself; this is the
    // program's last word on it.
    motion::RestoreTimerResolution();
    SetUnhandledExceptionFilter(runtime::SlotAs<LPTOP_LEVEL_EXCEPTION_FILTER>(application.PrevFilter));
    return exitCode;
}

void AppStart() noexcept {
    // The exit code is the quit message's, handed through as the process's.
    ExitProcess(static_cast<UINT>(RunApplication()));
}

}  // namespace app
