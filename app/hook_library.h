#pragma once
// The port-access library of --hook: loaded at start-up, its Out32 installed as the web front's
// output hook, and released at the end.

#include <string_view>

#include "app/program_options.h"

namespace app {

// What loading the library came to.
struct HookLoad {
    bool loaded = false;
    HookRefusal refusal = HookRefusal::NotLoaded;  // why not
    int error = 0;                                 // the system's error number (NotLoaded)
};

// Loads `library` (a path, or a name the system searches for) and installs its Out32
// (void __stdcall Out32(short port, short data), exported by that plain name) as the output
// hook, called as Out32(888, value). The library stays loaded until UnloadHookLibrary.
HookLoad LoadHookLibrary(std::string_view library);

// Removes the hook and releases the library, if one is loaded.
void UnloadHookLibrary();

}  // namespace app
