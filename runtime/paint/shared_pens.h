#pragma once
// The two frame pens that forms, group boxes and pictures share for their painting: a light
// grey and a grey solid pen of one pixel. Each holder takes one reference when its window is
// bound to its record (WM_NCCREATE) and gives it back when the record leaves (WM_NCDESTROY);
// the first reference creates the pens and the last one given back deletes them.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

extern HPEN lightFramePen;  // 0xE0E0E0
extern HPEN darkFramePen;   // 0x808080
extern int32_t framePenUsers;

// Whether the window of `record` holds a reference on the pens: every form but an MDI frame,
// and group boxes and pictures.
constexpr bool HoldsFramePens(const RuntimeRecord& record) {
    if (IsFormType(record.Type)) return record.Type != form_kind::MdiFrame;
    return record.Type == class_code::GroupBox || record.Type == class_code::PictureBox;
}

void AcquireFramePens();
// Gives back one reference. One more than were taken cannot happen: it is reported (ReportIf)
// and changes nothing.
void ReleaseFramePens();

}  // namespace runtime
