#pragma once
// Searching, trimming and mnemonics in texts of the runtime's text mode: each helper as an
// ANSI member (A), a wide member (W) and a public entry that checks its pointer arguments and
// calls the member chosen by `wideMode`. The rules are those of runtime/text/text_core.h.

#include <cstdint>

namespace runtime {

// Index of the first occurrence of the character (a 16-bit value; its low byte in ANSI mode),
// or -1; searching for NUL gives the length. The ANSI member checks its pointer only while
// `reportPending` is set.
int32_t FindChar(const void* text, uint32_t character);
int32_t FindCharA(const char* text, uint32_t character);
int32_t FindCharW(const wchar_t* text, uint32_t character);

// Index of the last occurrence, or -1; the terminator is never found.
int32_t FindLastChar(const void* text, uint32_t character);
int32_t FindLastCharA(const char* text, uint32_t character);
int32_t FindLastCharW(const wchar_t* text, uint32_t character);

// Remove leading / trailing / both blanks and tabs in place; return the new length.
int32_t TrimLeft(void* text);
int32_t TrimLeftA(char* text);
int32_t TrimLeftW(wchar_t* text);
int32_t TrimRight(void* text);
int32_t TrimRightA(char* text);
int32_t TrimRightW(wchar_t* text);
int32_t Trim(void* text);
int32_t TrimA(char* text);
int32_t TrimW(wchar_t* text);

// Copies the source leaving out every '&' unless `keep` is non-zero; returns the copy's length.
int32_t StripMnemonic(const void* source, void* destination, int32_t keep);
int32_t StripMnemonicA(const char* source, char* destination, int32_t keep);
int32_t StripMnemonicW(const wchar_t* source, wchar_t* destination, int32_t keep);

// 1 when the character after the first '&' is the key (or, for a lower-case key, its
// upper-case letter), else 0.
int32_t MatchMnemonic(const void* text, uint32_t key);
int32_t MatchMnemonicA(const char* text, uint32_t key);
int32_t MatchMnemonicW(const wchar_t* text, uint32_t key);

}  // namespace runtime
