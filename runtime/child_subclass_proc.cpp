// The procedure of the inner windows of combo boxes, extended combo boxes and IP-address
// controls: Tab and focus changes reach the owning control's form; everything else goes to the
// inner window's own procedure.

#include "runtime/runtime_messages.h"
#include "runtime/system_calls.h"
#include "runtime/window_message.h"
#include "runtime/window_proc.h"
#include "runtime/window_table.h"

namespace runtime {

namespace {

// The owning control's record: the inner window's parent's, or its parent's parent's (the edit
// of the combo box inside an extended combo box).
RuntimeRecord* OwnerOf(HWND inner) {
    HWND parent = GetParent(inner);
    if (RuntimeRecord* owner = FindWindowRecord(parent)) return owner;
    return parent != nullptr ? FindWindowRecord(GetParent(parent)) : nullptr;
}

// The inner window's own procedure: the system edit procedure for an IP-address field, else the
// one kept in the window's user data.
WNDPROC OwnProcOf(HWND inner, const RuntimeRecord* owner) {
    if (owner != nullptr && owner->Type == class_code::IpAddress) return ipFieldProc;
    return AsWindowProc(GetWindowValue(inner, GWLP_USERDATA));
}

// The form that holds the owning control.
HWND FormOf(const RuntimeRecord& owner) {
    if (owner.OwnerForm != 0) return SlotAs<HWND>(owner.OwnerForm);
    return GetParent(WindowOf(owner));
}

}  // namespace

LRESULT CALLBACK ChildSubclassProc(HWND inner, UINT id, WPARAM wParam, LPARAM lParam) noexcept {
    RuntimeRecord* owner = OwnerOf(inner);
    const WNDPROC own = OwnProcOf(inner, owner);
    if (own == nullptr) return 0;
    if (owner != nullptr) {
        HWND control = WindowOf(*owner);
        switch (id) {
        case WM_KEYDOWN:
            if (wParam == VK_TAB) {
                SendToWindow(control, FRM_NAVKEY, VK_TAB, reinterpret_cast<LPARAM>(control));
                return 0;
            }
            break;
        case WM_CHAR:
            // The Tab that moved the focus leaves no character behind in the field.
            if (wParam == '\t') return 0;
            break;
        case WM_SETFOCUS:
            SendToWindow(FormOf(*owner), FRM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
            break;
        case WM_SYSCOMMAND:
            SendToWindow(FormOf(*owner), id, wParam, lParam);
            return 0;
        default: break;
        }
    }
    return CallProc(own, inner, id, wParam, lParam);
}

}  // namespace runtime
