#include "runtime/window/link_open.h"

#include "runtime/process/system_calls.h"

namespace runtime {

namespace {

FindLibraryEntry entryFinder = GetProcAddress;

// ShellExecuteA and ShellExecuteW take the same arguments, their texts in their own encoding.
using ShellExecuteEntry = HINSTANCE(WINAPI*)(HWND owner, const void* verb, const void* file,
                                             const void* parameters, const void* directory, INT show);

}  // namespace

FindLibraryEntry SetShellEntryFinder(FindLibraryEntry finder) {
    const FindLibraryEntry previous = entryFinder;
    entryFinder = finder != nullptr ? finder : GetProcAddress;
    return previous;
}

void OpenLinkWithShell(HWND owner, const void* link) {
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (shell == nullptr) return;
    // The entry is found by name; its type is the one the shell exports under that name.
    const auto shellExecute = reinterpret_cast<ShellExecuteEntry>(
        reinterpret_cast<void*>(entryFinder(shell, EntryNameInMode("ShellExecuteA", "ShellExecuteW"))));
    if (shellExecute != nullptr) shellExecute(owner, nullptr, link, nullptr, nullptr, SW_SHOWNORMAL);
    FreeLibrary(shell);
}

}  // namespace runtime
