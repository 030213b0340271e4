#pragma once
// What the runtime tells applications about the system it runs on.

#include <cstdint>

#include "runtime/util/cpu_record.h"

namespace runtime {

// The room GetWindowsVersion fills, in characters with the terminator: the system's
// service-pack text is at most 127 characters.
constexpr int32_t kServicePackLimit = 128;

// Copies the service-pack text that start-up kept (e.g. "Service Pack 1", empty when there is
// none) into `buffer` when one is given, cut to kServicePackLimit characters with the
// terminator, and gives the OS level (runtime/process/startup_logic.h, os_level). The ANSI member (A)
// and the wide member (W) convert the kept text when it is in the other encoding; the public
// entry checks a given buffer and calls the member chosen by the text mode.
int32_t GetWindowsVersion(void* buffer);
int32_t GetWindowsVersionA(char* buffer);
int32_t GetWindowsVersionW(wchar_t* buffer);

// The runtime's text mode: 0 ANSI, 1 wide.
int32_t IsWideMode();

// 1 when the system is 64-bit x86 (asked through "GetNativeSystemInfo" of "Kernel32.dll" on
// OS level 5 and above), else 0.
int32_t Is64BitWindows();

// Fills `record` (56 bytes, runtime/util/cpu_record.h) from the processor's identification
// leaves 0 and 1; 1 when done, 0 (the record untouched) when the processor reports no leaf
// beyond 0.
int32_t GetCpuInfo(util::CpuInfoRecord* record);

}  // namespace runtime
