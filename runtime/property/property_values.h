#pragma once
// Setters of fonts, push-button and picture options, tabbing and cursor codes, text limits and
// password characters, and the range and position of range controls and check buttons. Their
// return values are those of runtime/property/property_setters.h.

#include <windows.h>

#include <cstdint>

namespace runtime {

// The flag or size is stored and the window's font made again. Any window; the size is
// above 0.
int32_t SetFontBold(HWND window, int32_t bold);
int32_t SetFontItalic(HWND window, int32_t italic);
int32_t SetFontStrikeout(HWND window, int32_t strikeout);
int32_t SetFontUnderline(HWND window, int32_t underline);
int32_t SetFontSize(HWND window, int32_t points);

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

}  // namespace runtime
