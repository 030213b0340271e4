#pragma once
// The runtime's own painting, as the window procedure's colour and painting rows call it: form
// backgrounds, group-box captions, pictures, transparent labels and images, and owner-drawn
// push buttons.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

// The owner-drawn push button under the mouse whose leaving is being tracked (its hot look);
// null for none. Cleared with one atomic exchange when the mouse leaves it.
extern HWND hotButton;

// Fills the form's client area with its background (WM_ERASEBKGND of a form; of an MDI client
// with its frame's record).
void PaintFormBackground(HWND window, HDC device, const RuntimeRecord& form);

// Paints a group box's caption over its frame (WM_PAINT, after the system's frame when the box
// asks for it) and validates the box.
void PaintGroupCaption(RuntimeRecord& group);

// Paints a picture box: with `erase` its background and picture into `device`, with `content`
// its texts. Without a device it paints through BeginPaint and validates the box.
void PaintPicture(RuntimeRecord& picture, HDC device, int32_t erase, int32_t content);

// Paints a transparent label or an image control and validates it (WM_PAINT).
void PaintLabel(RuntimeRecord& label);

// Paints an owner-drawn push button into the draw-item block's device (WM_DRAWITEM).
void PaintOwnerDrawnButton(const DRAWITEMSTRUCT& item, RuntimeRecord& button);

}  // namespace runtime
