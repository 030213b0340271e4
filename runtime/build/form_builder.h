#pragma once
// The form builder: turns a form template into live windows. BuildForm copies the template
// tree into runtime records and creates the form's window; when that window reports its
// creation to the runtime window procedure, CompleteForm gives it its menu, tooltips, styles,
// colours, font, icons and caption and builds its controls (runtime/build/control_builder.h).

#include <windows.h>

#include <cstdint>

#include "runtime/build/form_geometry.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The creation notice's answer by which the application refuses a form.
constexpr LRESULT kRefuseForm = -1;

// The record whose window is being created. Set just before a form, group box or picture box
// window is asked for; the runtime window procedure takes it at the window's first creation
// message, binds the window to it and clears it. A record that no window took is still the
// builder's.
extern RuntimeRecord* pendingRecord;

// What BuildForm did.
struct FormBuild {
    enum class Outcome : uint8_t {
        NotCreated,  // there is no template, no memory for its records, or no window
        Refused,     // the application answered kRefuseForm to the creation notice: the form is gone
        Window,      // the form was built and shown: `window`
        ModalEnded,  // the form was shown modally and its modal state ended with `modalResult`
    };
    Outcome outcome = Outcome::NotCreated;
    HWND window = nullptr;
    int32_t modalResult = 0;
};

// Builds the form of the template record `form`: `parent` is its parent or owner window (or
// 0), a non-zero `modal` shows it modally (runtime/build/modal_state.h), `procedure` is kept in
// a dialog form's ClassProc for its WM_INITDIALOG.
FormBuild BuildForm(const TemplateRecord* form, HWND parent, int32_t modal, LONG_PTR procedure);

// The end of every build: the creation notice to the application, then, unless the
// application refused the form (its window is destroyed then: false), the form shown in the
// state its record says.
bool PresentBuiltForm(HWND window);

// Completes a form whose window (record->Window) has just been created: images, picture, menu,
// tooltips, styles, colours, font, timer, icons, caption, position, and its controls.
void CompleteForm(RuntimeRecord* form);

// The place of a form by its StartPosition, for a window of `width` by `height` pixels whose
// parent is `parent` (0 for none).
Placement FormStartPlacement(const RuntimeRecord* form, HWND parent, int32_t width, int32_t height);

}  // namespace runtime
