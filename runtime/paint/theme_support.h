#pragma once
// The visual-styles library, loaded at run time when the system has it: its handle and the
// entries the themed painting of owner-drawn buttons needs. Without the library, with the
// classic style selected or in a program without a manifest, everything is drawn classic.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

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

// Themes are used for a drawing exactly while the library is loaded and the program has its
// manifest; asked again at every drawing, so a theme change switches buttons at once.
bool ThemesInUse();

// The push-button state of the themed face (PBS_...): pressed, else defaulted (focused, or
// the enabled default button), else normal; a button that is not pressed and is `hot` shows
// hot, so a hot default button shows hot.
int32_t ThemedButtonState(UINT itemState, const RuntimeRecord& button, bool hot);

// Paints the themed face of an owner-drawn push button into the block's device context and
// returns true; false when themes are not in use or the theme cannot be opened (the caller
// then paints the classic face). The hot state is that of `hotButton` (window_painting.h).
bool DrawThemedButtonFace(const DRAWITEMSTRUCT& item, const RuntimeRecord& button);

}  // namespace runtime
