// Operations of the runtime window procedure that other parts of the runtime use too: finding
// the form's buttons and tab stops, the default-button look, the dock layout and the window's
// place in its parent.

#include "runtime/window/window_operations.h"

#include <commctrl.h>

#include "runtime/build/build_support.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"
#include "runtime/window/dock_layout.h"
#include "runtime/window/tab_order.h"

namespace runtime {

namespace {

// Visits the child windows that have a record, depth first through group boxes, pictures and
// rebars, until `visit` returns true; returns the window it stopped at, or null.
template <class Visit>
HWND FindControl(HWND parent, Visit visit) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RuntimeRecord* record = FindWindowRecord(child);
        if (record == nullptr) continue;
        if (visit(child, *record)) return child;
        if (IsContainer(record->Type)) {
            if (HWND found = FindControl(child, visit)) return found;
        }
    }
    return nullptr;
}

// The option button among `option`'s siblings (itself included) that is checked, or null.
HWND CheckedOption(HWND option) {
    for (HWND sibling = GetWindow(GetParent(option), GW_CHILD); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        const RuntimeRecord* record = FindWindowRecord(sibling);
        if (record == nullptr || record->Type != class_code::OptionButton) continue;
        if (SendToWindow(sibling, BM_GETCHECK, 0, 0) == BST_CHECKED) return sibling;
    }
    return nullptr;
}

// A click as the mouse makes it, so that an automatic option button checks itself and tells
// its form.
void Click(HWND button) {
    SendToWindow(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendToWindow(button, WM_LBUTTONUP, 0, 0);
}

// A child that takes part in the dock layout, as the layout's sink sees it.
struct DockedWindow {
    HWND window;
    const RuntimeRecord* record;
};

struct DockMoves {
    void Move(DockedWindow child, const Placement& place) {
        MoveWindow(child.window, place.left, place.top, place.width, place.height, TRUE);
    }
    // A toolbar's buttons keep their size whatever the layout did to the bar.
    void SetButtonSize(DockedWindow toolbar) {
        const LPARAM size = MAKELPARAM(toolbar.record->ClassValue2, toolbar.record->ClassValue1);
        SendToWindow(toolbar.window, TB_SETBUTTONSIZE, 0, size);
    }
};

}  // namespace

int32_t CountControls(HWND form) {
    int32_t count = 0;
    FindControl(form, [&](HWND, const RuntimeRecord&) {
        ++count;
        return false;
    });
    return count;
}

HWND ControlWithIndex(HWND form, int32_t index) {
    return FindControl(form, [index](HWND, const RuntimeRecord& r) { return !IsForm(r) && r.Index == index; });
}

bool PassesFocusOn(int32_t type) {
    switch (type) {
    case class_code::Label:
    case class_code::GroupBox:
    case class_code::Image:
    case class_code::Toolbar:
    case class_code::StatusBar:
    case class_code::ProgressBar:
    case class_code::Pager:
    case class_code::Rebar:
        return true;
    default:
        return false;
    }
}

HWND FindFormButton(HWND window, int32_t which) {
    return FindControl(window, [which](HWND, const RuntimeRecord& r) {
        if (r.Type != class_code::PushButton) return false;
        return which == form_button::Cancel ? r.IsCancel != 0 : which == form_button::Default && r.IsDefault != 0;
    });
}

HWND FirstTabStop(const RuntimeRecord* form) {
    HWND formWindow = SlotAs<HWND>(form->Window);
    HWND first = nullptr;
    int32_t firstIndex = 0;
    FindControl(formWindow, [&](HWND child, const RuntimeRecord& r) {
        if (IsForm(r) || r.TabStop == 0 || r.Visible == 0 || r.Enabled == 0 || PassesFocusOn(r.Type)) return false;
        if (first == nullptr || r.Index < firstIndex) {
            first = child;
            firstIndex = r.Index;
        }
        return false;
    });
    return first != nullptr ? first : formWindow;
}

HWND NextTabStop(HWND form, int32_t start, int32_t backwards, int32_t arrow, int32_t initial) {
    HWND found = nullptr;
    SearchTabOrder(start, CountControls(form), backwards != 0, [&](int32_t index) {
        HWND control = ControlWithIndex(form, index);
        found = control != nullptr ? IsTabStop(control, arrow, initial) : nullptr;
        return found != nullptr;
    });
    return found != nullptr ? found : form;
}

HWND IsTabStop(HWND control, int32_t arrow, int32_t initial) {
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return nullptr;
    const RuntimeRecord* record = FindWindowRecord(control);
    // A control that would hand the focus straight on is no place to stop: two of them
    // marked as tab stops would hand it to each other for ever.
    if (record == nullptr || PassesFocusOn(record->Type)) return nullptr;
    if (record->Type == class_code::OptionButton) {
        if (initial != 0) return CheckedOption(control);
        if (arrow != 0) {
            Click(control);
            return control;
        }
    }
    return record->TabStop != 0 ? control : nullptr;
}

void SetButtonDefaultLook(RuntimeRecord* button, int32_t on) {
    if (button == nullptr) return;
    HWND window = WindowOf(*button);
    button->IsDefault = on;
    // An owner-drawn button draws the look itself; its style must keep its owner-draw type.
    if (button->OwnerDrawn == 0) {
        const auto style = static_cast<WPARAM>(GetWindowValue(window, GWL_STYLE) & 0xFFFF);
        const WPARAM look = on != 0 ? style | BS_DEFPUSHBUTTON : style & ~static_cast<WPARAM>(BS_DEFPUSHBUTTON);
        SendToWindow(window, BM_SETSTYLE, look, TRUE);
    }
    InvalidateRect(window, nullptr, FALSE);
}

void DockLayout(RuntimeRecord* record) {
    if (record == nullptr) return;
    HWND window = WindowOf(*record);
    RECT client{};
    if (!GetClientRect(window, &client)) return;
    HWND mdiClient = record->Type == form_kind::MdiFrame ? SlotAs<HWND>(record->MdiClient) : nullptr;
    const bool alternativeOrder = IsForm(*record) && record->AlternativeDocking != 0;
    auto forEachChild = [&](auto visit) {
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (child == mdiClient) continue;
            const RuntimeRecord* r = FindWindowRecord(child);
            if (r == nullptr) continue;
            const DockChild docked{r->Type, r->Visible, r->DockSide, TwipsToPixelsX(r->Width, r->ScaleMode),
                                   TwipsToPixelsY(r->Height, r->ScaleMode)};
            visit(docked, DockedWindow{child, r});
        }
    };
    DockMoves moves;
    const DockArea free = RunDockPasses(forEachChild, DockArea{client.left, client.top, client.right, client.bottom},
                                        alternativeOrder, moves);
    if (mdiClient != nullptr) {
        MoveWindow(mdiClient, free.left, free.top, free.right - free.left, free.bottom - free.top, TRUE);
    }
}

void NudgeWindowSize(HWND window, int32_t frameChanged) {
    RECT r{};
    if (WindowRectInParent(window, &r) < 0) return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    MoveWindow(window, r.left, r.top, width + 1, height + 1, FALSE);
    if (frameChanged != 0) {
        SetWindowPos(window, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_FRAMECHANGED);
    } else {
        MoveWindow(window, r.left, r.top, width, height, FALSE);
    }
}

}  // namespace runtime
