#include "runtime/paint/redraw.h"

#include "runtime/template/template_record.h"

namespace runtime {

void RepaintNow(HWND window, bool erase) {
    InvalidateRect(window, nullptr, erase ? TRUE : FALSE);
    // Sends WM_PAINT at once when there is anything to paint.
    UpdateWindow(window);
}

void FillClient(HWND window, HDC device, uint32_t brush) {
    if (device == nullptr || brush == 0) return;
    RECT client{};
    GetClientRect(window, &client);
    FillRect(device, &client, SlotAs<HBRUSH>(brush));
}

}  // namespace runtime
