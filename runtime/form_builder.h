#pragma once
// The form builder: turns a form template into its windows and completes a created form.

#include <windows.h>

#include "runtime/template_record.h"

namespace runtime {

// Builds the form of `form` (a template record in the program's data) with `parent` as parent
// or owner (0 for none), shown modally when `modal` is non-zero; `proc` is kept in a dialog
// form's slot 252. Returns the form's window; 0 when it could not be created; -1 when the
// application's procedure refused it; for a modal form, the modal result.
HWND BuildForm(const TemplateRecord* form, HWND parent, int modal, LONG_PTR proc);

// Completes a form whose window has just been created (menu, tooltips, styles, colours, font,
// icons, caption, controls). Called by the runtime window procedure.
void CompleteForm(RuntimeRecord* record);

}  // namespace runtime
