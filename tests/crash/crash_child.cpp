// The crash report's test program, run by crash_report_test as another process. It installs
// the report as the program does (the filter first), starts the runtime with a main form when
// the case needs one, and fails in the way its argument names. What the test needs to check the
// report against goes to its standard output as "key=value" lines:
//   main=<main window>     line=<line of the fault>     file=<source file of the fault>
//   address=<faulting instruction, hexadecimal>         capture-released      destroyed
// A case that does not end the process prints "survived" and exits with kSurvivedCode. The
// main form raises kSecondFaultCode when it receives kFaultAgainMessage.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "crash/exception_report.h"
#include "runtime/process/application.h"
#include "runtime/build/form_builder.h"
#include "runtime/start/message_loop.h"
#include "runtime/text/number_text.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/start/startup.h"
#include "runtime/text/text_search.h"
#include "tests/crash/crash_cases.h"
#include "tests/crash/fault.site/dotted_fault.h"

// The first byte of an instruction that reads address 0 (defined in ReadAtKnownAddress).
extern "C" const char mt_crash_fault_site[];

namespace {

void Tell(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void TellFault(int line, const char* file) {
    Tell("line=" + std::to_string(line));
    Tell(std::string("file=") + file);
}

std::string Hex(uintptr_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%X", static_cast<unsigned>(value));
    return text;
}

int* volatile nowhere = nullptr;
volatile int sink = 0;
volatile int zero = 0;
volatile int one = 1;

// An address that no pointer check can read: the first page is never mapped.
const void* const kBadText = reinterpret_cast<const void*>(0x10);
// A buffer that no pointer check can write: the text lies in read-only data.
const char kReadOnlyText[] = "read-only";

// The failures. Each notes its line on the line of the fault itself.
void ReadThroughNull() {
    TellFault(__LINE__, __FILE__); sink = *nowhere;
}

void WriteThroughNull() {
    TellFault(__LINE__, __FILE__); *nowhere = 1;
}

[[gnu::noinline]] void ReadAtKnownAddress() {
    Tell("address=" + Hex(reinterpret_cast<uintptr_t>(mt_crash_fault_site)));
    Tell(std::string("file=") + __FILE__);
    asm volatile(
        ".globl _mt_crash_fault_site\n"
        "_mt_crash_fault_site:\n\t"
        "movl 0, %%eax\n"
        :
        :
        : "eax", "memory");
}

void RaiseUnknown() { RaiseException(crashtest::kUnknownCode, 0, 0, nullptr); }

void RaiseNoncontinuable() { RaiseException(crashtest::kNoncontinuableCode, EXCEPTION_NONCONTINUABLE, 0, nullptr); }

void ExecuteIllegalInstruction() {
    TellFault(__LINE__, __FILE__); __builtin_trap();
}

void Break() {
    TellFault(__LINE__, __FILE__); asm volatile("int3");
}

void DivideByZero() {
    TellFault(__LINE__, __FILE__); sink = one / zero;
}

// The calls below are followed by a blank line and a comment, so that the instruction after
// each call belongs to a later line than the call.
void HandBadTextToRuntime() {
    TellFault(__LINE__, __FILE__); runtime::FindChar(kBadText, '.');

    // (the instruction after the call is the return)
}

void HandReadOnlyBufferToRuntime() {
    TellFault(__LINE__, __FILE__); runtime::FormatNumber(42, const_cast<char*>(kReadOnlyText), 1);

    // (the instruction after the call is the return)
}

void FaultInDottedFolder() { crashtest::ReadThroughNullInDottedFolder(TellFault); }

struct ChildCase {
    const char* name;
    crashtest::RuntimeUse runtimeUse;
    void (*fail)();
};

constexpr ChildCase kCases[] = {
    {crashtest::kNullRead, crashtest::RuntimeUse::Ansi, ReadThroughNull},
    {crashtest::kNullWrite, crashtest::RuntimeUse::Ansi, WriteThroughNull},
    {crashtest::kKnownAddress, crashtest::RuntimeUse::Ansi, ReadAtKnownAddress},
    {crashtest::kRaiseUnknown, crashtest::RuntimeUse::Ansi, RaiseUnknown},
    {crashtest::kNoncontinuable, crashtest::RuntimeUse::Ansi, RaiseNoncontinuable},
    {crashtest::kIllegalInstruction, crashtest::RuntimeUse::Ansi, ExecuteIllegalInstruction},
    {crashtest::kBreakpoint, crashtest::RuntimeUse::Ansi, Break},
    {crashtest::kDivideByZero, crashtest::RuntimeUse::Ansi, DivideByZero},
    {crashtest::kBadTextPointer, crashtest::RuntimeUse::Ansi, HandBadTextToRuntime},
    {crashtest::kReadOnlyBuffer, crashtest::RuntimeUse::Ansi, HandReadOnlyBufferToRuntime},
    {crashtest::kDottedFolder, crashtest::RuntimeUse::Ansi, FaultInDottedFolder},
    {crashtest::kSecondFault, crashtest::RuntimeUse::Ansi, ReadThroughNull},
    {crashtest::kWideNullWrite, crashtest::RuntimeUse::Wide, WriteThroughNull},
    {crashtest::kBeforeRuntime, crashtest::RuntimeUse::None, ReadThroughNull},
};

const ChildCase* running = nullptr;

// A private message that makes the main form fail once its window is up.
constexpr UINT kFailMessage = WM_APP + 1;

LRESULT CALLBACK MainFormProc(HWND window, UINT message, WPARAM, LPARAM lParam) noexcept {
    switch (message) {
        case runtime::FRM_CREATED:
            Tell("main=" + Hex(reinterpret_cast<uintptr_t>(window)));
            PostMessageA(window, kFailMessage, 0, 0);
            break;
        case kFailMessage:
            running->fail();
            // Still here: the case did not end the process.
            DestroyWindow(window);
            break;
        case crashtest::kFaultAgainMessage: RaiseException(crashtest::kSecondFaultCode, 0, 0, nullptr); break;
        case WM_CAPTURECHANGED:
            if (lParam == 0) Tell("capture-released");
            break;
        case WM_DESTROY: Tell("destroyed"); break;
        default: break;
    }
    return 0;
}

runtime::TemplateRecord MainFormTemplate() {
    runtime::TemplateRecord form{};
    form.Type = runtime::form_kind::Window;
    form.IsMain = 1;
    form.Visible = 1;
    form.Enabled = 1;
    form.Style = WS_OVERLAPPEDWINDOW;
    form.Left = 40;
    form.Top = 40;
    form.Width = 320;
    form.Height = 200;
    form.WindowProc = runtime::ToSlot(&MainFormProc);
    return form;
}

int RunCase(const ChildCase& child) {
    running = &child;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The report first, as the program's start-up does.
    runtime::Application.PrevFilter = runtime::ToSlot(SetUnhandledExceptionFilter(crash::ExceptionReportFilter));
    if (child.runtimeUse == crashtest::RuntimeUse::None) {
        child.fail();
    } else {
        const int32_t wideRequest = child.runtimeUse == crashtest::RuntimeUse::Wide ? 1 : 0;
        runtime::StartRuntime(instance, "Project1", "Project1.exe", "Crash report tests",
                              runtime::form_kind::Window, wideRequest);
        static const runtime::TemplateRecord form = MainFormTemplate();
        runtime::SetMainForm(&form);
        runtime::RunMessageLoop(instance, 0, nullptr, SW_SHOWNORMAL);
    }
    SetUnhandledExceptionFilter(runtime::SlotAs<LPTOP_LEVEL_EXCEPTION_FILTER>(runtime::Application.PrevFilter));
    Tell("survived");
    return crashtest::kSurvivedCode;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return crashtest::kUsageCode;
    for (const ChildCase& child : kCases) {
        if (std::strcmp(argv[1], child.name) == 0) return RunCase(child);
    }
    return crashtest::kUsageCode;
}
