#pragma once
// Changing the properties of the forms and controls the runtime has built. Each setter takes a
// window and one plain 32-bit value and returns 1 when done; it returns 0, changing nothing,
// for a window that is not a runtime window, a kind of window the property does not apply to
// (runtime/property_table.h, setter_rule) and a value outside the property's range. Setters
// that change what is shown repaint the window at once.
//
// The builder and the window procedure reach the rest of the interface through this header
// too: the readers, and the modal state and wait cursor of runtime/property_windows.h.

#include <windows.h>

#include <cstdint>

#include "runtime/property_getters.h"
#include "runtime/property_windows.h"
#include "runtime/template/template_record.h"

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

// Place, size, docking and state.

// Docks a picture, toolbar, status bar or rebar to a side of its parent (0 none, 1 top, 2
// bottom, 3 left, 4 right): the control turns horizontal or vertical, its Width and Height are
// swapped to lie along the side, it starts at the parent's left (top, bottom) or top (left,
// right), and the parent lays out its docked controls again.
int32_t SetAlign(HWND window, int32_t side);

// A label's or picture box's AutoSize; when set, the control is sized to its caption or
// picture at once.
int32_t SetAutoSize(HWND window, int32_t autoSize);

// Left, Top, Width and Height in the window's scale mode; the window moves or is resized at
// once (the other coordinate or dimension kept), is laid out again and refreshed. A docked
// control can be neither moved nor stretched along its side: 0.
int32_t SetLeft(HWND window, int32_t left);
int32_t SetTop(HWND window, int32_t top);
int32_t SetWidth(HWND window, int32_t width);
int32_t SetHeight(HWND window, int32_t height);

// A form's WindowState, -1 hidden, 0 normal, 1 minimised, 2 maximised; shown so at once.
int32_t SetWindowState(HWND window, int32_t state);

// Stores Visible and shows (a form in its window state) or hides the window; a modal form
// cannot be hidden (0). Any window.
int32_t SetVisible(HWND window, int32_t visible);

// EnableWindow with the flag, kept in Enabled and Style; the form moves the focus on when its
// focused control goes; a group box or picture box passes the flag on to its controls. Any
// window.
int32_t SetEnabled(HWND window, int32_t enabled);

// Styles.

// The scroll bars of a window form, an MDI frame (its client's), a text box or a picture box:
// 0 none, 1 horizontal, 2 vertical, 3 both.
int32_t SetScrollBars(HWND window, int32_t bars);

// Right-to-left reading order when non-zero, left to right when 0. All but images and scroll
// bars.
int32_t SetRightToLeft(HWND window, int32_t rightToLeft);

// Fonts: the flag or size is stored and the window's font made again. Any window; the size is
// above 0.
int32_t SetFontBold(HWND window, int32_t bold);
int32_t SetFontItalic(HWND window, int32_t italic);
int32_t SetFontStrikeout(HWND window, int32_t strikeout);
int32_t SetFontUnderline(HWND window, int32_t underline);
int32_t SetFontSize(HWND window, int32_t points);

// Class-specific values.

// Push buttons: the form's default button on (non-zero) or off (0, only when it is the
// default button now); the form is told with DM_SETDEFID.
int32_t SetDefault(HWND window, int32_t isDefault);
// Push buttons: the focus frame flag and the picture position (0 above, 1 below, 2 left, 3
// right); repaint.
int32_t SetFocusFrame(HWND window, int32_t focusFrame);
int32_t SetButtonStyle(HWND window, int32_t style);
// Picture boxes: draw through an off-screen bitmap.
int32_t SetPictureOption(HWND window, int32_t option);
// The cursor code 0 to 14 of WM_SETCURSOR (14: the window's own cursor). Any window.
int32_t SetCursorKind(HWND window, int32_t kind);
// Keyboard tabbing. Any window.
int32_t SetTabStop(HWND window, int32_t tabStop);

// Text boxes and rich text boxes: the text limit in characters (0 or below: the system's);
// a longer text is cut to it.
int32_t SetMaxLength(HWND window, int32_t length);
// Text boxes: the password character (0 none).
int32_t SetPasswordChar(HWND window, int32_t character);

// Range and position of scroll bars, progress bars, trackbars and up-downs, given to the
// control; Value also sets check boxes and option buttons (0 or 1 only). A scroll bar takes
// only a Value between its Min and Max.
int32_t SetMax(HWND window, int32_t maximum);
int32_t SetMin(HWND window, int32_t minimum);
int32_t SetValue(HWND window, int32_t value);
// Scroll bars: the page size.
int32_t SetScrollBarOption(HWND window, int32_t page);

// Combo boxes and extended combo boxes: the number of list items shown when the list drops
// down; the window is made high enough for them.
int32_t SetDropDownItems(HWND window, int32_t items);

// Forms: stops the form's timer, then, for an interval above 0, keeps the interval and starts
// timer 2. Returns 2 when a timer runs, else 0 (also when the running timer cannot be
// stopped; it then goes on).
int32_t SetTimerInterval(HWND window, int32_t milliseconds);

// A scroll bar's range, page and position: apply 0 reads them from the control into Min, Max
// and Value; apply 1 gives Min, Max, Alignment (page) and Value to the control, with redraw.
void SyncScrollBar(RuntimeRecord* scrollBar, int32_t apply);

}  // namespace runtime
