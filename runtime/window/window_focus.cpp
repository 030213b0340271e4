// Focus and activation rows of the runtime window procedure: each form remembers the control
// that last had the focus and gives the focus back to it when it is activated; the look of the
// default push button follows the focus; DM_GETDEFID and DM_SETDEFID read and move the default;
// option buttons of a group uncheck one another.

#include "runtime/window/window_focus.h"

#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_layout.h"
#include "runtime/property/property_windows.h"
#include "runtime/window/window_operations.h"

namespace runtime {

namespace {

// The record of a window when it is a push button; null otherwise (and for no window).
RuntimeRecord* PushButtonRecord(HWND window) {
    if (window == nullptr) return nullptr;
    RuntimeRecord* record = FindWindowRecord(window);
    return record != nullptr && record->Type == class_code::PushButton ? record : nullptr;
}

void SetLook(RuntimeRecord* button, bool on) {
    if (button != nullptr) SetButtonDefaultLook(button, on ? 1 : 0);
}

bool IsMinimised(const RuntimeRecord& form) { return form.WindowState == window_state::Minimised; }

void NotifyFocusChanged(HWND form, HWND control) {
    SendToWindow(form, FRM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

LRESULT FormSetFocus(const Message& m) {
    if (m.record->MdiChild != 0) NotifyFocusChanged(GetParent(m.window), m.window);
    FocusRememberedControl(*m.record);
    if (!StillBound(m)) return 0;
    return Generic(m);
}

LRESULT ControlSetFocus(const Message& m) {
    if (IsEditKind(m.record->Type) && m.record->MultiLine == 0) SendToWindow(m.window, EM_SETSEL, 0, -1);
    NotifyFocusChanged(GetParent(m.window), m.window);
    if (PassesFocusOn(m.record->Type)) {
        return SendToWindow(GetParent(m.window), FRM_NAVKEY, VK_TAB, reinterpret_cast<LPARAM>(m.window));
    }
    return Generic(m);
}

// Deactivated, a form shows no default button: the default's look and the focused button's
// go, while the form keeps which button is its default.
void HideDefaultLook(const Message& m) {
    const uint32_t defaultButton = m.record->DefaultButton;
    if (PushButtonRecord(SlotAs<HWND>(defaultButton)) != nullptr) SendToWindow(m.window, DM_SETDEFID, 0, 0);
    SetLook(PushButtonRecord(SlotAs<HWND>(m.record->FocusWindow)), false);
    m.record->DefaultButton = defaultButton;
}

LRESULT ClearDefault(const Message& m) {
    HWND defaultButton = SlotAs<HWND>(m.record->DefaultButton);
    if (RuntimeRecord* old = PushButtonRecord(defaultButton)) {
        SetLook(old, false);
        if (ToSlot(defaultButton) == m.record->FocusWindow) NotifyFocusChanged(m.window, defaultButton);
    }
    m.record->DefaultButton = 0;
    return 1;
}

// Unchecks the option buttons beside `option` that have a record.
void UncheckSiblingOptions(HWND option) {
    for (HWND sibling = GetWindow(GetParent(option), GW_CHILD); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == option) continue;
        RuntimeRecord* record = FindWindowRecord(sibling);
        if (record == nullptr || record->Type != class_code::OptionButton) continue;
        record->Value = 0;
        SendToWindow(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

}  // namespace

void FocusRememberedControl(RuntimeRecord& form) {
    HWND formWindow = WindowOf(form);
    HWND focus = SlotAs<HWND>(form.FocusWindow);
    // A remembered control that is gone (no record any more), or one that only passed the
    // focus on, counts as none.
    const RuntimeRecord* remembered = FindWindowRecord(focus);
    if (focus == nullptr || focus == formWindow || remembered == nullptr || PassesFocusOn(remembered->Type)) {
        focus = NextTabStop(formWindow, 0, 0, 0, 1);
    }
    if (focus != nullptr) SetFocus(focus);
}

LRESULT OnSetFocus(const Message& m) { return IsForm(*m.record) ? FormSetFocus(m) : ControlSetFocus(m); }

LRESULT OnFocusChanged(const Message& m) {
    const auto control = reinterpret_cast<HWND>(m.lParam);
    if (!IsForm(*m.record)) {
        NotifyFocusChanged(GetParent(m.window), control);
        return 0;
    }
    RuntimeRecord* focused = PushButtonRecord(control);
    RuntimeRecord* defaultButton = PushButtonRecord(SlotAs<HWND>(m.record->DefaultButton));
    RuntimeRecord* old = PushButtonRecord(SlotAs<HWND>(m.record->FocusWindow));
    if (focused != nullptr) {
        // A focused push button is the one Enter presses: it alone looks default.
        if (defaultButton != focused) SetLook(defaultButton, false);
        if (old != focused) SetLook(old, false);
    } else {
        SetLook(defaultButton, true);
        if (old != defaultButton) SetLook(old, false);
    }
    m.record->FocusWindow = ToSlot(control);
    SetLook(focused, true);
    return 0;
}

LRESULT OnFocusNext(const Message& m) {
    if (!IsForm(*m.record)) return Generic(m);
    const auto control = reinterpret_cast<HWND>(m.lParam);
    const RuntimeRecord* record = FindWindowRecord(control);
    // Only a control that can no longer be used gives the focus away; enabling the focused
    // control leaves the focus where it is.
    if (record == nullptr || ToSlot(control) != m.record->FocusWindow || IsWindowEnabled(control)) return 0;
    SetFocus(NextTabStop(m.window, record->Index + 1, 0, 0, 0));
    return 0;
}

LRESULT OnNcActivate(const Message& m) {
    if (!IsForm(*m.record) || IsMinimised(*m.record)) return Generic(m);
    if (m.wParam != 0) {
        UpdateWindow(m.window);
        SetFocus(m.window);
        UpdateWindow(m.window);
    } else {
        HideDefaultLook(m);
    }
    if (!StillBound(m)) return 0;
    return Generic(m);
}

LRESULT OnNcButtonDown(const Message& m) {
    if (IsForm(*m.record) && !IsMinimised(*m.record) && m.wParam != HTNOWHERE) SetActiveWindow(m.window);
    return Generic(m);
}

LRESULT OnMdiActivate(const Message& m) {
    if (m.record->Type != form_kind::Window || m.record->MdiChild == 0) return Generic(m);
    if (CallApp(m) == 0) {
        HWND client = GetParent(m.window);
        HWND frame = GetParent(client);
        const RuntimeRecord* frameRecord = FindWindowRecord(frame);
        if (reinterpret_cast<HWND>(m.lParam) == m.window) {
            const uint32_t menu = m.record->Menu != 0 || frameRecord == nullptr ? m.record->Menu : frameRecord->Menu;
            SendToWindow(client, WM_MDISETMENU, menu, 0);
        }
        DrawMenuBar(frame);
    }
    return DefaultMdiChildProc(m.window, m.id, m.wParam, m.lParam);
}

LRESULT OnGetDefId(const Message& m) {
    if (!IsForm(*m.record)) return Generic(m);
    const RuntimeRecord* defaultButton = FindWindowRecord(SlotAs<HWND>(m.record->DefaultButton));
    if (defaultButton == nullptr) return 0;
    return MAKELONG(static_cast<WORD>(defaultButton->Index + 1000), DC_HASDEFID);
}

LRESULT OnSetDefId(const Message& m) {
    if (!IsForm(*m.record)) return Generic(m);
    if (m.wParam == 0) return ClearDefault(m);
    HWND chosen = SlotAs<HWND>(static_cast<uint32_t>(GetControlById(m.window, static_cast<int32_t>(m.wParam))));
    RuntimeRecord* button = PushButtonRecord(chosen);
    if (button == nullptr) return 1;
    HWND focus = SlotAs<HWND>(m.record->FocusWindow);
    if (RuntimeRecord* old = PushButtonRecord(SlotAs<HWND>(m.record->DefaultButton))) {
        // While a push button has the focus it keeps the look; the new default gets it later.
        if (RuntimeRecord* focusedButton = PushButtonRecord(focus)) {
            m.record->DefaultButton = ToSlot(chosen);
            SetLook(focusedButton, true);
            return 1;
        }
        SetLook(old, false);
    }
    SetLook(button, true);
    m.record->DefaultButton = ToSlot(chosen);
    if (FindWindowRecord(focus) != nullptr) NotifyFocusChanged(m.window, focus);
    return 1;
}

LRESULT OnSetCheck(const Message& m) {
    const int32_t type = m.record->Type;
    if (type != class_code::CheckBox && type != class_code::OptionButton) return Generic(m);
    const bool automatic = (GetWindowValue(m.window, GWL_STYLE) & 9) != 0;
    if (type == class_code::OptionButton && m.wParam == BST_CHECKED && automatic) UncheckSiblingOptions(m.window);
    CallDefault(m);
    m.record->Value = static_cast<int32_t>(m.wParam);
    // An option button is a tab stop only while it is the checked one of its group.
    if (type == class_code::OptionButton) m.record->TabStop = static_cast<int32_t>(m.wParam & 1);
    return 0;
}

LRESULT OnEnable(const Message& m) {
    SetEnabled(m.window, static_cast<int32_t>(m.wParam));
    if (!StillBound(m)) return 0;
    return Generic(m);
}

}  // namespace runtime
