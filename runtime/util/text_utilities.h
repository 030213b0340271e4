#pragma once
// The text and number utilities offered to applications. Each is an ANSI member (A), a wide
// member (W) and a public entry that checks its pointer arguments and calls the member chosen
// by the text mode; the rules are those of runtime/util/text_cuts.h and
// runtime/util/number_parse.h. The other utilities of this kind are the runtime's own text
// entries: FindChar, FindLastChar, TrimLeft, TrimRight, Trim (runtime/text/text_search.h) and
// FormatNumber (runtime/text/number_text.h).

#include <cstdint>

#include "runtime/text/text_convert.h"

namespace runtime {

// The length of a text in characters, 0 for null: TextLength under the name applications know
// it by (the same entries, so the call site on record stays the caller's).
inline constexpr auto& TextLen = TextLength;
inline constexpr auto& TextLenA = TextLengthA;
inline constexpr auto& TextLenW = TextLengthW;

// Cut the text in place (each writes only at or before the text's terminator). 1 when done; 0,
// with the text unchanged, when the count does not fit the text:
//  TextLeft keeps the first `count` characters (0 when the text is shorter);
//  TextRight keeps the last `count`, moved to the start (0 when the text is shorter);
//  TextMid keeps `count` from `start`, or what there is up to the end (0 when `start` is
//  negative or not below the length, or `count` is negative).
int32_t TextLeft(void* text, int32_t count);
int32_t TextLeftA(char* text, int32_t count);
int32_t TextLeftW(wchar_t* text, int32_t count);
int32_t TextRight(void* text, int32_t count);
int32_t TextRightA(char* text, int32_t count);
int32_t TextRightW(wchar_t* text, int32_t count);
int32_t TextMid(void* text, int32_t start, int32_t count);
int32_t TextMidA(char* text, int32_t start, int32_t count);
int32_t TextMidW(wchar_t* text, int32_t start, int32_t count);

// The number a text writes: decimal, "0x" hexadecimal, or by its letter H, O, Q, B, Y
// ("1F4H" 500, "17O" 15, "101B" 5); 0 for an empty text.
int32_t ParseNumber(const void* text);
int32_t ParseNumberA(const char* text);
int32_t ParseNumberW(const wchar_t* text);

}  // namespace runtime
