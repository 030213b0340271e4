#include "runtime/util/system_info.h"

#include <windows.h>

#include <cpuid.h>

#include "runtime/process/application.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

constexpr WORD kArchitectureX64 = 9;  // PROCESSOR_ARCHITECTURE_AMD64

// Copies the kept service-pack text into a buffer of kServicePackLimit characters of Ch,
// converting it when it is kept in the other encoding.
void CopyServicePack(char* buffer) {
    const uint8_t* kept = workBlock->servicePack;
    if (wideMode != 0) {
        WideToAnsi(reinterpret_cast<const wchar_t*>(kept), buffer, kServicePackLimit);
    } else {
        text::CopyBounded(std::string_view(reinterpret_cast<const char*>(kept)), buffer, kServicePackLimit);
    }
}

void CopyServicePack(wchar_t* buffer) {
    const uint8_t* kept = workBlock->servicePack;
    if (wideMode != 0) {
        text::CopyBounded(std::wstring_view(reinterpret_cast<const wchar_t*>(kept)), buffer, kServicePackLimit);
    } else {
        AnsiToWide(reinterpret_cast<const char*>(kept), buffer, kServicePackLimit);
    }
}

template <class Ch>
int32_t GetWindowsVersionIn(Ch* buffer, const void* site) {
    if (buffer != nullptr) {
        CheckPointer(buffer, 1, site);
        if (workBlock != nullptr) {
            CopyServicePack(buffer);
        } else {
            buffer[0] = 0;
        }
    }
    return OsLevel;
}

util::CpuidLeaf ReadLeaf(uint32_t leaf) {
    util::CpuidLeaf registers{};
    __cpuid(leaf, registers.eax, registers.ebx, registers.ecx, registers.edx);
    return registers;
}

}  // namespace

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] int32_t GetWindowsVersion(void* buffer) {
    if (buffer != nullptr) CheckPointer(buffer, 1, __builtin_return_address(0));
    if (wideMode != 0) return GetWindowsVersionW(static_cast<wchar_t*>(buffer));
    return GetWindowsVersionA(static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t GetWindowsVersionA(char* buffer) {
    return GetWindowsVersionIn(buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t GetWindowsVersionW(wchar_t* buffer) {
    return GetWindowsVersionIn(buffer, __builtin_return_address(0));
}

int32_t IsWideMode() { return wideMode; }

int32_t Is64BitWindows() {
    if (OsLevel < os_level::Nt5x) return 0;
    HMODULE kernel = LoadLibraryInMode("Kernel32.dll");
    if (kernel == nullptr) return 0;
    using NativeSystemInfo = void(WINAPI*)(SYSTEM_INFO*);
    // GetProcAddress gives every export as one pointer type; this one has the shape above.
    auto getNativeSystemInfo =
        reinterpret_cast<NativeSystemInfo>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")));
    SYSTEM_INFO info{};
    const bool asked = getNativeSystemInfo != nullptr;
    if (asked) getNativeSystemInfo(&info);
    FreeLibrary(kernel);
    return asked && info.wProcessorArchitecture == kArchitectureX64 ? 1 : 0;
}

[[gnu::noinline]] int32_t GetCpuInfo(util::CpuInfoRecord* record) {
    CheckPointer(record, 1, __builtin_return_address(0));
    const util::CpuidLeaf leaf0 = ReadLeaf(0);
    if (!util::HasSignatureLeaf(leaf0)) return 0;
    *record = util::DescribeCpu(leaf0, ReadLeaf(1));
    return 1;
}

}  // namespace runtime
