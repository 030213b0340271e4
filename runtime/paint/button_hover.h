#pragma once
// The hot look of owner-drawn push buttons: the button under the mouse is `hotButton`
// (runtime/paint/window_painting.h) until the system reports that the mouse left it.

#include <windows.h>

namespace runtime {

// Makes `button` the hot button and asks the system for a WM_MOUSELEAVE when the mouse leaves
// it ("TrackMouseEvent", looked up in "user32.dll" at run time); when the request is made the
// button is invalidated (no erase) so that it repaints hot. Without the entry it never shows
// hot.
void TrackButtonLeave(HWND button);

// Takes the hot button and leaves none, in one atomic exchange; null when there was none.
HWND TakeHotButton();

}  // namespace runtime
