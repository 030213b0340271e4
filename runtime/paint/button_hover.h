#pragma once
// The hot look of owner-drawn push buttons: the button under the mouse is `hotButton`
// (runtime/paint/window_painting.h) until the system reports that the mouse left it.

#include <windows.h>

namespace runtime {

// Makes `button` the hot button and asks the system for a WM_MOUSELEAVE when the mouse leaves
// it ("TrackMouseEvent", looked up in "user32.dll" at run time); when the request is made the
// button is invalidated (no erase) so that it repaints hot. A button that was hot before it
// (the mouse came straight from it) is invalidated too, so that it repaints normal. Without the
// entry it never shows hot.
void TrackButtonLeave(HWND button);

// Takes `window` out of the hot state, in one atomic exchange, when it is the hot button, and
// returns it; null (and the hot button left alone) when another button or none is hot.
HWND TakeHotButton(HWND window);

}  // namespace runtime
