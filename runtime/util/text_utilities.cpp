#include "runtime/util/text_utilities.h"

#include "runtime/text/pointer_check.h"
#include "runtime/text/text_mode.h"
#include "runtime/util/number_parse.h"
#include "runtime/util/text_cuts.h"

namespace runtime {

namespace {

// The body of an A or W member: checks the text with the member's own call site (for writing
// when the utility changes it in place), then runs the utility.
template <class Ch, class... Args>
int32_t Checked(int32_t forWrite, int32_t (*utility)(Ch*, Args...), Ch* text, const void* site, Args... args) {
    CheckPointer(text, forWrite, site);
    return utility(text, args...);
}

}  // namespace

// Every public function below takes its own return address as the call site of its checks.

[[gnu::noinline]] int32_t TextLeft(void* text, int32_t count) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TextLeftW(static_cast<wchar_t*>(text), count);
    return TextLeftA(static_cast<char*>(text), count);
}

[[gnu::noinline]] int32_t TextLeftA(char* text, int32_t count) {
    return Checked(1, util::TextLeft<char>, text, __builtin_return_address(0), count);
}

[[gnu::noinline]] int32_t TextLeftW(wchar_t* text, int32_t count) {
    return Checked(1, util::TextLeft<wchar_t>, text, __builtin_return_address(0), count);
}

[[gnu::noinline]] int32_t TextRight(void* text, int32_t count) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TextRightW(static_cast<wchar_t*>(text), count);
    return TextRightA(static_cast<char*>(text), count);
}

[[gnu::noinline]] int32_t TextRightA(char* text, int32_t count) {
    return Checked(1, util::TextRight<char>, text, __builtin_return_address(0), count);
}

[[gnu::noinline]] int32_t TextRightW(wchar_t* text, int32_t count) {
    return Checked(1, util::TextRight<wchar_t>, text, __builtin_return_address(0), count);
}

[[gnu::noinline]] int32_t TextMid(void* text, int32_t start, int32_t count) {
    CheckPointer(text, 1, __builtin_return_address(0));
    if (wideMode != 0) return TextMidW(static_cast<wchar_t*>(text), start, count);
    return TextMidA(static_cast<char*>(text), start, count);
}

[[gnu::noinline]] int32_t TextMidA(char* text, int32_t start, int32_t count) {
    return Checked(1, util::TextMid<char>, text, __builtin_return_address(0), start, count);
}

[[gnu::noinline]] int32_t TextMidW(wchar_t* text, int32_t start, int32_t count) {
    return Checked(1, util::TextMid<wchar_t>, text, __builtin_return_address(0), start, count);
}

[[gnu::noinline]] int32_t ParseNumber(const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return ParseNumberW(static_cast<const wchar_t*>(text));
    return ParseNumberA(static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t ParseNumberA(const char* text) {
    return Checked(0, util::ParseNumber<const char>, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ParseNumberW(const wchar_t* text) {
    return Checked(0, util::ParseNumber<const wchar_t>, text, __builtin_return_address(0));
}

}  // namespace runtime
