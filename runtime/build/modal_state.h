#pragma once
// The modal state of a form, in one place. A form shown modally holds its owner in its
// ModalOwner slot (the non-zero modal flag while it has no owner) for as long as its modal
// loop runs; the owner is disabled meanwhile. The state ends by CloseModal (which destroys the
// form) or EndModalState (for a form being destroyed already), either of which keeps the
// modal result for the loop, enables the owner and activates it.

#include <cstdint>

#include "runtime/template/template_record.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace runtime {

// Whether `form` (null: no runtime window) is a form shown modally. Platform-free.
constexpr bool IsShownModally(const RuntimeRecord* form) {
    return form != nullptr && IsFormType(form->Type) && form->ModalOwner != 0;
}

// Notes in a form's record, before its window exists, whether it is to be shown modally: a
// non-zero `modal` stands in ModalOwner until the modal loop puts the owner there.
constexpr void NoteModalFlag(RuntimeRecord& form, int32_t modal) {
    form.ModalOwner = static_cast<uint32_t>(modal);
}

#ifdef _WIN32
// The same for a window: false for one that is no runtime form.
bool IsShownModally(HWND window);

// How a modal loop ended: the application refused the form at its creation notice, or the
// modal state ended with `result`.
struct ModalEnd {
    bool refused = false;
    int32_t result = 0;
};

// Shows the just-built form `window` modally: `owner` (when there is one) goes into its
// ModalOwner slot and is disabled, the form is announced and shown (runtime/build/form_builder.h)
// and focused, and the thread's messages are pumped until the form is gone. The quit message is
// left for the main loop. An owner this loop disabled is enabled again however the form went.
ModalEnd RunModalLoop(HWND window, HWND owner);

// Ends a modal form's modal state with `result` (which the form's modal loop returns): the
// owner is enabled again (the main window when the owner is gone), the form destroyed and the
// owner activated; 1. 0 for a form that is not shown modally and for any other window.
int32_t CloseModal(HWND window, int32_t result);

// The same for a modal form that is being destroyed already (its WM_DESTROY): the result is
// kept and the owner enabled and activated, but the form is not destroyed again; 1. 0 when the
// form is not shown modally or is no runtime form.
int32_t EndModalState(HWND window, int32_t result);
#endif

}  // namespace runtime
