#pragma once
// Line-oriented text files on system file handles: bytes in ANSI files, 16-bit units in wide
// ones. Each text function is an ANSI member (A), a wide member (W) and a public entry that
// checks its text or buffer and calls the member chosen by the text mode. Lines end in carriage
// return and line feed; the rules are those of runtime/util/line_split.h.

#include <windows.h>

#include <cstdint>

namespace runtime {

// The room ReadLine fills, in characters with the terminator: a line of up to
// kLineLimit - 1 characters comes whole.
constexpr int32_t kLineLimit = 1024;

// ReadLine's answer when the file is at its end (or cannot be read) before the call.
constexpr int32_t kNoMoreLines = -1;

// CreateFile (name, access, no sharing, no security, the creation disposition, no flags, no
// template): the file's handle, or INVALID_HANDLE_VALUE.
HANDLE OpenTextFile(const void* name, uint32_t access, uint32_t disposition);
HANDLE OpenTextFileA(const char* name, uint32_t access, uint32_t disposition);
HANDLE OpenTextFileW(const wchar_t* name, uint32_t access, uint32_t disposition);

// Reads the next line into `buffer` (kLineLimit characters with the terminator) without its
// break, and leaves the file pointer behind the break: a carriage return, a line feed, a
// carriage return with its line feed, or the end of the file. Gives the line's length, or:
//  - kLineLimit when the line is longer than the buffer: the buffer holds its first
//    kLineLimit - 1 characters and the rest stays in the file for the next call, so that no
//    text is lost and the caller can join the pieces;
//  - kNoMoreLines, with the buffer emptied, when nothing is left to read.
// A wide file that ends in half a unit ends with the line before it.
int32_t ReadLine(HANDLE file, void* buffer);
int32_t ReadLineA(HANDLE file, char* buffer);
int32_t ReadLineW(HANDLE file, wchar_t* buffer);

// Writes the text so that it ends in a line break (runtime/util/line_split.h, LineEndFor); the
// caller's text is never changed. 1 when every unit was written, else 0.
int32_t WriteLine(HANDLE file, const void* text);
int32_t WriteLineA(HANDLE file, const char* text);
int32_t WriteLineW(HANDLE file, const wchar_t* text);

// 1 when the file pointer is at or beyond the file's size, else 0; also 1 for a handle whose
// size or position cannot be read, so that a loop reading to the end always ends.
int32_t AtEndOfFile(HANDLE file);

}  // namespace runtime
