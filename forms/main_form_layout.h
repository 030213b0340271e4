#pragma once
// Laying the template of Window1 out from its table. Platform-free: the address-valued slots
// (texts, Self) are written through a caller's mapping, so that the 32-bit program stores real
// addresses and a host test can follow the slots back to what they name.

#include <cstdint>
#include <span>

#include "forms/main_form.h"
#include "runtime/template/template_record.h"

namespace forms {

// Turns an address that a slot refers to (a text, a record) into the slot's value. In the
// 32-bit program it is the address itself.
using AddressToSlot = uint32_t (*)(const void* address);

// Writes every slot of the form and of its controls, depth first, into `records` (whatever they
// held before): the form record, then each control, a container's children directly after it.
// `windowProc` goes into the form's WindowProc as it is.
void LayOutMainForm(std::span<runtime::TemplateRecord, kMainFormRecordCount> records,
                    uint32_t windowProc, AddressToSlot toSlot);

}  // namespace forms
