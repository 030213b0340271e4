#include "runtime/paint/theme_support.h"

#include "runtime/paint/paint_geometry.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"

namespace runtime {

HMODULE themeLibrary = nullptr;
FARPROC openThemeData = nullptr;
FARPROC isThemeBackgroundPartiallyTransparent = nullptr;
FARPROC drawThemeParentBackground = nullptr;
FARPROC drawThemeBackground = nullptr;
FARPROC closeThemeData = nullptr;

namespace {

// The library's entries as it exports them. A theme handle is an opaque pointer.
using ThemeHandle = HANDLE;
using IsThemeActiveEntry = BOOL(WINAPI*)();
using OpenThemeDataEntry = ThemeHandle(WINAPI*)(HWND, const wchar_t*);
using IsPartiallyTransparentEntry = BOOL(WINAPI*)(ThemeHandle, int, int);
using DrawParentBackgroundEntry = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
using DrawBackgroundEntry = HRESULT(WINAPI*)(ThemeHandle, HDC, int, int, const RECT*, const RECT*);
using CloseThemeDataEntry = HRESULT(WINAPI*)(ThemeHandle);

// An entry looked up by name has the type the library exports it with; the cast through void*
// only restores it.
template <class Entry>
Entry As(FARPROC entry) {
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(entry));
}

constexpr int kPushButtonPart = 1;  // BP_PUSHBUTTON

// The class whose theme a push button is drawn with; wide whatever the text mode.
constexpr wchar_t kButtonClass[] = L"BUTTON";

}  // namespace

void LoadThemeSupport() {
    UnloadThemeSupport();
    themeLibrary = LoadLibraryInMode("UXTHEME.DLL");
    if (themeLibrary == nullptr) return;
    const auto isThemeActive = As<IsThemeActiveEntry>(GetProcAddress(themeLibrary, "IsThemeActive"));
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

bool ThemesInUse() { return themeLibrary != nullptr && manifestPresent != 0; }

int32_t ThemedButtonState(UINT itemState, const RuntimeRecord& button, bool hot) {
    return ChooseButtonState((itemState & ODS_SELECTED) != 0, (itemState & ODS_DISABLED) != 0,
                             (itemState & ODS_FOCUS) != 0, button.IsDefault != 0, button.Enabled != 0, hot);
}

bool DrawThemedButtonFace(const DRAWITEMSTRUCT& item, const RuntimeRecord& button) {
    if (!ThemesInUse()) return false;
    HWND window = WindowOf(button);
    ThemeHandle theme = As<OpenThemeDataEntry>(openThemeData)(window, kButtonClass);
    if (theme == nullptr) return false;
    const int32_t state = ThemedButtonState(item.itemState, button, hotButton != nullptr && hotButton == window);
    if (isThemeBackgroundPartiallyTransparent != nullptr && drawThemeParentBackground != nullptr &&
        As<IsPartiallyTransparentEntry>(isThemeBackgroundPartiallyTransparent)(theme, kPushButtonPart, state)) {
        As<DrawParentBackgroundEntry>(drawThemeParentBackground)(window, item.hDC, &item.rcItem);
    }
    As<DrawBackgroundEntry>(drawThemeBackground)(theme, item.hDC, kPushButtonPart, state, &item.rcItem, nullptr);
    As<CloseThemeDataEntry>(closeThemeData)(theme);
    return true;
}

}  // namespace runtime
