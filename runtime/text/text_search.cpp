#include "runtime/text/text_search.h"

#include "runtime/text/pointer_check.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

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

// The body of an A or W member: checks the text (for writing when the helper changes it in
// place) with the member's own call site, then runs the helper.
template <class Ch, class... Args>
int32_t Checked(int32_t forWrite, int32_t (*helper)(Ch*, Args...), Ch* text, const void* site,
                Args... args) {
    CheckPointer(text, forWrite, site);
    return helper(text, args...);
}

template <class Ch>
int32_t CheckedStrip(const Ch* source, Ch* destination, int32_t keep, const void* site) {
    CheckPointer(source, 0, site);
    CheckPointer(destination, 1, site);
    return text::StripMnemonic(source, destination, keep);
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
    return Checked(0, text::FindLastChar<const char>, text, __builtin_return_address(0), character);
}

[[gnu::noinline]] int32_t FindLastCharW(const wchar_t* text, uint32_t character) {
    return Checked(0, text::FindLastChar<const wchar_t>, text, __builtin_return_address(0), character);
}

[[gnu::noinline]] int32_t TrimLeft(void* text) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TrimLeftW(InMode<wchar_t>(text));
    return TrimLeftA(InMode<char>(text));
}

[[gnu::noinline]] int32_t TrimLeftA(char* text) {
    return Checked(1, text::TrimLeft<char>, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimLeftW(wchar_t* text) {
    return Checked(1, text::TrimLeft<wchar_t>, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimRight(void* text) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TrimRightW(InMode<wchar_t>(text));
    return TrimRightA(InMode<char>(text));
}

[[gnu::noinline]] int32_t TrimRightA(char* text) {
    return Checked(1, text::TrimRight<char>, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimRightW(wchar_t* text) {
    return Checked(1, text::TrimRight<wchar_t>, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t Trim(void* text) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TrimW(InMode<wchar_t>(text));
    return TrimA(InMode<char>(text));
}

[[gnu::noinline]] int32_t TrimA(char* text) {
    return Checked(1, text::Trim<char>, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t TrimW(wchar_t* text) {
    return Checked(1, text::Trim<wchar_t>, text, __builtin_return_address(0));
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
    return Checked(0, text::MatchMnemonic<const char>, text, __builtin_return_address(0), key);
}

[[gnu::noinline]] int32_t MatchMnemonicW(const wchar_t* text, uint32_t key) {
    return Checked(0, text::MatchMnemonic<const wchar_t>, text, __builtin_return_address(0), key);
}

}  // namespace runtime
