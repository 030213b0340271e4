#include "runtime/text_search.h"

#include "runtime/pointer_check.h"
#include "runtime/text_core.h"
#include "runtime/text_mode.h"

namespace runtime {

namespace {

template <class Ch>
const Ch* InMode(const void* text) {
    return static_cast<const Ch*>(text);
}

template <class Ch>
Ch* InMode(void* text) {
    return static_cast<Ch*>(text);
}

// The checked bodies of the A and W members; `site` is the member's own call site.

template <class Ch>
int32_t CheckedFindLast(const Ch* text, uint32_t character, const void* site) {
    CheckPointer(text, 0, site);
    return text::FindLastChar(text, character);
}

template <class Ch>
int32_t CheckedTrimLeft(Ch* text, const void* site) {
    CheckPointer(text, 1, site);
    return text::TrimLeft(text);
}

template <class Ch>
int32_t CheckedTrimRight(Ch* text, const void* site) {
    CheckPointer(text, 1, site);
    return text::TrimRight(text);
}

template <class Ch>
int32_t CheckedTrim(Ch* text, const void* site) {
    CheckPointer(text, 1, site);
    return text::Trim(text);
}

template <class Ch>
int32_t CheckedStrip(const Ch* source, Ch* destination, int32_t keep, const void* site) {
    CheckPointer(source, 0, site);
    CheckPointer(destination, 1, site);
    return text::StripMnemonic(source, destination, keep);
}

template <class Ch>
int32_t CheckedMatch(const Ch* text, uint32_t key, const void* site) {
    CheckPointer(text, 0, site);
    return text::MatchMnemonic(text, key);
}

}  // namespace

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] int32_t FindChar(const void* text, uint32_t character) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return FindCharW(InMode<wchar_t>(text), character);
    return FindCharA(InMode<char>(text), character);
}

[[gnu::noinline]] int32_t FindCharA(const char* text, uint32_t character) {
    // The crash report searches its own texts with this member after clearing reportPending.
    if (reportPending != 0) CheckPointer(text, 0, __builtin_return_address(0));
    return text::FindChar(text, character);
}

[[gnu::noinline]] int32_t FindCharW(const wchar_t* text, uint32_t character) {
    CheckPointer(text, 0, __builtin_return_address(0));
    return text::FindChar(text, character);
}

[[gnu::noinline]] int32_t FindLastChar(const void* text, uint32_t character) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return FindLastCharW(InMode<wchar_t>(text), character);
    return FindLastCharA(InMode<char>(text), character);
}

[[gnu::noinline]] int32_t FindLastCharA(const char* text, uint32_t character) {
    return CheckedFindLast(text, character, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t FindLastCharW(const wchar_t* text, uint32_t character) {
    return CheckedFindLast(text, character, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimLeft(void* text) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TrimLeftW(InMode<wchar_t>(text));
    return TrimLeftA(InMode<char>(text));
}

[[gnu::noinline]] int32_t TrimLeftA(char* text) {
    return CheckedTrimLeft(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimLeftW(wchar_t* text) {
    return CheckedTrimLeft(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimRight(void* text) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TrimRightW(InMode<wchar_t>(text));
    return TrimRightA(InMode<char>(text));
}

[[gnu::noinline]] int32_t TrimRightA(char* text) {
    return CheckedTrimRight(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimRightW(wchar_t* text) {
    return CheckedTrimRight(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t Trim(void* text) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TrimW(InMode<wchar_t>(text));
    return TrimA(InMode<char>(text));
}

[[gnu::noinline]] int32_t TrimA(char* text) {
    return CheckedTrim(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimW(wchar_t* text) {
    return CheckedTrim(text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t StripMnemonic(const void* source, void* destination, int32_t keep) {
    CheckPointer(source, 0, __builtin_return_address(0));
    CheckPointer(destination, 1, __builtin_return_address(0));
    if (wideMode != 0) {
        return StripMnemonicW(InMode<wchar_t>(source), InMode<wchar_t>(destination), keep);
    }
    return StripMnemonicA(InMode<char>(source), InMode<char>(destination), keep);
}

[[gnu::noinline]] int32_t StripMnemonicA(const char* source, char* destination, int32_t keep) {
    return CheckedStrip(source, destination, keep, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t StripMnemonicW(const wchar_t* source, wchar_t* destination,
                                         int32_t keep) {
    return CheckedStrip(source, destination, keep, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t MatchMnemonic(const void* text, uint32_t key) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return MatchMnemonicW(InMode<wchar_t>(text), key);
    return MatchMnemonicA(InMode<char>(text), key);
}

[[gnu::noinline]] int32_t MatchMnemonicA(const char* text, uint32_t key) {
    return CheckedMatch(text, key, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t MatchMnemonicW(const wchar_t* text, uint32_t key) {
    return CheckedMatch(text, key, __builtin_return_address(0));
}

}  // namespace runtime
