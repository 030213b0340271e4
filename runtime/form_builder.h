#pragma once
// The form builder: turns a form template into live windows. BuildForm copies the template
// tree into runtime records and creates the form's window; when that window reports its
// creation to the runtime window procedure, CompleteForm completes the form and builds its
// controls. Group boxes and pictures get their font and colours at their own creation.

#include <windows.h>

#include <cstdint>

#include "runtime/runtime_messages.h"
#include "runtime/template_record.h"

namespace runtime {

// The creation notice's answer by which the application refuses a form.
constexpr LRESULT kRefuseForm = -1;

// The record whose window is being created. Set just before a form, group box or picture box
// window is asked for; the runtime window procedure takes it at the window's first creation
// message, binds the window to it and clears it. A record that no window took is still the
// builder's.
extern RuntimeRecord* pendingRecord;

// Builds the form of the template record `form` with `parent` as parent or owner (0 for none),
// shown modally when `modal` is non-zero; `procedure` is kept in a dialog form's ClassProc for
// its WM_INITDIALOG. The result carries the form's window (cast it to HWND); 0 when the window
// could not be created; -1 when the application's procedure refused the form; for a modal
// form, the modal result.
LONG_PTR BuildForm(const TemplateRecord* form, HWND parent, int32_t modal, LONG_PTR procedure);

// Completes a form whose window (record->Window) has just been created, controls included.
void CompleteForm(RuntimeRecord* form);

// The font and colours of a control (group boxes and pictures at their WM_CREATE).
void ApplyFontAndColors(RuntimeRecord* control);

// Sizes a label to its caption or a picture box to its picture when its AutoSize asks for it.
void AutoSizeControl(RuntimeRecord* control);

}  // namespace runtime
