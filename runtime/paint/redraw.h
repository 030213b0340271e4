#pragma once
// Redrawing runtime windows: the two whole-window redraws, painting a window at once, and
// filling a client area with a brush.

#include <windows.h>

#include <cstdint>

namespace runtime {

// Everything of a window at once: invalidated with erase, its children and its frame, painted
// before the call returns.
constexpr UINT kFullRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
// The same, with a WM_PAINT even for a window that has nothing invalid (0x587): what a form
// gets when its theme changes and what Refresh asks for.
constexpr UINT kFullRedrawAndPaint = kFullRedraw | RDW_INTERNALPAINT;

// Invalidates the window (erasing with `erase`) and has it painted at once.
void RepaintNow(HWND window, bool erase);

// Fills the window's client rectangle in `device` with `brush` (a slot value); nothing without
// a device or a brush.
void FillClient(HWND window, HDC device, uint32_t brush);

}  // namespace runtime
