#pragma once
// The form builder: turns a form template into live windows. BuildForm copies the template
// tree into runtime records and creates the form's window; when that window reports its
// creation to the runtime window procedure, CompleteForm gives it its menu, tooltips, styles,
// colours, font, icons and caption and builds its controls with BuildControls. The helpers
// that resolve the template's texts, colours, fonts and images are public too: the window
// procedure and the property interface use them as well.

#include <windows.h>

#include <cstdint>

#include "runtime/form_geometry.h"
#include "runtime/runtime_messages.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The creation notice's answer by which the application refuses a form.
constexpr LRESULT kRefuseForm = -1;

// The record whose window is being created. Set just before a form, group box or picture box
// window is asked for; the runtime window procedure takes it at the window's first creation
// message, binds the window to it and clears it. A record that no window took is still the
// builder's.
extern RuntimeRecord* pendingRecord;

// The result of a form shown modally, set when the modal state ends (CloseModal).
extern int32_t modalResult;

// Builds the form of the template record `form`: `parent` is its parent or owner window (or
// 0), a non-zero `modal` shows it modally, `procedure` is kept in a dialog form's ClassProc
// for its WM_INITDIALOG. The result is a 32-bit value that carries one of: the form's window
// (cast it to HWND); 0 when the window could not be created; -1 (kRefuseForm) when the
// application's procedure refused the form (answered -1 to the creation notice); for a modal
// form, the modal result once its modal loop has ended.
LONG_PTR BuildForm(const TemplateRecord* form, HWND parent, int32_t modal, LONG_PTR procedure);

// Completes a form whose window (record->Window) has just been created: images, picture, menu,
// tooltips, styles, colours, font, timer, icons, caption, position, and its controls.
void CompleteForm(RuntimeRecord* form);

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

// The place of a form by its StartPosition, for a window of `width` by `height` pixels whose
// parent is `parent` (0 for none).
Placement FormStartPlacement(const RuntimeRecord* form, HWND parent, int32_t width, int32_t height);

// A text reference as a new runtime-heap text in the text mode (length + 2 characters,
// zero-filled): 0x8000 and above the ANSI text at that address, below it the string-table
// entry (at most 260 characters; a missing entry gives an empty text). With a caption record
// the length in characters also goes to its CaptionLength. Null when there is no memory.
void* ResolveText(uint32_t reference, RuntimeRecord* captionRecord);

// A font of `size` points for the device of `window` (a memory device without one), with the
// face name (text in mode); a non-zero fixedSize makes its height independent of the DPI.
HFONT CreateRuntimeFont(HWND window, int32_t size, int32_t bold, int32_t italic, int32_t underline,
                        int32_t strikeout, const void* faceName, int32_t fixedSize);

// CreateRuntimeFont with the record's own font slots (size, bold, italic, underline,
// strikeout, face name) and `fixedSize`, the FixedFontSize of the record's form.
HFONT CreateRecordFont(const RuntimeRecord& record, HWND window, int32_t fixedSize);

// A colour value as RGB, or with `brush` non-zero as a brush (a system colour's own brush for a
// system colour, else a new solid brush that the caller owns), as a 32-bit value.
uint32_t ResolveColor(uint32_t color, int32_t brush);

// An image reference as an image: 0 and 0x10000 or more unchanged; a resource identifier as
// the application's bitmap (only when `bitmaps` is non-zero), icon or cursor, the first that
// loads; the reference itself when none does.
uint32_t LoadTemplateImage(uint32_t reference, int32_t bitmaps);

}  // namespace runtime
