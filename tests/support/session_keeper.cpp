// Keeps the test run's Wine desktop open between the test programs.
//
// Wine closes a desktop about a second after the last program that used it has ended. Under
// emulation a test program starts more slowly than that, and one that attaches to the desktop
// while it is closing gets a desktop window that is already gone: every window it then makes
// fails with "invalid window handle", for the whole program. This program uses the desktop for
// as long as the session lives, with one window that is never shown, so the desktop stays open.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (CreateWindowExA(0, "STATIC", "mt-session-keeper", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr) ==
        nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
