#pragma once
// BuildControls: the loop that creates the controls of a form or container from their runtime
// records; the font, colours and auto-size of a control; and the tooltips of a form's
// controls.

#include <windows.h>

#include "runtime/template/template_record.h"

namespace runtime {

// Creates the windows of `parent`'s children inside `parentWindow`; `formWindow` is the form
// that owns them.
void BuildControls(HWND parentWindow, HWND formWindow, RuntimeRecord* parent);

// The font and colours of a control (after its creation; group boxes and pictures at their
// WM_CREATE): its font (the dialog's on a dialog form), label auto-size and text height,
// combo drop-down height, back and fore colour, cursor and picture.
void ApplyFontAndColors(RuntimeRecord* control);

// Sizes a label to its caption or a picture box to its picture when its AutoSize asks for it,
// and keeps the new place in the record.
void AutoSizeControl(RuntimeRecord* control);

// Adds a tool to `tooltip` for every child window of `container` (but `skip`) whose record has
// a tooltip text, descending into group boxes, picture boxes and rebars.
void RegisterToolTips(HWND tooltip, HWND container, HWND skip);

}  // namespace runtime
