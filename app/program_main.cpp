// The program's entry from the C runtime. The C and C++ runtimes of a static mingw program do
// their own start-up before WinMain (pseudo-relocations, the thread library, the registration
// of the unwind tables and the constructors of the library's own statics); an entry point of
// our own in their place would skip all of that. So WinMain does nothing but hand over to
// AppStart, which never returns.

#include <windows.h>

#include "app/app_start.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::AppStart();
}
