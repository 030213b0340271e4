// Keyboard rows of the runtime window procedure: Tab, Shift+Tab and the arrows move the focus
// through the form's tab order, Enter presses the focused or the default push button, Esc the
// cancel button, and Alt with a letter the control whose caption carries it. A control hands
// its navigation keys to its parent as FRM_NAVKEY; containers pass them on; the form acts.

#include "runtime/window/window_keyboard.h"

#include <commctrl.h>

#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_getters.h"
#include "runtime/text/text_search.h"
#include "runtime/window/window_focus.h"
#include "runtime/window/window_operations.h"

namespace runtime {

namespace {

bool IsArrowKey(WPARAM key) { return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN; }

// An edit that takes Enter as a new line rather than as a press of the default button.
bool WantsReturn(const Message& m) {
    return IsEditKind(m.record->Type) && (GetWindowValue(m.window, GWL_STYLE) & ES_WANTRETURN) != 0;
}

bool ListDropped(HWND control) { return SendToWindow(control, CB_GETDROPPEDSTATE, 0, 0) != 0; }

LRESULT NavKeyToParent(const Message& m, WPARAM key) {
    return SendToWindow(GetParent(m.window), FRM_NAVKEY, key, reinterpret_cast<LPARAM>(m.window));
}

// Enter in a control: the form hears of it first; then the control itself gets the key, unless
// the application destroyed it meanwhile.
LRESULT ReturnInControl(const Message& m) {
    NavKeyToParent(m, VK_RETURN);
    if (!StillBound(m)) return 0;
    return CallDefault(m);
}

LRESULT ControlKeyDown(const Message& m) {
    const int32_t type = m.record->Type;
    switch (m.wParam) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (IsButtonKind(type)) return NavKeyToParent(m, m.wParam);
        return CallDefault(m);
    case VK_TAB:
        NavKeyToParent(m, VK_TAB);
        return 0;
    case VK_ESCAPE:
        // An open drop-down list closes first.
        if (ListDropped(m.window)) return CallDefault(m);
        NavKeyToParent(m, VK_ESCAPE);
        return 0;
    case VK_RETURN:
        if (type == class_code::ComboBox) {
            if (ListDropped(m.window)) return CallDefault(m);
            NavKeyToParent(m, VK_RETURN);
            return 0;
        }
        if (WantsReturn(m)) return CallDefault(m);
        return ReturnInControl(m);
    default:
        return CallDefault(m);
    }
}

// The form's application procedure hears a press of `button` as the button's own click.
void CommandButton(const Message& form, HWND button) {
    const RuntimeRecord* record = FindWindowRecord(button);
    if (record == nullptr) return;
    const WPARAM command = MAKEWPARAM(static_cast<WORD>(record->ControlId), BN_CLICKED);
    CallApp(Message{form.window, WM_COMMAND, command, reinterpret_cast<LPARAM>(button), form.record});
}

// A button that Enter or Esc may press without being focused: one the operator could click.
bool Pressable(HWND button) { return button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button); }

LRESULT FormMoveFocus(const Message& m) {
    // Without a focus window that has a record the search starts before the first control,
    // which finds the first tab stop forwards and the last one backwards.
    int32_t index = -1;
    const RuntimeRecord* focus = FindWindowRecord(SlotAs<HWND>(m.record->FocusWindow));
    if (focus == nullptr || IsForm(*focus)) focus = FindWindowRecord(reinterpret_cast<HWND>(m.lParam));
    if (focus != nullptr && !IsForm(*focus)) index = focus->Index;
    const bool arrow = IsArrowKey(m.wParam);
    // Shift reverses Tab only; Shift with an arrow moves as the arrow says.
    const bool backwards = m.wParam == VK_UP || m.wParam == VK_LEFT ||
                           (m.wParam == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    const int32_t start = index < 0 ? (backwards ? -1 : 0) : (backwards ? index - 1 : index + 1);
    HWND next = NextTabStop(m.window, start, backwards ? 1 : 0, arrow ? 1 : 0, 0);
    // Without any tab stop the form keeps the focus itself and remembers so, rather than
    // the control that handed the focus on.
    if (next == m.window) m.record->FocusWindow = ToSlot(m.window);
    SetFocus(next);
    return 0;
}

LRESULT FormReturn(const Message& m) {
    const auto control = reinterpret_cast<HWND>(m.lParam);
    const RuntimeRecord* pressed = FindWindowRecord(control);
    if (pressed != nullptr && pressed->Type == class_code::PushButton) {
        CommandButton(m, control);
        return 0;
    }
    // A disabled or hidden default button stays unpressed, as a click could not reach it.
    HWND defaultButton = SlotAs<HWND>(m.record->DefaultButton);
    if (defaultButton != nullptr && Pressable(defaultButton)) CommandButton(m, defaultButton);
    return 0;
}

LRESULT FormEscape(const Message& m) {
    HWND cancel = FindFormButton(m.window, form_button::Cancel);
    if (Pressable(cancel)) CommandButton(m, cancel);
    return 0;
}

// The captions of a tab control's tabs, in the runtime's text mode, tested for the mnemonic.
int32_t TabWithMnemonic(HWND tabs, uint32_t character) {
    const int32_t count = static_cast<int32_t>(SendToWindow(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int32_t tab = 0; tab < count; ++tab) {
        wchar_t text[260] = {};  // large enough for either text mode
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(sizeof text / sizeof text[0]) - 1;
        // The ANSI and wide item blocks differ only in the text pointer's type.
        SendToWindow(tabs, MessageInMode(TCM_GETITEMA, TCM_GETITEMW), static_cast<WPARAM>(tab),
                     reinterpret_cast<LPARAM>(&item));
        if (MatchMnemonic(text, character) != 0) return tab;
    }
    return -1;
}

void NotifyTabParent(HWND tabs, UINT code) {
    NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), code};
    SendToWindow(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

bool CaptionHasMnemonic(HWND control, uint32_t character) {
    wchar_t text[512] = {};  // large enough for either text mode
    if (wideMode != 0) {
        GetWindowTextW(control, text, 512);
    } else {
        GetWindowTextA(control, reinterpret_cast<char*>(text), static_cast<int>(sizeof text));
    }
    return MatchMnemonic(text, character) != 0;
}

// Acts on the control when its caption (or one of its tabs) carries the mnemonic; whether it
// did.
bool ActOnMnemonic(HWND control, uint32_t character) {
    const RuntimeRecord* record = FindWindowRecord(control);
    if (record == nullptr || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
    if (record->Type == class_code::TabControl) {
        const int32_t tab = TabWithMnemonic(control, character);
        if (tab < 0) return false;
        SetFocus(control);
        NotifyTabParent(control, TCN_SELCHANGING);
        SendToWindow(control, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
        NotifyTabParent(control, TCN_SELCHANGE);
        return true;
    }
    if (!CaptionHasMnemonic(control, character)) return false;
    if (IsButtonKind(record->Type)) {
        SendToWindow(control, BM_CLICK, 0, 0);
    } else {
        SetFocus(control);
    }
    return true;
}

}  // namespace

HWND MnemonicFocus(HWND window, uint32_t character) {
    const int32_t owner = GetProperty(window, property::OwnerForm);
    HWND form = owner > 0 ? SlotAs<HWND>(static_cast<uint32_t>(owner)) : window;
    RuntimeRecord* formRecord = FindWindowRecord(form);
    if (formRecord == nullptr) return nullptr;
    const int32_t count = CountControls(form);
    if (count == 0) return nullptr;
    const RuntimeRecord* focus = FindWindowRecord(SlotAs<HWND>(formRecord->FocusWindow));
    if (focus == nullptr || IsForm(*focus)) {
        HWND first = ControlWithIndex(form, 0);
        if (first == nullptr) return nullptr;
        formRecord->FocusWindow = ToSlot(first);
        focus = FindWindowRecord(first);
    }
    // From the control after the focused one to the end, then once round from the first.
    const int32_t after = focus != nullptr ? focus->Index + 1 : 0;
    for (int32_t pass = 0; pass < 2; ++pass) {
        for (int32_t index = pass == 0 ? after : 0; index < count; ++index) {
            HWND control = ControlWithIndex(form, index);
            if (control == nullptr || !ActOnMnemonic(control, character)) continue;
            // The click may have closed the form.
            return IsWindow(form) ? control : nullptr;
        }
    }
    return nullptr;
}

LRESULT OnKeyDown(const Message& m) {
    if (const LRESULT handled = CallApp(m)) return handled;
    if (!StillBound(m)) return 0;
    if (!IsForm(*m.record)) return ControlKeyDown(m);
    switch (m.wParam) {
    case VK_TAB:
        FocusRememberedControl(*m.record);
        return 0;
    case VK_ESCAPE:
        SendToWindow(m.window, FRM_NAVKEY, VK_ESCAPE, reinterpret_cast<LPARAM>(m.window));
        return 0;
    default:
        return CallDefault(m);
    }
}

LRESULT OnChar(const Message& m) {
    if (IsForm(*m.record)) {
        if (m.wParam != '\t') return Generic(m);
        FocusRememberedControl(*m.record);
        return 0;
    }
    // Tab, Esc and Enter were navigation keys: no character is left over, except the new line
    // of an edit that wants it.
    if (m.wParam == '\t' || m.wParam == VK_ESCAPE) return 0;
    if (m.wParam == '\r' && !WantsReturn(m)) return 0;
    return Generic(m);
}

LRESULT OnNavKey(const Message& m) {
    if (!IsForm(*m.record)) {
        // A container passes on the control that raised the key, not itself: Enter presses
        // the push button it names.
        SendToWindow(GetParent(m.window), FRM_NAVKEY, m.wParam, m.lParam);
        return 0;
    }
    switch (m.wParam) {
    case VK_TAB:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return FormMoveFocus(m);
    case VK_RETURN:
        return FormReturn(m);
    case VK_ESCAPE:
        return FormEscape(m);
    default:
        return 0;
    }
}

LRESULT OnSysCommand(const Message& m) {
    switch (m.wParam & 0xFFF0) {
    case SC_KEYMENU:
        if (MnemonicFocus(m.window, static_cast<uint32_t>(m.lParam)) != nullptr) return 0;
        if (!StillBound(m)) return 0;
        return Generic(m);
    case SC_MINIMIZE:
        m.record->WindowState = window_state::Minimised;
        return Generic(m);
    case SC_RESTORE:
        m.record->WindowState = window_state::Normal;
        return Generic(m);
    case SC_MAXIMIZE:
        m.record->WindowState = window_state::Maximised;
        return Generic(m);
    default:
        return Generic(m);
    }
}

}  // namespace runtime
