// Operations of the runtime window procedure that other parts of the runtime use too.

#include "runtime/window_proc.h"
#include "runtime/window_rows.h"
#include "runtime/window_table.h"

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
        if (IsContainer(*record)) {
            if (HWND found = FindControl(child, visit)) return found;
        }
    }
    return nullptr;
}

}  // namespace

HWND FindFormButton(HWND window, int32_t which) {
    return FindControl(window, [which](HWND, const RuntimeRecord& r) {
        if (r.Type != class_code::PushButton) return false;
        // A push button's cancel flag is its AutoSize slot, its default flag slot 36.
        return which == form_button::Cancel ? r.AutoSize != 0 : which == form_button::Default && r.NoClose != 0;
    });
}

HWND FirstTabStop(const RuntimeRecord* form) {
    HWND formWindow = SlotAs<HWND>(form->Window);
    HWND first = nullptr;
    int32_t firstIndex = 0;
    FindControl(formWindow, [&](HWND child, const RuntimeRecord& r) {
        if (IsForm(r) || r.TabStop == 0 || r.Visible == 0 || r.Enabled == 0) return false;
        if (first == nullptr || r.Index < firstIndex) {
            first = child;
            firstIndex = r.Index;
        }
        return false;
    });
    return first != nullptr ? first : formWindow;
}

int32_t WindowRectInParent(HWND window, RECT* rectangle) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !GetWindowRect(window, rectangle)) return -1;
    if (IsForm(*record) && record->MdiChild == 0) return 1;
    HWND parent = GetParent(window);
    if (parent == nullptr) return -1;
    POINT topLeft{rectangle->left, rectangle->top};
    ScreenToClient(parent, &topLeft);
    const LONG width = rectangle->right - rectangle->left;
    const LONG height = rectangle->bottom - rectangle->top;
    *rectangle = RECT{topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height};
    return 1;
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
