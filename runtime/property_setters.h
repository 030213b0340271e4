#pragma once
// The members of the runtime's property interface that the builder and the window procedure
// use: colours, line style, picture, timer, visibility, scroll range, combo drop-down height,
// the modal state and the wait cursor. Each takes a window (a runtime window; any other gives
// 0 or -1) and plain 32-bit values.

#include <windows.h>

#include <cstdint>

#include "runtime/template_record.h"

namespace runtime {

// 1 while the runtime's wait cursor is up.
extern int32_t waitCursorActive;

// Stores the back colour and its resolved RGB value; the brush follows it (the previous one
// deleted), except for tree views, list views, progress bars, pagers and rebars, which are told
// the colour instead; an image-list holder's "no colour" (0xFFFFFFFF) is kept as it is and
// given to its image list. Repaints with erase (an MDI frame's client). 1 when done.
int32_t SetBackColor(HWND window, uint32_t color);

// Stores the fore colour and its resolved RGB value; a window form or picture box gets a new
// pen, tree views, list views, progress bars and rebars are told the colour. Repaints.
int32_t SetForeColor(HWND window, uint32_t color);

// Remakes the drawing pen of a window form or picture box with `style` (0 to 6), its
// LineWidth and its resolved fore colour; the style itself is not stored. Repaints.
int32_t SetLineStyle(HWND window, int32_t style);

// Loads the image (bitmaps allowed while ImageKind is 0 or -1) into Picture, notes its kind
// and size, shows it on a push button or image control, sizes a picture box to it when asked,
// repaints, and deletes the previous picture unless it is the same image. Forms, push
// buttons, picture boxes and images only.
int32_t SetPicture(HWND window, uint32_t image);

// Stops a form's timer, then, for an interval above 0, keeps the interval and starts timer 2.
// Returns 2 when a timer runs, else 0.
int32_t SetTimerInterval(HWND window, int32_t milliseconds);

// Stores Visible and shows (a form in its window state) or hides the window; a modal form
// cannot be hidden (0).
int32_t SetVisible(HWND window, int32_t visible);

// Combo boxes and extended combo boxes: the number of list items shown when the list drops
// down; the window is made high enough for them.
int32_t SetDropDownItems(HWND window, int32_t items);

// A scroll bar's range, page and position: apply 0 reads them from the control into Min, Max
// and Value; apply 1 gives Min, Max, Alignment (page) and Value to the control, with redraw.
void SyncScrollBar(RuntimeRecord* scrollBar, int32_t apply);

// The window that was disabled when a dialog or window form was shown modally; 0 for a form
// that is not modal, -1 for any other window.
int32_t GetModalOwner(HWND window);

// Ends a modal form's modal state with `result`: the owner is enabled again, the form
// destroyed and the owner activated. 0 for a form that is not modal or any other window.
int32_t CloseModal(HWND window, int32_t result);

// The wait cursor, captured for `window`, until EndWaitCursor (which always releases the
// capture).
void BeginWaitCursor(HWND window);
void EndWaitCursor();

}  // namespace runtime
