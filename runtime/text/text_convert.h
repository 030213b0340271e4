#pragma once
// Converting, copying and measuring texts. AnsiToWide and WideToAnsi go through the system
// code page. The other helpers come as an ANSI member (A), a wide member (W) and a public
// entry that checks its pointer arguments and calls the member chosen by `wideMode`; "in mode"
// means the encoding that `wideMode` chooses.

#include <cstdint>

namespace runtime {

// Limit of CopyAnsiText in wide mode, in wide characters (terminator included).
constexpr int32_t kAnsiCopyLimit = 260;

// Converts an ANSI text, terminator included, into at most `size` wide characters; returns the
// characters written with the terminator. When the text does not fit, the longest leading part
// that fits is written, terminated, and the result is 0 (as for any failure).
int32_t AnsiToWide(const char* source, wchar_t* destination, int32_t size);

// Converts a wide text, terminator included, into at most `size` ANSI bytes (no default
// character); returns the bytes written with the terminator. A text that does not fit is cut
// and terminated as by AnsiToWide, and the result is 0.
int32_t WideToAnsi(const wchar_t* source, char* destination, int32_t size);

// Copies an ANSI text into a destination in mode (wide: converted, at most kAnsiCopyLimit
// characters). A null source returns null and leaves the destination alone; otherwise returns
// the destination.
void* CopyAnsiText(const char* source, void* destination);
char* CopyAnsiTextA(const char* source, char* destination);
wchar_t* CopyAnsiTextW(const char* source, wchar_t* destination);

// Copies a text in mode; returns the length of the copy in characters.
int32_t CopyText(void* destination, const void* source);
int32_t CopyTextA(char* destination, const char* source);
int32_t CopyTextW(wchar_t* destination, const wchar_t* source);

// Copies a text in mode; returns the destination.
void* CopyTextTo(void* destination, const void* source);
char* CopyTextToA(char* destination, const char* source);
wchar_t* CopyTextToW(wchar_t* destination, const wchar_t* source);

// Length of a text in mode in characters; 0 for null.
int32_t TextLength(const void* text);
int32_t TextLengthA(const char* text);
int32_t TextLengthW(const wchar_t* text);

}  // namespace runtime
