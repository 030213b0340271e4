#pragma once
// Setters of the properties of the forms and controls the runtime has built: colours, the
// drawing pen, pictures, cursors and icons, the form timer, visibility and the combo drop-down
// height. Each setter takes a window and one plain 32-bit value and returns 1 when done; it
// returns 0, changing nothing, for a window that is not a runtime window, a kind of window the
// property does not apply to (runtime/property/property_table.h, setter_rule) and a value
// outside the property's range. Setters that change what is shown repaint the window at once.
// (The setters of place and styles are in runtime/property/property_layout.h, those of fonts
// and class-specific values in runtime/property/property_values.h.)

#include <windows.h>

#include <cstdint>

namespace runtime {

// Colours (colour encoding: bit 31 names a system colour).

// Stores the back colour and its resolved RGB value; the brush follows it (the previous one
// deleted), except for tree views, list views, progress bars, pagers and rebars, which are told
// the colour instead; an image-list holder's "no colour" (0xFFFFFFFF) is kept as it is and
// given to its image list. Repaints with erase (an MDI frame's client). Any window.
int32_t SetBackColor(HWND window, uint32_t color);

// Stores the fore colour and its resolved RGB value; a window form or picture box gets a new
// pen, tree views, list views, progress bars and rebars are told the colour. Repaints. Any
// window.
int32_t SetForeColor(HWND window, uint32_t color);

// The drawing pen of a window form or picture box: LineStyle (0 to 6) and LineWidth are stored
// and the pen made again with both and the resolved fore colour, so that a later colour change
// keeps them. Repaint.
int32_t SetLineStyle(HWND window, int32_t style);
int32_t SetLineWidth(HWND window, int32_t width);

// Images (image references: a resource identifier of the application or a handle).

// Loads the image (bitmaps allowed while ImageKind is 0 or -1) into Picture, notes its kind
// and size, shows it on a push button or image control, sizes a picture box to it when asked,
// repaints, and deletes the previous picture unless it is the same image. Forms, push
// buttons, picture boxes and images.
int32_t SetPicture(HWND window, uint32_t image);

// The window's own cursor (an icon or cursor); the previous one is destroyed. Any window.
int32_t SetMouseCursor(HWND window, uint32_t image);

// A form's large and small icon (an icon or cursor), given to the window; the icon the window
// had is destroyed unless the form still uses it. Forms.
int32_t SetIcon(HWND window, uint32_t image);
int32_t SetSmallIcon(HWND window, uint32_t image);

// Stores Visible and shows (a form in its window state) or hides the window; a modal form
// cannot be hidden (0). Any window.
int32_t SetVisible(HWND window, int32_t visible);

// Combo boxes and extended combo boxes: the number of list items shown when the list drops
// down; the window is made high enough for them.
int32_t SetDropDownItems(HWND window, int32_t items);

// Forms: stops the form's timer, then, for an interval above 0, keeps the interval and starts
// timer 2. Returns 2 when a timer runs, else 0 (also when the running timer cannot be
// stopped; it then goes on).
int32_t SetTimerInterval(HWND window, int32_t milliseconds);

}  // namespace runtime
