#include "runtime/paint/theme_support.h"

#include "runtime/process/system_calls.h"

namespace runtime {

HMODULE themeLibrary = nullptr;
FARPROC openThemeData = nullptr;
FARPROC isThemeBackgroundPartiallyTransparent = nullptr;
FARPROC drawThemeParentBackground = nullptr;
FARPROC drawThemeBackground = nullptr;
FARPROC closeThemeData = nullptr;

void LoadThemeSupport() {
    UnloadThemeSupport();
    themeLibrary = LoadLibraryInMode("UXTHEME.DLL");
    if (themeLibrary == nullptr) return;
    using IsThemeActiveEntry = BOOL(WINAPI*)();
    // The entry is looked up by name; its declared type is the one the library exports.
    const auto isThemeActive = reinterpret_cast<IsThemeActiveEntry>(
        reinterpret_cast<void*>(GetProcAddress(themeLibrary, "IsThemeActive")));
    if (isThemeActive == nullptr || isThemeActive() == 0) {
        UnloadThemeSupport();
        return;
    }
    openThemeData = GetProcAddress(themeLibrary, "OpenThemeData");
    isThemeBackgroundPartiallyTransparent = GetProcAddress(themeLibrary, "IsThemeBackgroundPartiallyTransparent");
    drawThemeParentBackground = GetProcAddress(themeLibrary, "DrawThemeParentBackground");
    drawThemeBackground = GetProcAddress(themeLibrary, "DrawThemeBackground");
    closeThemeData = GetProcAddress(themeLibrary, "CloseThemeData");
    if (openThemeData == nullptr || drawThemeBackground == nullptr || closeThemeData == nullptr) UnloadThemeSupport();
}

void UnloadThemeSupport() {
    if (themeLibrary == nullptr) return;
    FreeLibrary(themeLibrary);
    themeLibrary = nullptr;
    openThemeData = nullptr;
    isThemeBackgroundPartiallyTransparent = nullptr;
    drawThemeParentBackground = nullptr;
    drawThemeBackground = nullptr;
    closeThemeData = nullptr;
}

}  // namespace runtime
