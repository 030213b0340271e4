#pragma once
// The crash report: the process's unhandled-exception filter. It shows one message box that
// names the exception, the application and, where the debug information allows, the source
// module and line at fault; then it tears the runtime down and lets the system end the
// process. A fault inside the runtime's pointer check (runtime/text/pointer_check.h) is reported
// against the application's line that called the checking function.
//
// The program installs the filter with SetUnhandledExceptionFilter as its first act, keeps
// the previous filter in Application.PrevFilter and puts it back just before it exits.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "crash/report_text.h"

namespace crash {

// The style of the report's box: an OK button and the stop icon.
constexpr UINT kReportBoxStyle = MB_OK | MB_ICONHAND;

// The library that gives source lines; loaded only while a report is made, and where it is
// missing the report shows the exception address instead.
constexpr const char* kDebugHelpLibrary = "DBGHELP.DLL";

// The line record of the debug-help library (IMAGEHLP_LINE of a 32-bit process).
struct SourceLineRecord {
    DWORD SizeOfStruct;
    void* Key;
    DWORD LineNumber;
    const char* FileName;
    DWORD Address;
};
static_assert(sizeof(SourceLineRecord) == 20, "the library checks SizeOfStruct against its 32-bit record");

// What a process that fails must do before anything else: make its outputs safe (switch the
// machine's tool off). Called once per process, first thing in the filter, whatever the
// failure; a second failure inside it does not call it again. None by default.
using FaultSafeguard = void (*)() noexcept;
void SetFaultSafeguard(FaultSafeguard safeguard) noexcept;

// The unhandled-exception filter. Calls the safeguard, shows the report at most once per process (a non-continuable
// or unwinding exception shows none), tears the runtime down and returns
// EXCEPTION_EXECUTE_HANDLER, upon which the system ends the process.
LONG WINAPI ExceptionReportFilter(EXCEPTION_POINTERS* pointers) noexcept;

// Stores `code` in Application.ExceptionCode and writes its name into `description`; returns
// the name as written.
std::string_view DescribeException(uint32_t code, std::span<char> description);

// Looks the fault up in the debug information through the debug-help library: the call site
// of a pointer check that was under way (the call instruction itself), else the exception
// address. With a source file found, `name` receives its path without the extension and the
// result carries the line; otherwise `name` receives the exception address as upper-case
// hexadecimal with an H behind it. The result's name views `name`.
FaultSite LookUpSourceLine(const EXCEPTION_RECORD& record, std::span<char> name);

}  // namespace crash
