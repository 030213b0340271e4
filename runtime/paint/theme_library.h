#pragma once
// The visual-styles library, loaded at run time when the system has it: its handle and the
// entries the themed painting of owner-drawn buttons needs. Without the library, or with the
// classic style selected, everything is drawn classic.

#include <windows.h>

namespace runtime {

// "UXTHEME.DLL" while themes are active and its three required entries were found; else null.
extern HMODULE themeLibrary;

// The entries, null while the library is not loaded. OpenThemeData, DrawThemeBackground and
// CloseThemeData are required; the other two are optional.
extern FARPROC openThemeData;
extern FARPROC isThemeBackgroundPartiallyTransparent;
extern FARPROC drawThemeParentBackground;
extern FARPROC drawThemeBackground;
extern FARPROC closeThemeData;

// Unloads the library when it is loaded, then loads it again: it stays loaded only when
// IsThemeActive answers non-zero and the required entries exist.
void LoadThemeSupport();

// Frees the library and clears its handle and entries; nothing when it is not loaded.
void UnloadThemeSupport();

}  // namespace runtime
