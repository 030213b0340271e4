#pragma once
// The values a record holds and its window shows: colours, the drawing pen, the picture, the
// form timer, visibility, a combo box's drop-down height and a scroll bar's state. Each Apply
// function stores the value and carries it out on the window, with no check of the record's
// kind or of the value: the builder runs them on what it builds, and the property interface's
// setters run them once their checks have passed (runtime/property/property_setters.h).

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

// The back colour: stored with its resolved RGB value; the brush follows it (the previous one
// deleted), except for the controls that take their colours by message, which are told the
// colour; an image-list holder's "no colour" (0xFFFFFFFF) is kept as it is and given to its
// image list. Repaints with erase (an MDI frame's client).
void ApplyBackColor(RuntimeRecord& record, HWND window, uint32_t color);

// The fore colour: stored with its resolved RGB value; a window form or picture box gets a new
// pen, the controls that take their colours by message are told the colour. Repaints.
void ApplyForeColor(RuntimeRecord& record, HWND window, uint32_t color);

// The drawing pen of a window form or picture box made again from its LineStyle, LineWidth and
// resolved fore colour (the previous pen deleted); repaints.
void RemakePen(RuntimeRecord& record, HWND window);

// The kinds that have a drawing pen: window forms and picture boxes.
constexpr bool HasDrawingPen(int32_t type) { return type == form_kind::Window || type == class_code::PictureBox; }

// Loads the image (bitmaps allowed while ImageKind is 0 or -1) into Picture, notes its kind and
// size, shows it on a push button or image control, sizes a picture box to it when asked,
// repaints, and deletes the previous picture unless it is the same image.
void ApplyPicture(RuntimeRecord& record, HWND window, uint32_t image);

// Stops the form's timer, then, for an interval above 0, keeps the interval and starts the form
// timer. Returns kFormTimerId when a timer runs, else 0 (also when the running timer cannot be
// stopped; it then goes on).
int32_t ApplyTimerInterval(RuntimeRecord& form, HWND window, int32_t milliseconds);

// Stores Visible and shows (a form in its window state) or hides the window; 1. A modal form
// cannot be hidden: 0, and it stays visible.
int32_t ApplyVisible(RuntimeRecord& record, HWND window, int32_t visible);

// The number of list items a combo box shows when its list drops down; the window is made high
// enough for them.
void ApplyDropDownItems(RuntimeRecord& combo, HWND window, int32_t items);

// A scroll bar's range, page and position: apply 0 reads them from the control into Min, Max
// and Value; apply 1 gives Min, Max, Alignment (page) and Value to the control, with redraw.
void SyncScrollBar(RuntimeRecord* scrollBar, int32_t apply);

}  // namespace runtime
