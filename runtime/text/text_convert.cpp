#include "runtime/text/text_convert.h"

#include <windows.h>

#include "runtime/text/pointer_check.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

int AnsiToWideUnits(const char* source, int length, wchar_t* destination, int size) {
    return MultiByteToWideChar(CP_ACP, 0, source, length, destination, size);
}

int WideToAnsiUnits(const wchar_t* source, int length, char* destination, int size) {
    return WideCharToMultiByte(CP_ACP, 0, source, length, destination, size, nullptr, nullptr);
}

// Converts the whole text with its terminator, or, when it does not fit, the longest leading
// part that does, so that the destination always ends in a terminator. `convert` has the shape
// of the two system conversions (source, source length or -1, destination, size).
template <class From, class To, class Convert>
int32_t ConvertText(const From* source, To* destination, int32_t size, Convert convert) {
    if (size <= 0) return 0;
    const int written = convert(source, -1, destination, size);
    if (written > 0) return written;
    // The needed size grows with the part of the source taken: search the longest part that
    // leaves room for the terminator.
    int low = 0;
    int high = text::TextLength(source);
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (convert(source, middle, nullptr, 0) <= size - 1) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    const int kept = low > 0 ? convert(source, low, destination, size - 1) : 0;
    destination[kept > 0 ? kept : 0] = 0;
    return 0;
}

}  // namespace

int32_t AnsiToWide(const char* source, wchar_t* destination, int32_t size) {
    return ConvertText(source, destination, size, AnsiToWideUnits);
}

int32_t WideToAnsi(const wchar_t* source, char* destination, int32_t size) {
    return ConvertText(source, destination, size, WideToAnsiUnits);
}

namespace {

// The bodies of the A and W members: check the arguments with the member's call site, then
// run the text helper.
template <class Ch>
Ch* CheckedCopyTo(Ch* destination, const Ch* source, const void* site) {
    CheckPointer(source, 0, site);
    CheckPointer(destination, 1, site);
    return text::CopyTextTo(destination, source);
}

template <class Ch>
int32_t CheckedCopy(Ch* destination, const Ch* source, const void* site) {
    CheckPointer(source, 0, site);
    CheckPointer(destination, 1, site);
    return text::CopyText(destination, source);
}

// A null text is allowed (length 0), so only a non-null one is checked.
template <class Ch>
int32_t CheckedLength(const Ch* text, const void* site) {
    if (text != nullptr) CheckPointer(text, 0, site);
    return text::TextLength(text);
}

}  // namespace

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] void* CopyAnsiText(const char* source, void* destination) {
    if (source == nullptr) return nullptr;
    CheckPointer(source, 0, __builtin_return_address(0));
    CheckPointer(destination, 1, __builtin_return_address(0));
    if (wideMode != 0) return CopyAnsiTextW(source, static_cast<wchar_t*>(destination));
    return CopyAnsiTextA(source, static_cast<char*>(destination));
}

[[gnu::noinline]] char* CopyAnsiTextA(const char* source, char* destination) {
    if (source == nullptr) return nullptr;
    return CheckedCopyTo(destination, source, __builtin_return_address(0));
}

[[gnu::noinline]] wchar_t* CopyAnsiTextW(const char* source, wchar_t* destination) {
    if (source == nullptr) return nullptr;
    CheckPointer(source, 0, __builtin_return_address(0));
    CheckPointer(destination, 1, __builtin_return_address(0));
    AnsiToWide(source, destination, kAnsiCopyLimit);
    return destination;
}

[[gnu::noinline]] int32_t CopyText(void* destination, const void* source) {
    CheckPointer(source, 0, __builtin_return_address(0));
    CheckPointer(destination, 1, __builtin_return_address(0));
    if (wideMode != 0) {
        return CopyTextW(static_cast<wchar_t*>(destination), static_cast<const wchar_t*>(source));
    }
    return CopyTextA(static_cast<char*>(destination), static_cast<const char*>(source));
}

[[gnu::noinline]] int32_t CopyTextA(char* destination, const char* source) {
    return CheckedCopy(destination, source, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t CopyTextW(wchar_t* destination, const wchar_t* source) {
    return CheckedCopy(destination, source, __builtin_return_address(0));
}

[[gnu::noinline]] void* CopyTextTo(void* destination, const void* source) {
    CheckPointer(source, 0, __builtin_return_address(0));
    CheckPointer(destination, 1, __builtin_return_address(0));
    if (wideMode != 0) {
        return CopyTextToW(static_cast<wchar_t*>(destination), static_cast<const wchar_t*>(source));
    }
    return CopyTextToA(static_cast<char*>(destination), static_cast<const char*>(source));
}

[[gnu::noinline]] char* CopyTextToA(char* destination, const char* source) {
    return CheckedCopyTo(destination, source, __builtin_return_address(0));
}

[[gnu::noinline]] wchar_t* CopyTextToW(wchar_t* destination, const wchar_t* source) {
    return CheckedCopyTo(destination, source, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TextLength(const void* text) {
    if (text != nullptr) CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return TextLengthW(static_cast<const wchar_t*>(text));
    return TextLengthA(static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t TextLengthA(const char* text) {
    return CheckedLength(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TextLengthW(const wchar_t* text) {
    return CheckedLength(text, __builtin_return_address(0));
}

}  // namespace runtime
