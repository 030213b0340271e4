#pragma once
// Opening a hyperlink label's link with the shell. "shell32.dll" is loaded for the occasion and
// ShellExecuteA or ShellExecuteW (by the text mode) looked up in it; when either is missing the
// link is quietly not opened.

#include <windows.h>

namespace runtime {

// How an entry of a loaded library is found (GetProcAddress). Tests put their own in place to
// stand in for the shell's entry; null puts GetProcAddress back. Returns the one in use before.
using FindLibraryEntry = FARPROC(WINAPI*)(HMODULE library, LPCSTR name);
FindLibraryEntry SetShellEntryFinder(FindLibraryEntry finder);

// Opens `link` (a text in the mode) with the shell's default action, `owner` being the parent
// of any window the shell shows. The shell's answer is not looked at.
void OpenLinkWithShell(HWND owner, const void* link);

}  // namespace runtime
