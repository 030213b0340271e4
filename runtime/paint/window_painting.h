#pragma once
// The runtime's own painting of the windows it does not leave to the system classes: form
// backgrounds, group-box captions, pictures, transparent labels and images, and owner-drawn
// push buttons. Every routine draws into the device context it is given, so that WM_PAINT,
// WM_PRINTCLIENT and a memory bitmap are served alike.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

// A label drawn over what lies below it (IsTransparent): the runtime paints it, without a
// background of its own, and draws it again after what lies under it.
inline bool IsTransparentLabel(const RuntimeRecord& r) {
    return r.Type == class_code::Label && r.IsTransparent != 0;
}

// The windows PaintLabel paints: the transparent labels and every image control.
inline bool PaintsAsLabel(const RuntimeRecord& r) {
    return r.Type == class_code::Image || IsTransparentLabel(r);
}

// The owner-drawn push button under the mouse whose leaving is being tracked (its hot look);
// null for none. Cleared with one atomic exchange when the mouse leaves it.
extern HWND hotButton;

// Fills the form's client area in `device` with its back brush around its background picture,
// drawn at (0, 0) in its own size (WM_ERASEBKGND of a form; of an MDI client with its frame's
// record).
void PaintFormBackground(HWND window, HDC device, const RuntimeRecord& form);

// Draws a group box's caption over the frame line: the caption band filled with the back
// brush and the caption in the box's font and colour (embossed when disabled). Only boxes that
// the system frames (ClassValue1) from OS level 5 on get it; the others show their background.
void PaintGroupCaption(const RuntimeRecord& group, HDC device);

// Paints a picture box: with `erase` (or when it paints off-screen) its back colour and
// picture, with `content` its caption or printed text. Without a device it paints through
// BeginPaint and validates the box.
void PaintPicture(const RuntimeRecord& picture, HDC device, int32_t erase, int32_t content);

// Paints a transparent label or an image control into `device`: the background (the parent's
// application may supply the brush and colours by WM_CTLCOLORSTATIC; a transparent label has
// none), the caption and the picture.
void PaintLabel(const RuntimeRecord& label, HDC device);

// Paints an owner-drawn push button into the draw-item block's device through an off-screen
// bitmap: themed or classic face, caption and picture, frame and focus rectangle (WM_DRAWITEM).
void PaintOwnerDrawnButton(const DRAWITEMSTRUCT& item, const RuntimeRecord& button);

// The one paint routine of WM_PAINT and WM_PRINTCLIENT for the windows the runtime paints
// itself (group box, picture box, transparent label, image): into `device`, WM_PRINTCLIENT's
// (`flags` as it carries them; PRF_ERASEBKGND erases first, and a form is printed as its
// background), or, with no device, as WM_PAINT through BeginPaint, which validates the window.
// False for every other window, and for a form's WM_PAINT: their class or default paints them.
bool PaintRuntimeWindow(RuntimeRecord& record, HDC device, LPARAM flags);

}  // namespace runtime
