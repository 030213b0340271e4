#pragma once
// The texts of runtime windows and their records. Each function is an ANSI member (A), a wide
// member (W) and a public entry that checks its text or buffer argument (CheckPointer) and
// calls the member that the text mode chooses; a member called directly converts between the
// runtime's stored texts and its own encoding. A window that is not a runtime window gives 0
// and leaves the buffer alone.

#include <windows.h>

#include <cstdint>

namespace runtime {

// The room the readers fill, in characters with the terminator.
constexpr int32_t kWindowTextLimit = 256;
constexpr int32_t kFontNameLimit = 130;
constexpr int32_t kNameLimit = 260;

// The window's text (at most kWindowTextLimit characters); its length.
int32_t GetText(HWND window, void* buffer);
int32_t GetTextA(HWND window, char* buffer);
int32_t GetTextW(HWND window, wchar_t* buffer);

// The record's font face name (at most kFontNameLimit characters); its length.
int32_t GetFontName(HWND window, void* buffer);
int32_t GetFontNameA(HWND window, char* buffer);
int32_t GetFontNameW(HWND window, wchar_t* buffer);

// The record's Name as the designer gave it (at most kNameLimit characters); its length.
int32_t GetName(HWND window, void* buffer);
int32_t GetNameA(HWND window, char* buffer);
int32_t GetNameW(HWND window, wchar_t* buffer);

// Sends the window WM_SETTEXT with the text; 1 when the window took it.
int32_t SetText(HWND window, const void* text);
int32_t SetTextA(HWND window, const char* text);
int32_t SetTextW(HWND window, const wchar_t* text);

// Keeps a copy of the face name in the record (the previous one freed) and makes the window's
// font again with it; 1.
int32_t SetFontName(HWND window, const void* name);
int32_t SetFontNameA(HWND window, const char* name);
int32_t SetFontNameW(HWND window, const wchar_t* name);

// A zero-filled runtime-heap copy of a text in the runtime's text mode (length + 2 characters),
// converted from the text's own encoding; null without memory. Free it with FreeRuntimeBlock.
void* CopyTextInMode(const char* text);
void* CopyTextInMode(const wchar_t* text);

}  // namespace runtime
