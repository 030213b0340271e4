#pragma once
// Setters of place, size, docking, window state, enabling and the window styles behind scroll
// bars and reading order. Their return values are those of runtime/property/property_setters.h.

#include <windows.h>

#include <cstdint>

namespace runtime {

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

// EnableWindow with the flag, kept in Enabled and Style; the form moves the focus on when its
// focused control goes; a group box or picture box passes the flag on to its controls. Any
// window.
int32_t SetEnabled(HWND window, int32_t enabled);

// The scroll bars of a window form, an MDI frame (its client's), a text box or a picture box:
// 0 none, 1 horizontal, 2 vertical, 3 both.
int32_t SetScrollBars(HWND window, int32_t bars);

// Right-to-left reading order when non-zero, left to right when 0. All but images and scroll
// bars.
int32_t SetRightToLeft(HWND window, int32_t rightToLeft);

}  // namespace runtime
