#pragma once
// The rows of the runtime window procedure: one named handler per message (or family of
// messages), grouped by concern in their own files. The procedure itself
// (window_dispatch.cpp) is only the record lookup and a switch that calls these.

#include <windows.h>

#include "runtime/window_message.h"

namespace runtime {

// Binding and creation (window_creation.cpp).
LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnUnboundMessage(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
LRESULT OnCreate(const Message& m);
LRESULT OnInitDialog(const Message& m);

// Closing and destruction (window_destruction.cpp).
LRESULT OnClose(const Message& m);
LRESULT OnDestroy(const Message& m);
LRESULT OnNcDestroy(const Message& m);

// Commands, notifications and the runtime's private queries (window_commands.cpp).
LRESULT OnCommand(const Message& m);  // WM_COMMAND and WM_NOTIFY
LRESULT OnDrawItem(const Message& m);
LRESULT OnMeasureItem(const Message& m);
LRESULT OnMeasureType(const Message& m);
LRESULT OnGetRecord(const Message& m);
LRESULT OnGetThemeLibrary(const Message& m);
LRESULT OnGetThemeActive(const Message& m);

// Keyboard, focus, activation, mouse and cursor (window_input.cpp).
LRESULT OnKeyDown(const Message& m);
LRESULT OnChar(const Message& m);
LRESULT OnSysCommand(const Message& m);
LRESULT OnSetFocus(const Message& m);
LRESULT OnNcActivate(const Message& m);
LRESULT OnNcButtonDown(const Message& m);  // WM_NCLBUTTONDOWN and WM_NCRBUTTONDOWN
LRESULT OnMdiActivate(const Message& m);
LRESULT OnGetDefId(const Message& m);
LRESULT OnSetDefId(const Message& m);
LRESULT OnSetCheck(const Message& m);
LRESULT OnEnable(const Message& m);
LRESULT OnSetCursor(const Message& m);
LRESULT OnNcHitTest(const Message& m);
LRESULT OnLButtonDown(const Message& m);
LRESULT OnLButtonUp(const Message& m);
LRESULT OnLButtonDblClk(const Message& m);
LRESULT OnRButtonDown(const Message& m);
LRESULT OnRButtonDblClk(const Message& m);
LRESULT OnMouseMove(const Message& m);
LRESULT OnMouseLeave(const Message& m);
LRESULT OnScroll(const Message& m);  // WM_HSCROLL and WM_VSCROLL
LRESULT OnNavKey(const Message& m);
LRESULT OnFocusChanged(const Message& m);
LRESULT OnFocusNext(const Message& m);

// Colours and painting (window_paint.cpp).
LRESULT OnCtlColor(const Message& m);  // every WM_CTLCOLOR... message
LRESULT OnEraseBackground(const Message& m);
LRESULT OnPaint(const Message& m);
LRESULT OnSysColorChange(const Message& m);
LRESULT OnThemeChanged(const Message& m);

// Size, position, layout and settings (window_layout.cpp).
LRESULT OnSize(const Message& m);
LRESULT OnMove(const Message& m);
LRESULT OnWindowPosChanged(const Message& m);
LRESULT OnShowWindow(const Message& m);
LRESULT OnStyleChanged(const Message& m);
LRESULT OnRelayout(const Message& m);
LRESULT OnSettingChange(const Message& m);

// Texts and images (window_text.cpp).
LRESULT OnSetText(const Message& m);
LRESULT OnSetFont(const Message& m);
LRESULT OnSetImage(const Message& m);  // STM_SETICON and STM_SETIMAGE
LRESULT OnSetImageList(const Message& m);  // CBEM_SETIMAGELIST (WM_USER + 2)

// Invalidates the window (erasing with `erase`) and has it painted at once.
void RepaintNow(HWND window, bool erase);

// The transparent-sibling rule: from `window` (included) through the windows above it
// (GW_HWNDPREV), the first transparent label is invalidated without erasing, so that a
// transparent label lying over another control is drawn again after that control.
void RedrawTransparentLabelFrom(HWND window);

// Measures the record's caption in its font: the text height goes to ImageHeight; for a group
// box (`group` set) also the caption's place, ClassValue3 the left offset (9) and ImageWidth the
// caption width + 4, all 0 for a caption that takes no room.
void MeasureRecordCaption(RuntimeRecord& record, int32_t group);

// Moves the window one pixel wider and higher and back, so that it goes through a full round
// of size messages with its final size; back with SetWindowPos (frame changed) when
// `frameChanged` is set, else with MoveWindow.
void NudgeWindowSize(HWND window, int32_t frameChanged);

}  // namespace runtime
