#pragma once
// The texts of the crash report and their composition, apart from the exception filter that
// gathers the facts (crash/exception_report.h). Platform-free: the host tests compose reports
// under the sanitizers.
//
// All report texts are ANSI, in either text mode of the runtime.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/process/work_block.h"

namespace crash {

// The exception codes the report names; any other code is "UNKNOWN EXCEPTION".
struct ExceptionName {
    uint32_t code;
    std::string_view name;
};

constexpr uint32_t kAccessViolation = 0xC0000005u;

// The access violation's name ends with a blank: the access word ("READ" or "WRITE") follows
// it directly.
inline constexpr std::array<ExceptionName, 20> kExceptionNames{{
    {kAccessViolation, "ACCESS VIOLATION "},
    {0xC000008Cu, "ARRAY BOUNDS EXCEEDED"},
    {0x80000003u, "BREAKPOINT"},
    {0x80000002u, "DATA TYPE MISALIGNMENT"},
    {0xC000008Du, "FLOAT DENORMAL OPERAND"},
    {0xC000008Eu, "FLOAT DIVIDE BY ZERO"},
    {0xC000008Fu, "FLOAT INEXACT RESULT"},
    {0xC0000090u, "FLOAT INVALID OPERATION"},
    {0xC0000091u, "FLOAT OVERFLOW"},
    {0xC0000092u, "FLOAT STACK CHECK"},
    {0xC0000093u, "FLOAT UNDERFLOW"},
    {0xC000001Du, "ILLEGAL INSTRUCTION"},
    {0xC0000006u, "IN PAGE ERROR"},
    {0xC0000094u, "INTEGER DIVIDE BY ZERO"},
    {0xC0000095u, "INTEGER OVERFLOW"},
    {0xC0000026u, "INVALID DISPOSITION"},
    {0xC0000008u, "INVALID HANDLE"},
    {0xC0000096u, "PRIVILEGED INSTRUCTION"},
    {0x80000004u, "SINGLE STEP"},
    {0xC00000FDu, "STACK OVERFLOW"},
}};

constexpr std::string_view kUnknownException = "UNKNOWN EXCEPTION";

// The description of an exception code.
constexpr std::string_view ExceptionNameOf(uint32_t code) {
    for (const ExceptionName& entry : kExceptionNames) {
        if (entry.code == code) return entry.name;
    }
    return kUnknownException;
}

// The access word of an access violation, from the low byte of its first information word:
// 0 is a read, anything else is reported as a write.
constexpr std::string_view AccessWordOf(uint32_t accessKind) {
    return (accessKind & 0xFFu) == 0 ? std::string_view("READ") : std::string_view("WRITE");
}

// The title: the caption prefix of the runtime's boxes, then this.
constexpr std::string_view kTitleSubject = "Application error";

// Where the fault was: a source module (the file's path without its extension) and a line,
// or, without line information, the exception address already written as text.
struct FaultSite {
    bool sourceFound;
    std::string_view name;  // the module, or the address text
    int32_t lineNumber;     // meaningful when sourceFound
};

// What the report says.
struct ReportFacts {
    uint32_t code;
    std::string_view description;  // the code's name
    std::string_view accessWord;   // after the name of an access violation, else empty
    std::string_view application;  // the executable's file name
    FaultSite site;
};

// Writes the report text into `out`, always terminated; a text too long for the buffer is cut.
// Returns the characters written before the terminator.
std::size_t ComposeReport(const ReportFacts& facts, std::span<char> out);

// Writes the title into `out`, always terminated; returns its length.
std::size_t ComposeTitle(std::span<char> out);

// The length of a source path without the extension of its file name: up to the last dot of
// the part behind the last slash or backslash. A dot in a folder name, or a file name that only
// begins with a dot, cuts nothing.
std::size_t SourceModuleLength(std::string_view path);

// The report's buffers in the runtime's work block: the text in the first 800 bytes of text
// scratch 1 and the title in the rest, the description in the application's scratch text, the
// name (module or address) in text scratch 2, and the application's name converted from wide
// text in the form list area behind it.
constexpr std::size_t kReportTextBytes = 800;

struct ReportAreas {
    std::span<char> text;
    std::span<char> title;
    std::span<char> description;
    std::span<char> name;
    std::span<char> applicationName;
};

ReportAreas ReportAreasIn(runtime::WorkBlock& block);

}  // namespace crash
