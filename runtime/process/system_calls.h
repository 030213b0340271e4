#pragma once
// The system functions that come in ANSI and wide forms, as the runtime calls them. This is the
// one place where the runtime chooses between the two forms:
//  - "in the mode" functions take their texts as `const void*` in the runtime's text mode and
//    call the form that `wideMode` chooses;
//  - "by unit" overloads take char or wchar_t texts and call the matching form, for the bodies
//    written once as templates over the text unit (see WithTextUnit, runtime/text/text_mode.h).
// (Named apart from the system's own A/W macros.)

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <type_traits>

#include "runtime/text/text_mode.h"

namespace runtime {

// Windows and messages, in the mode.

inline LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefWindowProcW(window, message, wParam, lParam)
                         : DefWindowProcA(window, message, wParam, lParam);
}

inline LRESULT DefaultFrameProc(HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefFrameProcW(window, client, message, wParam, lParam)
                         : DefFrameProcA(window, client, message, wParam, lParam);
}

inline LRESULT DefaultMdiChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? DefMDIChildProcW(window, message, wParam, lParam)
                         : DefMDIChildProcA(window, message, wParam, lParam);
}

// The system's default window procedure of the mode, as a procedure address.
inline WNDPROC DefaultWindowProcAddress() { return wideMode != 0 ? &DefWindowProcW : &DefWindowProcA; }

inline LRESULT CallProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? CallWindowProcW(procedure, window, message, wParam, lParam)
                         : CallWindowProcA(procedure, window, message, wParam, lParam);
}

inline LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? SendMessageW(window, message, wParam, lParam)
                         : SendMessageA(window, message, wParam, lParam);
}

inline BOOL PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return wideMode != 0 ? PostMessageW(window, message, wParam, lParam)
                         : PostMessageA(window, message, wParam, lParam);
}

// Sent in the window's own text mode, which need not be the runtime's (a window the runtime did
// not make).
inline LRESULT SendInItsOwnMode(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindowUnicode(window) ? SendMessageW(window, message, wParam, lParam)
                                   : SendMessageA(window, message, wParam, lParam);
}

// Of a pair of message numbers (the control messages that carry texts), the one of the mode.
inline UINT MessageInMode(UINT ansi, UINT wide) { return wideMode != 0 ? wide : ansi; }

inline LONG_PTR GetWindowValue(HWND window, int index) {
    return wideMode != 0 ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

inline LONG_PTR SetWindowValue(HWND window, int index, LONG_PTR value) {
    return wideMode != 0 ? SetWindowLongPtrW(window, index, value)
                         : SetWindowLongPtrA(window, index, value);
}

inline ULONG_PTR GetClassValue(HWND window, int index) {
    return wideMode != 0 ? GetClassLongPtrW(window, index) : GetClassLongPtrA(window, index);
}

inline ULONG_PTR SetClassValue(HWND window, int index, LONG_PTR value) {
    return wideMode != 0 ? SetClassLongPtrW(window, index, value)
                         : SetClassLongPtrA(window, index, value);
}

// A window procedure kept in a 32-bit slot or in a window's user data.
inline WNDPROC AsWindowProc(LONG_PTR value) {
    // Slots and user data hold the procedure's address as an integer; on the 32-bit target
    // the round trip through LONG_PTR is exact.
    return reinterpret_cast<WNDPROC>(value);
}

inline LONG_PTR FromWindowProc(WNDPROC procedure) { return reinterpret_cast<LONG_PTR>(procedure); }

// Creates a window; `className` and `text` (which may be null) are texts in the mode.
inline HWND CreateWindowInMode(DWORD exStyle, const void* className, const void* text, DWORD style, int left,
                               int top, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                               void* parameter) {
    if (wideMode != 0) {
        return CreateWindowExW(exStyle, static_cast<const wchar_t*>(className), static_cast<const wchar_t*>(text),
                               style, left, top, width, height, parent, menuOrId, instance, parameter);
    }
    return CreateWindowExA(exStyle, static_cast<const char*>(className), static_cast<const char*>(text), style,
                           left, top, width, height, parent, menuOrId, instance, parameter);
}

// A modeless dialog from the dialog resource `id`.
inline HWND CreateDialogInMode(HINSTANCE instance, uint32_t id, HWND parent, DLGPROC procedure, LPARAM argument) {
    const auto name = static_cast<uintptr_t>(id);
    return wideMode != 0 ? CreateDialogParamW(instance, MAKEINTRESOURCEW(name), parent, procedure, argument)
                         : CreateDialogParamA(instance, MAKEINTRESOURCEA(name), parent, procedure, argument);
}

// The thread's message queue, in the mode.

inline BOOL GetThreadMessage(MSG* message) {
    return wideMode != 0 ? GetMessageW(message, nullptr, 0, 0) : GetMessageA(message, nullptr, 0, 0);
}

inline BOOL PeekThreadMessage(MSG* message) {
    return wideMode != 0 ? PeekMessageW(message, nullptr, 0, 0, PM_REMOVE)
                         : PeekMessageA(message, nullptr, 0, 0, PM_REMOVE);
}

inline LRESULT DispatchThreadMessage(const MSG* message) {
    return wideMode != 0 ? DispatchMessageW(message) : DispatchMessageA(message);
}

inline int TranslateAccelerators(HWND window, HACCEL table, MSG* message) {
    return wideMode != 0 ? TranslateAcceleratorW(window, table, message)
                         : TranslateAcceleratorA(window, table, message);
}

// Resources and libraries, in the mode.

inline HACCEL LoadAcceleratorTable(HINSTANCE instance, uint32_t id) {
    const auto name = static_cast<uintptr_t>(id);
    return wideMode != 0 ? LoadAcceleratorsW(instance, MAKEINTRESOURCEW(name))
                         : LoadAcceleratorsA(instance, MAKEINTRESOURCEA(name));
}

inline HMENU LoadMenuResource(HINSTANCE instance, uint32_t id) {
    const auto name = static_cast<uintptr_t>(id);
    return wideMode != 0 ? LoadMenuW(instance, MAKEINTRESOURCEW(name)) : LoadMenuA(instance, MAKEINTRESOURCEA(name));
}

// An image (IMAGE_BITMAP, IMAGE_ICON, IMAGE_CURSOR) by its resource identifier; `instance` null
// for the system's own images.
inline HANDLE LoadImageResource(HINSTANCE instance, uint32_t id, UINT type, int width, int height, UINT flags) {
    const auto name = static_cast<uintptr_t>(id);
    return wideMode != 0 ? LoadImageW(instance, MAKEINTRESOURCEW(name), type, width, height, flags)
                         : LoadImageA(instance, MAKEINTRESOURCEA(name), type, width, height, flags);
}

// An image list from the bitmap resource `id`.
inline HIMAGELIST LoadImageListResource(HINSTANCE instance, uint32_t id, int width, int grow, COLORREF mask,
                                        UINT flags) {
    const auto name = static_cast<uintptr_t>(id);
    return wideMode != 0 ? ImageList_LoadImageW(instance, MAKEINTRESOURCEW(name), width, grow, mask, IMAGE_BITMAP, flags)
                         : ImageList_LoadImageA(instance, MAKEINTRESOURCEA(name), width, grow, mask, IMAGE_BITMAP, flags);
}

inline bool HasResource(HINSTANCE instance, uint32_t id, uint32_t type) {
    const auto name = static_cast<uintptr_t>(id);
    const auto kind = static_cast<uintptr_t>(type);
    return (wideMode != 0 ? FindResourceW(instance, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(kind))
                          : FindResourceA(instance, MAKEINTRESOURCEA(name), MAKEINTRESOURCEA(kind))) != nullptr;
}

// Loads a library by its ANSI name (converted for the wide form).
inline HMODULE LoadLibraryInMode(const char* name) {
    if (wideMode == 0) return LoadLibraryA(name);
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH);
    return LoadLibraryW(wide);
}

// Of the two entries of a library named `ansi` and `wide`, the name of the mode's.
inline const char* EntryNameInMode(const char* ansi, const char* wide) { return wideMode != 0 ? wide : ansi; }

inline BOOL SystemParameter(UINT action, UINT parameter, void* value) {
    return wideMode != 0 ? SystemParametersInfoW(action, parameter, value, 0)
                         : SystemParametersInfoA(action, parameter, value, 0);
}

// A font with the face name (a text in the mode); the other arguments as CreateFont's.
inline HFONT CreateFontInMode(int height, int weight, DWORD italic, DWORD underline, DWORD strikeout,
                              const void* faceName) {
    if (wideMode != 0) {
        return CreateFontW(height, 0, 0, 0, weight, italic, underline, strikeout, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, static_cast<const wchar_t*>(faceName));
    }
    return CreateFontA(height, 0, 0, 0, weight, italic, underline, strikeout, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, static_cast<const char*>(faceName));
}

// By unit: the forms that take or give texts of the unit.

inline const char* CommandLineOf(char) { return GetCommandLineA(); }
inline const wchar_t* CommandLineOf(wchar_t) { return GetCommandLineW(); }

inline DWORD ModuleFileName(HINSTANCE instance, char* name, DWORD size) { return GetModuleFileNameA(instance, name, size); }
inline DWORD ModuleFileName(HINSTANCE instance, wchar_t* name, DWORD size) {
    return GetModuleFileNameW(instance, name, size);
}

inline int LoadStringOf(HINSTANCE instance, UINT id, char* buffer, int size) {
    return LoadStringA(instance, id, buffer, size);
}
inline int LoadStringOf(HINSTANCE instance, UINT id, wchar_t* buffer, int size) {
    return LoadStringW(instance, id, buffer, size);
}

// A window class's description by the unit of its texts.
template <class Ch>
using WindowClassOf = std::conditional_t<sizeof(Ch) == 1, WNDCLASSEXA, WNDCLASSEXW>;

inline ATOM RegisterClassOf(const WNDCLASSEXA& description) { return RegisterClassExA(&description); }
inline ATOM RegisterClassOf(const WNDCLASSEXW& description) { return RegisterClassExW(&description); }
inline BOOL ClassInfoOf(HINSTANCE instance, const char* name, WNDCLASSEXA* description) {
    return GetClassInfoExA(instance, name, description);
}
inline BOOL ClassInfoOf(HINSTANCE instance, const wchar_t* name, WNDCLASSEXW* description) {
    return GetClassInfoExW(instance, name, description);
}
inline BOOL UnregisterClassOf(const char* name, HINSTANCE instance) { return UnregisterClassA(name, instance); }
inline BOOL UnregisterClassOf(const wchar_t* name, HINSTANCE instance) { return UnregisterClassW(name, instance); }

inline int ClassNameOf(HWND window, char* name, int size) { return GetClassNameA(window, name, size); }
inline int ClassNameOf(HWND window, wchar_t* name, int size) { return GetClassNameW(window, name, size); }

inline int WindowTextLengthOf(HWND window, char) { return GetWindowTextLengthA(window); }
inline int WindowTextLengthOf(HWND window, wchar_t) { return GetWindowTextLengthW(window); }
inline int WindowTextOf(HWND window, char* buffer, int size) { return GetWindowTextA(window, buffer, size); }
inline int WindowTextOf(HWND window, wchar_t* buffer, int size) { return GetWindowTextW(window, buffer, size); }

inline BOOL TextExtentOf(HDC device, const char* text, int length, SIZE* size) {
    return GetTextExtentPoint32A(device, text, length, size);
}
inline BOOL TextExtentOf(HDC device, const wchar_t* text, int length, SIZE* size) {
    return GetTextExtentPoint32W(device, text, length, size);
}

// The height of a line of text in the device's font; 0 when it cannot be had.
inline LONG LineHeightOf(HDC device, char) {
    TEXTMETRICA metrics{};
    return GetTextMetricsA(device, &metrics) ? metrics.tmHeight : 0;
}
inline LONG LineHeightOf(HDC device, wchar_t) {
    TEXTMETRICW metrics{};
    return GetTextMetricsW(device, &metrics) ? metrics.tmHeight : 0;
}

inline int DrawTextOf(HDC device, const char* text, RECT* rectangle, UINT format) {
    return DrawTextA(device, text, -1, rectangle, format);
}
inline int DrawTextOf(HDC device, const wchar_t* text, RECT* rectangle, UINT format) {
    return DrawTextW(device, text, -1, rectangle, format);
}

// A caption drawn by DrawState (DST_TEXT or DST_PREFIXTEXT with its state flags) at (x, y).
inline BOOL DrawStateTextOf(HDC device, const char* text, int length, int x, int y, UINT flags) {
    return DrawStateA(device, nullptr, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length), x, y, 0,
                      0, flags);
}
inline BOOL DrawStateTextOf(HDC device, const wchar_t* text, int length, int x, int y, UINT flags) {
    return DrawStateW(device, nullptr, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length), x, y, 0,
                      0, flags);
}

// A picture (DST_BITMAP or DST_ICON with its state flags) drawn by DrawState at (x, y) in its
// own size, in the mode.
inline BOOL DrawStatePicture(HDC device, HANDLE picture, int x, int y, UINT flags) {
    const auto data = reinterpret_cast<LPARAM>(picture);  // DrawState takes the handle as its data
    return wideMode != 0 ? DrawStateW(device, nullptr, nullptr, data, 0, x, y, 0, 0, flags)
                         : DrawStateA(device, nullptr, nullptr, data, 0, x, y, 0, 0, flags);
}

// Whether `window`'s class is the one named `ansi` in the ANSI form and `wide` in the wide form
// (one name), compared without case, in the mode.
inline bool HasClassName(HWND window, const char* ansi, const wchar_t* wide) {
    constexpr int kLongestName = 64;
    if (wideMode != 0) {
        wchar_t name[kLongestName] = {};
        GetClassNameW(window, name, kLongestName);
        return lstrcmpiW(name, wide) == 0;
    }
    char name[kLongestName] = {};
    GetClassNameA(window, name, kLongestName);
    return lstrcmpiA(name, ansi) == 0;
}

inline int MessageBoxOf(HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text, caption, flags);
}
inline int MessageBoxOf(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags) {
    return MessageBoxW(owner, text, caption, flags);
}

inline BOOL TextOutOf(HDC device, int x, int y, const char* text, int length) {
    return TextOutA(device, x, y, text, length);
}
inline BOOL TextOutOf(HDC device, int x, int y, const wchar_t* text, int length) {
    return TextOutW(device, x, y, text, length);
}

}  // namespace runtime
