#include "crash/exception_report.h"

#include "runtime/process/application.h"
#include "runtime/process/wait_cursor.h"
#include "runtime/start/startup.h"
#include "runtime/text/number_text.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace crash {

namespace {

// The report's process-wide state. The line record and its displacement are handed to the
// debug-help library; the reserve, in the program's data, holds the report's buffers when the
// runtime's work block is not there (a fault before the runtime started or after it was shut
// down).
SourceLineRecord sourceLine{};
DWORD lineDisplacement = 0;
runtime::WorkBlock reportReserve{};
// Taken (set to none) as it is called, so that a failure inside it is not met by a second call.
FaultSafeguard faultSafeguard = nullptr;

constexpr DWORD kSymLoadLines = 0x10;      // SYMOPT_LOAD_LINES
constexpr DWORD kSymDeferredLoads = 0x04;  // SYMOPT_DEFERRED_LOADS

// The debug-help library's entry points that the lookup uses.
using SymSetOptionsCall = DWORD(WINAPI*)(DWORD options);
using SymInitializeCall = BOOL(WINAPI*)(HANDLE process, const char* searchPath, BOOL invadeProcess);
using SymGetLineFromAddrCall = BOOL(WINAPI*)(HANDLE process, DWORD address, DWORD* displacement,
                                             SourceLineRecord* line);
using SymCleanupCall = BOOL(WINAPI*)(HANDLE process);

struct DebugHelp {
    SymInitializeCall initialize;
    SymSetOptionsCall setOptions;
    SymGetLineFromAddrCall getLineFromAddr;
    SymCleanupCall cleanup;
};

template <class Call>
bool Resolve(HMODULE library, const char* name, Call& call) {
    // GetProcAddress gives every entry point as one generic type; the entry's real signature is
    // the one its name stands for.
    call = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return call != nullptr;
}

bool ResolveDebugHelp(HMODULE library, DebugHelp& help) {
    return Resolve(library, "SymInitialize", help.initialize) && Resolve(library, "SymSetOptions", help.setOptions) &&
           Resolve(library, "SymGetLineFromAddr", help.getLineFromAddr) &&
           Resolve(library, "SymCleanup", help.cleanup);
}

// The exception address as the report's name, when no source file is known.
FaultSite AddressSite(const EXCEPTION_RECORD& record, std::span<char> name) {
    runtime::FormatNumberA(static_cast<int32_t>(runtime::ToSlot(record.ExceptionAddress)), name.data(),
                           runtime::number_format::Hexadecimal);
    return FaultSite{false, std::string_view(name.data()), 0};
}

// The address whose line the report names. Inside a pointer check the fault is the runtime's,
// and the line wanted is that of the application's call; the call site on record is the return
// address behind the call, so the byte before it lies in the call instruction itself (the
// return address may already belong to the next line).
DWORD LookUpAddress(const EXCEPTION_RECORD& record) {
    const void* callSite = runtime::pendingCheckSite;
    if (callSite != nullptr) return runtime::ToSlot(callSite) - 1;
    return runtime::ToSlot(record.ExceptionAddress);
}

// The report's buffers: in the runtime's work block while the runtime runs.
ReportAreas CurrentAreas() {
    return ReportAreasIn(runtime::workBlock != nullptr ? *runtime::workBlock : reportReserve);
}

// The executable's file name as ANSI text; in wide mode converted into `converted`. Empty when
// the runtime's texts are not there.
std::string_view ApplicationName(std::span<char> converted) {
    if (runtime::textBlock == nullptr || runtime::Application.FileName == 0) return {};
    if (runtime::wideMode == 0) return runtime::SlotAs<const char*>(runtime::Application.FileName);
    runtime::WideToAnsi(runtime::SlotAs<const wchar_t*>(runtime::Application.FileName), converted.data(),
                        static_cast<int32_t>(converted.size()));
    return converted.data();
}

// The report's owner: the main window, or none when there is no live one.
HWND ReportOwner() {
    HWND mainWindow = runtime::SlotAs<HWND>(runtime::Application.MainWindow);
    return mainWindow != nullptr && IsWindow(mainWindow) ? mainWindow : nullptr;
}

void ShowReport(const EXCEPTION_RECORD& record) {
    const ReportAreas areas = CurrentAreas();
    ComposeTitle(areas.title);
    ReportFacts facts{};
    facts.code = record.ExceptionCode;
    facts.description = DescribeException(record.ExceptionCode, areas.description);

    HWND owner = ReportOwner();
    // Loading the debug information can take a while.
    runtime::BeginWaitCursor(owner);
    facts.site = LookUpSourceLine(record, areas.name);
    if (record.ExceptionCode == kAccessViolation) {
        const ULONG_PTR accessKind = record.NumberParameters > 0 ? record.ExceptionInformation[0] : 0;
        facts.accessWord = AccessWordOf(static_cast<uint32_t>(accessKind));
    }
    facts.application = ApplicationName(areas.applicationName);
    ComposeReport(facts, areas.text);
    runtime::EndWaitCursor();

    MessageBoxA(owner, areas.text.data(), areas.title.data(), kReportBoxStyle);
}

// The end of every way through the filter.
LONG ShutDown() {
    runtime::EmergencyShutdown();
    runtime::pendingCheckSite = nullptr;
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

std::string_view DescribeException(uint32_t code, std::span<char> description) {
    runtime::Application.ExceptionCode = code;
    const std::size_t length = runtime::text::CopyBounded(ExceptionNameOf(code), description.data(), description.size());
    return std::string_view(description.data(), length);
}

FaultSite LookUpSourceLine(const EXCEPTION_RECORD& record, std::span<char> name) {
    HMODULE library = LoadLibraryA(kDebugHelpLibrary);
    if (library == nullptr) return AddressSite(record, name);
    DebugHelp help{};
    if (!ResolveDebugHelp(library, help)) {
        FreeLibrary(library);
        return AddressSite(record, name);
    }

    HANDLE process = GetCurrentProcess();
    // The process is invaded for its list of modules only: with deferred loads the library reads
    // the debug information of the one module the lookup needs, not that of every library the
    // process holds (under Wine, its own and the system's too), which took most of the wait.
    help.setOptions(kSymLoadLines | kSymDeferredLoads);
    help.initialize(process, nullptr, TRUE);
    sourceLine = SourceLineRecord{};
    sourceLine.SizeOfStruct = sizeof(SourceLineRecord);
    lineDisplacement = 0;
    // A failed lookup leaves FileName null; that is the only sign of the outcome needed.
    help.getLineFromAddr(process, LookUpAddress(record), &lineDisplacement, &sourceLine);

    FaultSite site{};
    if (sourceLine.FileName != nullptr) {
        // The library's text lives until the clean-up below: copy it first.
        const std::size_t copied = runtime::text::CopyBounded(std::string_view(sourceLine.FileName), name.data(), name.size());
        const std::size_t kept = SourceModuleLength(std::string_view(name.data(), copied));
        name[kept] = 0;
        site = FaultSite{true, std::string_view(name.data(), kept), static_cast<int32_t>(sourceLine.LineNumber)};
    } else {
        site = AddressSite(record, name);
    }
    help.cleanup(process);
    FreeLibrary(library);
    return site;
}

void SetFaultSafeguard(FaultSafeguard safeguard) noexcept {
    faultSafeguard = safeguard;
}

LONG WINAPI ExceptionReportFilter(EXCEPTION_POINTERS* pointers) noexcept {
    // Before the report, whose box waits for the operator: a tool left on meanwhile is a hazard.
    if (const FaultSafeguard safeguard = faultSafeguard; safeguard != nullptr) {
        faultSafeguard = nullptr;
        safeguard();
    }
    const EXCEPTION_RECORD* record = pointers != nullptr ? pointers->ExceptionRecord : nullptr;
    if (record == nullptr || (record->ExceptionFlags & (EXCEPTION_NONCONTINUABLE | EXCEPTION_UNWINDING)) != 0) {
        runtime::pendingCheckSite = nullptr;
        return ShutDown();
    }
    // Cleared before anything else, so that a fault during the report makes no second one.
    if (runtime::reportPending != 0) {
        runtime::reportPending = 0;
        ShowReport(*record);
    }
    return ShutDown();
}

}  // namespace crash
