// Size, position, layout, text, image and settings rows of the runtime window procedure. The
// rows that keep the record in step with the window (position, size, caption copy, dock
// layout, images) are generic until they are filled in.

#include "runtime/application.h"
#include "runtime/window_rows.h"

namespace runtime {

LRESULT OnSize(const Message& m) { return Generic(m); }
LRESULT OnMove(const Message& m) { return Generic(m); }
LRESULT OnWindowPosChanged(const Message& m) { return Generic(m); }
LRESULT OnShowWindow(const Message& m) { return Generic(m); }
LRESULT OnRelayout(const Message& m) { return Generic(m); }
LRESULT OnSetText(const Message& m) { return Generic(m); }
LRESULT OnSetFont(const Message& m) { return Generic(m); }
LRESULT OnSetImage(const Message& m) { return Generic(m); }
LRESULT OnSetImageList(const Message& m) { return Generic(m); }

LRESULT OnStyleChanged(const Message& m) {
    const auto* change = reinterpret_cast<const STYLESTRUCT*>(m.lParam);  // WM_STYLECHANGED's record
    if (change != nullptr) {
        if (static_cast<int>(m.wParam) == GWL_STYLE) {
            m.record->Style = change->styleNew;
        } else {
            m.record->ExStyle = change->styleNew;
        }
    }
    return Generic(m);
}

LRESULT OnSettingChange(const Message& m) {
    ReadKeyboardCues();
    return Generic(m);
}

}  // namespace runtime
