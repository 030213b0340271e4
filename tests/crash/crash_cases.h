#pragma once
// The failures the crash report's test program (crash_child.cpp) can make, by the name given
// as its argument, and the codes it raises or exits with. Shared by the program and the test.

#include <windows.h>

#include <cstdint>

namespace crashtest {

// Whether the runtime runs when the failure comes, and in which text mode.
enum class RuntimeUse { None, Ansi, Wide };

constexpr const char* kNullRead = "null-read";
constexpr const char* kNullWrite = "null-write";
constexpr const char* kKnownAddress = "known-address";
constexpr const char* kRaiseUnknown = "raise-unknown";
constexpr const char* kNoncontinuable = "noncontinuable";
constexpr const char* kIllegalInstruction = "illegal-instruction";
constexpr const char* kBreakpoint = "breakpoint";
constexpr const char* kDivideByZero = "divide-by-zero";
constexpr const char* kBadTextPointer = "bad-text-pointer";
constexpr const char* kReadOnlyBuffer = "read-only-buffer";
constexpr const char* kDottedFolder = "dotted-folder";
constexpr const char* kSecondFault = "second-fault";
constexpr const char* kWideNullWrite = "wide-null-write";
constexpr const char* kBeforeRuntime = "before-runtime";

// Raised codes: not in the report's table of names.
constexpr uint32_t kUnknownCode = 0xE0000001u;
constexpr uint32_t kNoncontinuableCode = 0xE0000002u;
constexpr uint32_t kSecondFaultCode = 0xE0000003u;

// Posted to the main form while the report is up, it makes a second fault there.
constexpr UINT kFaultAgainMessage = WM_APP + 2;

// Exit codes of a program that did not end by its failure.
constexpr int kSurvivedCode = 71;
constexpr int kUsageCode = 72;

}  // namespace crashtest
