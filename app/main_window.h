#pragma once
// The main window: the application's window procedure of the main form Window1, which the
// form runtime calls with every message of the window exactly as received. It ties the window
// to the web front (the listener and its socket events), to the serial port buttons and to
// the About box; everything else it leaves to the runtime by answering 0.

#include <windows.h>

namespace app {

// WM_CREATE opens the listener; WM_SOCKET goes to the web front; WM_LISTENER_FAILED shows
// the operator why the listener could not be opened; WM_COMMAND: the About box (menu or F1),
// connect (">") and disconnect ("!", which also stops a running line) on a click; WM_CLOSE: a
// modally shown form is closed with its port, any other goes on to the runtime, which closes
// the window; WM_DESTROY stops a running line.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace app
