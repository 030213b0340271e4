// The painting routines in their interim form, until the runtime paints its controls itself:
// backgrounds are filled with the record's back brush, the system paints labels and images, a
// group box shows the system's frame only, and an owner-drawn button is drawn as a plain
// system push button with its caption. Every routine validates what it was asked to paint, so
// that no WM_PAINT repeats.

#include "runtime/paint/window_painting.h"

#include "runtime/paint/redraw.h"
#include "runtime/process/system_calls.h"
#include "runtime/text/text_mode.h"

namespace runtime {

HWND hotButton = nullptr;

namespace {

void ValidateByPainting(HWND window) {
    PAINTSTRUCT paint{};
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

}  // namespace

void PaintFormBackground(HWND window, HDC device, const RuntimeRecord& form) {
    FillClient(window, device, form.BackBrush);
}

void PaintGroupCaption(RuntimeRecord& group) { ValidateByPainting(SlotAs<HWND>(group.Window)); }

void PaintPicture(RuntimeRecord& picture, HDC device, int32_t erase, int32_t) {
    HWND window = SlotAs<HWND>(picture.Window);
    if (device != nullptr) {
        if (erase != 0) FillClient(window, device, picture.BackBrush);
        return;
    }
    PAINTSTRUCT paint{};
    HDC painting = BeginPaint(window, &paint);
    if (erase != 0) FillClient(window, painting, picture.BackBrush);
    EndPaint(window, &paint);
}

void PaintLabel(RuntimeRecord& label) {
    HWND window = SlotAs<HWND>(label.Window);
    if (label.ClassProc == 0) {
        ValidateByPainting(window);
        return;
    }
    CallProc(SlotAs<WNDPROC>(label.ClassProc), window, WM_PAINT, 0, 0);
}

void PaintOwnerDrawnButton(const DRAWITEMSTRUCT& item, RuntimeRecord& button) {
    RECT face = item.rcItem;
    const UINT pushed = (item.itemState & ODS_SELECTED) != 0 ? DFCS_PUSHED : 0;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | pushed);
    if (button.Text == 0) return;
    const int mode = SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ font = button.FontHandle != 0 ? SelectObject(item.hDC, SlotAs<HFONT>(button.FontHandle)) : nullptr;
    SetTextColor(item.hDC, button.ForeColorRgb);
    constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    WithTextUnit([&](auto unit) {
        DrawTextOf(item.hDC, SlotAs<const decltype(unit)*>(button.Text), &face, kFormat);
    });
    if (font != nullptr) SelectObject(item.hDC, font);
    SetBkMode(item.hDC, mode);
}

}  // namespace runtime
