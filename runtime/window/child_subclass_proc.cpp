// The procedure of the inner windows of combo boxes, extended combo boxes and IP-address
// controls: Tab, Esc, Enter, focus changes and system commands reach the owning control's form
// as if the control itself had them; the owner's procedure may take other keys; everything
// else goes to the inner window's own procedure.

#include "runtime/window/child_subclass_proc.h"

#include "runtime/build/control_setup.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"
#include "runtime/window/window_mouse.h"

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

bool IsComboKind(const RuntimeRecord& owner) {
    return owner.Type == class_code::ComboBox || owner.Type == class_code::ComboBoxEx;
}

// One message of an inner window whose owning control has a record.
struct InnerMessage {
    HWND inner;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    RuntimeRecord* owner;
    WNDPROC own;

    LRESULT Pass() const { return CallProc(own, inner, id, wParam, lParam); }
    HWND Control() const { return WindowOf(*owner); }
    // The owner's application procedure (normally none) with the owning control's window.
    LRESULT OwnerApp() const { return CallApp(Message{Control(), id, wParam, lParam, owner}); }
    // Keys and characters the owner's procedure may take; what it leaves goes on.
    LRESULT OfferToOwner() const { return OwnerApp() != 0 ? 0 : Pass(); }
};

// Esc and Enter in a combo box: with the list closed, or always shown, the form hears of the
// key as from the combo box; with the list open the list closes first (Enter keeps the
// selection and focuses the combo box) and the key goes on.
LRESULT OnComboEscapeOrReturn(const InnerMessage& m) {
    HWND combo = m.Control();
    // A simple combo box (style bits 0-1 equal to 1) shows its list all the time.
    const bool simple = (m.owner->Style & 3u) == CBS_SIMPLE;
    if (simple || SendToWindow(combo, CB_GETDROPPEDSTATE, 0, 0) == 0) {
        return SendToWindow(GetParent(combo), FRM_NAVKEY, m.wParam, reinterpret_cast<LPARAM>(combo));
    }
    const LRESULT selection = SendToWindow(combo, CB_GETCURSEL, 0, 0);
    SendToWindow(combo, CB_SHOWDROPDOWN, FALSE, 0);
    if (m.wParam == VK_RETURN) {
        SendToWindow(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        SetFocus(combo);
    }
    return m.OfferToOwner();
}

LRESULT OnInnerKeyDown(const InnerMessage& m) {
    switch (m.wParam) {
        case VK_TAB:
            // The owning control passes it on to its parent, as its own Tab.
            SendToWindow(m.Control(), FRM_NAVKEY, VK_TAB, reinterpret_cast<LPARAM>(m.Control()));
            return 0;
        case VK_ESCAPE:
        case VK_RETURN:
            if (m.owner->Type == class_code::ComboBox) return OnComboEscapeOrReturn(m);
            break;
        case VK_DOWN:
        case VK_UP:
            // The list's own keys.
            if (IsComboKind(*m.owner)) return m.Pass();
            break;
        default: break;
    }
    return m.OfferToOwner();
}

// The editing shortcuts Ctrl+A, C, E, J, V, X, Y and Z stay the field's own.
bool IsEditingShortcut(WPARAM character) {
    switch (character) {
        case 1: case 3: case 5: case 10: case 22: case 24: case 25: case 26: return true;
        default: return false;
    }
}

LRESULT OnInnerChar(const InnerMessage& m) {
    if (IsEditingShortcut(m.wParam)) return m.Pass();
    // Tab, Esc and Enter moved the focus or acted on the form: no character is left in the field.
    if (m.wParam == '\t' || m.wParam == VK_ESCAPE || m.wParam == '\r') {
        m.OwnerApp();
        return 0;
    }
    return m.OfferToOwner();
}

// The cursor of an inner window follows its owning control's cursor rule.
LRESULT OnInnerSetCursor(const InnerMessage& m) {
    return OnSetCursor(Message{m.inner, m.id, m.wParam, m.lParam, m.owner});
}

LRESULT InnerDispatch(const InnerMessage& m) {
    switch (m.id) {
        case WM_SETCURSOR:
            if (LOWORD(m.lParam) == HTCLIENT) return OnInnerSetCursor(m);
            return m.Pass();
        case WM_SETFOCUS:
            SendToWindow(FormOf(*m.owner), FRM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(m.Control()));
            return m.Pass();
        case WM_SYSCOMMAND:
            SendToWindow(FormOf(*m.owner), m.id, m.wParam, m.lParam);
            return 0;
        case WM_KEYDOWN: return OnInnerKeyDown(m);
        case WM_KEYUP: return m.OfferToOwner();
        case WM_CHAR: return OnInnerChar(m);
        default: return m.Pass();
    }
}

}  // namespace

LRESULT CALLBACK ChildSubclassProc(HWND inner, UINT id, WPARAM wParam, LPARAM lParam) noexcept {
    RuntimeRecord* owner = OwnerOf(inner);
    const WNDPROC own = OwnProcOf(inner, owner);
    if (own == nullptr) return 0;
    if (owner == nullptr) return CallProc(own, inner, id, wParam, lParam);
    return InnerDispatch(InnerMessage{inner, id, wParam, lParam, owner, own});
}

}  // namespace runtime
