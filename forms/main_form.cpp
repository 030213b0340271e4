#include "forms/main_form.h"

#include "forms/main_form_layout.h"

namespace forms {
namespace {

// The template lives in the program's zero-filled data: the records are trivial, so nothing
// runs before main for them; MainFormTemplate writes their values.
runtime::TemplateRecord mainFormRecords[kMainFormRecordCount];

uint32_t AddressSlot(const void* address) { return runtime::ToSlot(address); }

}  // namespace

const runtime::TemplateRecord* MainFormTemplate(WNDPROC windowProc) noexcept {
    LayOutMainForm(mainFormRecords, runtime::ToSlot(windowProc), AddressSlot);
    return mainFormRecords;
}

}  // namespace forms
