// The text functions of the property interface: one body per function for both encodings,
// an A and a W member that check their argument, and the public entry that checks it and picks
// the member by the text mode.

#include "runtime/property/property_texts.h"

#include <type_traits>

#include "runtime/process/runtime_heap.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_support.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

int ConvertedLength(const char* text) { return MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0); }
int ConvertedLength(const wchar_t* text) {
    return WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
}
int32_t Convert(const char* source, wchar_t* destination, int32_t size) {
    return AnsiToWide(source, destination, size);
}
int32_t Convert(const wchar_t* source, char* destination, int32_t size) {
    return WideToAnsi(source, destination, size);
}

// A heap copy of `text` in the encoding To.
template <class To, class From>
To* HeapCopyAs(const From* text) {
    if constexpr (sizeof(To) == sizeof(From)) {
        const int32_t length = text::TextLength(text);
        auto* copy = static_cast<To*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 2) * sizeof(To))));
        if (copy != nullptr) text::CopyText(copy, text);
        return copy;
    } else {
        const int units = ConvertedLength(text);  // terminator included; 0 when it cannot convert
        auto* copy = static_cast<To*>(AllocRuntimeBlock(static_cast<uint32_t>((units + 1) * sizeof(To))));
        if (copy != nullptr && units > 0) Convert(text, copy, units);
        return copy;
    }
}

template <class Ch>
void* HeapCopyInMode(const Ch* text) {
    return WithTextUnit([text](auto unit) -> void* { return HeapCopyAs<decltype(unit)>(text); });
}

// Copies a text of the same encoding, cut to `limit` characters with the terminator.
template <class Ch>
void CopyCut(const Ch* source, Ch* buffer, int32_t limit) {
    int32_t length = 0;
    for (; length < limit - 1 && source[length] != 0; ++length) buffer[length] = source[length];
    buffer[length] = 0;
}

// Copies a stored text (wide or ANSI as `storedWide` says; null is empty) into `buffer`,
// converted to Ch and cut to `limit` characters with the terminator; the copy's length.
template <class Ch>
int32_t CopyOut(const void* stored, bool storedWide, Ch* buffer, int32_t limit) {
    using Other = std::conditional_t<sizeof(Ch) == sizeof(wchar_t), char, wchar_t>;
    const bool converted = storedWide != (sizeof(Ch) == sizeof(wchar_t));
    buffer[0] = 0;
    if (stored == nullptr) return 0;
    if (converted) {
        Convert(static_cast<const Other*>(stored), buffer, limit);
    } else {
        CopyCut(static_cast<const Ch*>(stored), buffer, limit);
    }
    return text::TextLength(buffer);
}

template <class Ch>
int32_t GetTextIn(HWND window, Ch* buffer) {
    if (FindWindowRecord(window) == nullptr) return 0;
    return WindowTextOf(window, buffer, kWindowTextLimit);
}

template <class Ch>
int32_t GetFontNameIn(HWND window, Ch* buffer) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    return CopyOut(SlotAs<const void*>(record->FontName), wideMode != 0, buffer, kFontNameLimit);
}

template <class Ch>
int32_t GetNameIn(HWND window, Ch* buffer) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    // Names are ANSI whatever the text mode.
    return CopyOut(SlotAs<const void*>(record->Name), false, buffer, kNameLimit);
}

template <class Ch>
int32_t SetTextIn(HWND window, const Ch* text) {
    if (FindWindowRecord(window) == nullptr) return 0;
    void* copy = HeapCopyInMode(text);
    if (copy == nullptr) return 0;
    const LRESULT took = SendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy));
    FreeRuntimeBlock(copy);
    return took != FALSE ? 1 : 0;
}

template <class Ch>
int32_t SetFontNameIn(HWND window, const Ch* name) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    void* copy = HeapCopyInMode(name);
    if (copy == nullptr) return 0;
    FreeRuntimeBlock(SlotAs<void*>(record->FontName));
    record->FontName = ToSlot(copy);
    RebuildFont(*record, window);
    return 1;
}

}  // namespace

void* CopyTextInMode(const char* text) { return HeapCopyInMode(text); }
void* CopyTextInMode(const wchar_t* text) { return HeapCopyInMode(text); }

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] int32_t GetText(HWND window, void* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    if (wideMode != 0) return GetTextW(window, static_cast<wchar_t*>(buffer));
    return GetTextA(window, static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t GetTextA(HWND window, char* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    return GetTextIn(window, buffer);
}

[[gnu::noinline]] int32_t GetTextW(HWND window, wchar_t* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    return GetTextIn(window, buffer);
}

[[gnu::noinline]] int32_t GetFontName(HWND window, void* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    if (wideMode != 0) return GetFontNameW(window, static_cast<wchar_t*>(buffer));
    return GetFontNameA(window, static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t GetFontNameA(HWND window, char* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    return GetFontNameIn(window, buffer);
}

[[gnu::noinline]] int32_t GetFontNameW(HWND window, wchar_t* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    return GetFontNameIn(window, buffer);
}

[[gnu::noinline]] int32_t GetName(HWND window, void* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    if (wideMode != 0) return GetNameW(window, static_cast<wchar_t*>(buffer));
    return GetNameA(window, static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t GetNameA(HWND window, char* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    return GetNameIn(window, buffer);
}

[[gnu::noinline]] int32_t GetNameW(HWND window, wchar_t* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    return GetNameIn(window, buffer);
}

[[gnu::noinline]] int32_t SetText(HWND window, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return SetTextW(window, static_cast<const wchar_t*>(text));
    return SetTextA(window, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t SetTextA(HWND window, const char* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    return SetTextIn(window, text);
}

[[gnu::noinline]] int32_t SetTextW(HWND window, const wchar_t* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    return SetTextIn(window, text);
}

[[gnu::noinline]] int32_t SetFontName(HWND window, const void* name) {
    CheckPointer(name, 0, __builtin_return_address(0));
    if (wideMode != 0) return SetFontNameW(window, static_cast<const wchar_t*>(name));
    return SetFontNameA(window, static_cast<const char*>(name));
}

[[gnu::noinline]] int32_t SetFontNameA(HWND window, const char* name) {
    CheckPointer(name, 0, __builtin_return_address(0));
    return SetFontNameIn(window, name);
}

[[gnu::noinline]] int32_t SetFontNameW(HWND window, const wchar_t* name) {
    CheckPointer(name, 0, __builtin_return_address(0));
    return SetFontNameIn(window, name);
}

}  // namespace runtime
