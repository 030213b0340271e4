#pragma once
// The two frame pens that forms, group boxes and pictures share for their painting: a light
// grey and a grey solid pen of one pixel. The first user creates them, each user holds one
// reference, and the last release deletes them.

#include <windows.h>

#include <cstdint>

namespace runtime {

extern HPEN lightFramePen;  // 0xE0E0E0
extern HPEN darkFramePen;   // 0x808080
extern int32_t framePenUsers;

void AcquireFramePens();
void ReleaseFramePens();

}  // namespace runtime
