#include "runtime/build/modal_state.h"

#include "runtime/build/form_builder.h"
#include "runtime/process/application.h"
#include "runtime/process/message_pump.h"
#include "runtime/process/wait_cursor.h"
#include "runtime/process/window_table.h"

namespace runtime {

namespace {

// The result of the modal state that ended last, for its loop.
int32_t modalResult = 0;

// Messages at which the modal form takes the activation and the focus back.
bool TakesModalFocus(UINT message) {
    switch (message) {
        case WM_ACTIVATEAPP:
        case WM_NCLBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return true;
        default:
            return false;
    }
}

void FocusModalForm(HWND window) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    SetActiveWindow(window);
    SetFocus(record->FocusWindow != 0 ? SlotAs<HWND>(record->FocusWindow) : window);
}

void FocusModalFormAfter(const MSG& message, HWND window) {
    if (TakesModalFocus(message.message)) FocusModalForm(window);
}

// Ends the modal state of a modal form: its owner (the main window when the owner is gone) is
// taken from the record and enabled again, and the result kept for the modal loop. False, and
// nothing done, when the window is no dialog or window form shown modally.
bool ReleaseModalOwner(HWND window, int32_t result, HWND* owner) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (!IsShownModally(record) || (record->Type != form_kind::Dialog && record->Type != form_kind::Window)) {
        return false;
    }
    *owner = SlotAs<HWND>(record->ModalOwner);
    record->ModalOwner = 0;
    modalResult = result;
    if (!IsWindow(*owner)) *owner = SlotAs<HWND>(Application.MainWindow);
    if (*owner != nullptr) EnableWindow(*owner, TRUE);
    return true;
}

}  // namespace

bool IsShownModally(HWND window) { return IsShownModally(FindWindowRecord(window)); }

ModalEnd RunModalLoop(HWND window, HWND owner) {
    modalResult = 0;
    bool ownerWasEnabled = false;
    if (owner != nullptr) {
        EndWaitCursor();
        ownerWasEnabled = EnableWindow(owner, FALSE) == 0;
        if (RuntimeRecord* record = FindWindowRecord(window)) record->ModalOwner = ToSlot(owner);
    }
    const bool refused = !PresentBuiltForm(window);
    if (!refused && IsWindow(window)) FocusModalForm(window);

    PumpRules rules;
    rules.whileWindow = window;
    // The quit message belongs to the main loop, which would otherwise never end.
    rules.keepQuit = true;
    rules.accelerators = SlotAs<HACCEL>(Application.Accel);
    rules.acceleratorWindow = window;
    rules.beforeDispatch = FocusModalFormAfter;
    PumpMessages(rules);

    // An owner this loop disabled is never left disabled, however the form went away.
    if (ownerWasEnabled && IsWindow(owner) && !IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
    return ModalEnd{refused, refused ? 0 : modalResult};
}

int32_t CloseModal(HWND window, int32_t result) {
    HWND owner = nullptr;
    if (!ReleaseModalOwner(window, result, &owner)) return 0;
    DestroyWindow(window);
    if (owner != nullptr) SetActiveWindow(owner);
    return 1;
}

int32_t EndModalState(HWND window, int32_t result) {
    HWND owner = nullptr;
    if (!ReleaseModalOwner(window, result, &owner)) return 0;
    if (owner != nullptr) SetActiveWindow(owner);
    return 1;
}

}  // namespace runtime
