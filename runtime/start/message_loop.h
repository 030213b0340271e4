#pragma once
// The program's main message loop and the runtime's list of form templates.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

// Hands the runtime the template of the program's main form (the program has one form), which
// RunMessageLoop builds.
void SetMainForm(const TemplateRecord* form);

// Enters the main form into the form list, builds it, pumps the thread's messages through the
// accelerator table MT_ACCELERATOR_TABLE (100, runtime/process/accelerator_table.h) of `instance` (the module that started the runtime when it is null)
// until the quit message, shuts the runtime down and returns the quit message's code. When the
// main form cannot be built or is refused, it returns 0 at once. The other arguments are the
// program's own values, which the loop has no use for: the main form shows as its template
// says.
int32_t RunMessageLoop(HINSTANCE instance, int32_t unused, const void* arguments, int32_t showCommand);

// Enters a template into the first free entry of the form list; returns the entry, or null
// when the list is full (or the runtime is not started).
uint32_t* EnterFormList(const TemplateRecord* form);

// The template in the form list whose Name matches `name` without regard to letter case,
// comparing `name` as ANSI text first and, when none matched, as wide text; null when none.
const TemplateRecord* FindFormTemplate(const void* name);

}  // namespace runtime
