#pragma once
// The procedure of the runtime's MDI client class (BKMDICLIENT): what concerns the frame goes
// to the frame, everything else to the system MDICLIENT procedure kept at start-up.

#include <windows.h>

namespace runtime {

LRESULT CALLBACK MdiClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace runtime
