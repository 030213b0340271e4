#pragma once
// Registry strings. Each function is an ANSI member (A), a wide member (W) and a public entry
// that checks its text and buffer arguments (a null one where the function allows it is not
// touched) and calls the member chosen by the text mode. The root must be one of the system's
// predefined keys (HKEY_CLASSES_ROOT to HKEY_DYN_DATA); any other root gives 0 before the
// registry is asked anything. Results: 1 done, 0 not.

#include <windows.h>

#include <cstdint>

namespace runtime {

// The room GetRegString fills, in characters with the terminator (260 bytes for A, 520 for W).
constexpr int32_t kRegTextLimit = 260;

// True for the predefined roots 0x80000000 to 0x80000006.
bool IsPredefinedRoot(HKEY root);

// Reads the text value `valueName` (null: the key's default value) of root\subkey into
// `buffer`. The text must fit kRegTextLimit characters with its terminator and be of a text
// type (REG_SZ, REG_EXPAND_SZ); otherwise the result is 0 and the buffer is left as it was.
// With a null buffer: 1 when the value exists, of whatever type.
int32_t GetRegString(HKEY root, const void* subkey, const void* valueName, void* buffer);
int32_t GetRegStringA(HKEY root, const char* subkey, const char* valueName, char* buffer);
int32_t GetRegStringW(HKEY root, const wchar_t* subkey, const wchar_t* valueName, wchar_t* buffer);

// Writes `text` with its terminator as the REG_SZ value `valueName` (null: the default value)
// of root\subkey, creating the key (non-volatile) when it is missing. An empty or null subkey
// gives 0.
int32_t SetRegString(HKEY root, const void* subkey, const void* valueName, const void* text);
int32_t SetRegStringA(HKEY root, const char* subkey, const char* valueName, const char* text);
int32_t SetRegStringW(HKEY root, const wchar_t* subkey, const wchar_t* valueName, const wchar_t* text);

// Deletes the value `valueName` (null: the default value) of root\subkey.
int32_t DeleteRegValue(HKEY root, const void* subkey, const void* valueName);
int32_t DeleteRegValueA(HKEY root, const char* subkey, const char* valueName);
int32_t DeleteRegValueW(HKEY root, const wchar_t* subkey, const wchar_t* valueName);

// Deletes root\subkey with all its subkeys, the deepest first. An empty or null subkey gives 0:
// it would name the root itself, whose whole tree is not this function's to delete.
int32_t DeleteRegKey(HKEY root, const void* subkey);
int32_t DeleteRegKeyA(HKEY root, const char* subkey);
int32_t DeleteRegKeyW(HKEY root, const wchar_t* subkey);

}  // namespace runtime
