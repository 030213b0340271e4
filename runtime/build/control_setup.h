#pragma once
// The class-specific completion of each control after its creation (texts and limits, check
// states, ranges, items, inner windows), and the bands of a rebar once its children exist.

#include <windows.h>

#include "runtime/template/template_record.h"

namespace runtime {

// The system EDIT procedure of the four fields of IP-address controls, kept when their fields
// are handed to the runtime's child subclass procedure (the fields' own user data is the
// control's); null until the first IP-address control is built.
extern WNDPROC ipFieldProc;

// The completion of a control of its class, after its font and colours.
void CompleteControlClass(RuntimeRecord* control, HWND window);

// The bands of a rebar, from its item array (into a copy that the record then owns).
void AddRebarBands(RuntimeRecord* rebar, HWND window);

}  // namespace runtime
