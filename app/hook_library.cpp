#include "app/hook_library.h"

#include <windows.h>

#include <cstring>

#include "app/web/web_front.h"

namespace app {

namespace {

// The routine of a port-access library (inpout32 and its kind).
using Out32Routine = void(__stdcall*)(short port, short data);

constinit HMODULE hookLibrary = nullptr;
constinit Out32Routine out32 = nullptr;

// The web front's hook, in its own calling convention. Port 888 and the values 0 to 2 fit a
// short.
void CallOut32(std::uint32_t portAddress, std::uint32_t value) {
    if (out32 != nullptr) out32(static_cast<short>(portAddress), static_cast<short>(value));
}

HookLoad NotLoaded(int error) {
    return HookLoad{false, HookRefusal::NotLoaded, error};
}

}  // namespace

HookLoad LoadHookLibrary(std::string_view library) {
    UnloadHookLibrary();
    char path[MAX_PATH];
    if (library.empty() || library.size() >= sizeof path) return NotLoaded(ERROR_FILENAME_EXCED_RANGE);
    std::memcpy(path, library.data(), library.size());
    path[library.size()] = '\0';
    // A library that cannot be loaded is told in the program's own box, not the system's.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const HMODULE module = LoadLibraryA(path);
    const int error = module == nullptr ? static_cast<int>(GetLastError()) : 0;
    SetErrorMode(previousMode);
    if (module == nullptr) return NotLoaded(error);
    // GetProcAddress gives a generic routine; this one has Out32's signature by its name.
    const auto routine = reinterpret_cast<Out32Routine>(reinterpret_cast<void*>(GetProcAddress(module, "Out32")));
    if (routine == nullptr) {
        FreeLibrary(module);
        return HookLoad{false, HookRefusal::NoOut32, 0};
    }
    hookLibrary = module;
    out32 = routine;
    web::SetOutputHook(CallOut32);
    return HookLoad{true, HookRefusal::NotLoaded, 0};
}

void UnloadHookLibrary() {
    if (hookLibrary == nullptr) return;
    web::SetOutputHook(nullptr);
    out32 = nullptr;
    FreeLibrary(hookLibrary);
    hookLibrary = nullptr;
}

}  // namespace app
