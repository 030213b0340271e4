#pragma once
// The procedure of the inner windows of combo boxes, extended combo boxes and IP-address
// controls: the keys and focus changes that concern the form reach it as if the owning control
// had them.

#include <windows.h>

namespace runtime {

LRESULT CALLBACK ChildSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace runtime
