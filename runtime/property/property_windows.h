#pragma once
// The property interface's functions on windows and messages: finding a control by its
// identifier, redrawing, the default processing of a message, and a few queries. (The modal
// state, CloseModal and EndModalState, is runtime/build/modal_state.h, the wait cursor
// runtime/process/wait_cursor.h, DoEvents runtime/process/message_pump.h.) Each takes plain 32-bit values; a window
// that is not a runtime window gives 0 unless said otherwise.

#include <windows.h>

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

// The control of the window's form (the form of a control) whose identifier is `id` (1000 +
// Index), searched in z-order and depth first through group boxes, pictures and rebars; for an
// image-list holder its image list. 0 when there is none.
int32_t GetControlById(HWND window, int32_t id);

// Redraws the window with its frame and all its children at once, then DoEvents; 1.
int32_t Refresh(HWND window);

// Invalidates the window with erase and paints it at once; 1.
int32_t Repaint(HWND window);

// The message handed to the window's default processing (its class procedure, the MDI frame or
// child default, or DefWindowProc) and that result; -1 for a window that is no runtime window.
int32_t CallDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 1 when the window is the default push button of its form, else 0.
int32_t IsDefaultButton(HWND window);

// Reads a form's show state into its WindowState (-1 hidden... 2 maximised) and returns it;
// -1 for a control or a window that is no runtime window.
int32_t UpdateWindowState(HWND window);

// The tooltip window of a form, or of the form that owns a control; 0 when it has none.
int32_t GetToolTipWindow(HWND window);

// Builds the controls that follow the template record `container` (its ControlCount children,
// laid out as a form's) inside the window, which must be a form, a group box or a picture box;
// they join the window's children. 1 when built, 0 otherwise.
int32_t LoadChildForm(HWND window, const TemplateRecord* container);

// Fills the rectangle with the window's rectangle (screen coordinates for a top-level form, the
// parent's client coordinates otherwise) in the window's scale mode; 1, or 0 when it cannot be
// had. The rectangle is checked for writing first.
int32_t GetWindowRectInUnits(HWND window, RECT* rectangle);

}  // namespace runtime
