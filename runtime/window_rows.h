#pragma once
// The rows of the runtime window procedure: one named handler per message (or family of
// messages), grouped by concern in their own files. The procedure itself
// (window_dispatch.cpp) is only the record lookup and a switch that calls these.

#include <windows.h>

#include "runtime/window_message.h"

namespace runtime {

// Binding and life of a window (window_lifecycle.cpp).
LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnUnboundMessage(HWND window, UINT id, WPARAM wParam, LPARAM lParam);
LRESULT OnCreate(const Message& m);
LRESULT OnInitDialog(const Message& m);
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

// Size, position, layout, texts, images and settings (window_layout.cpp).
LRESULT OnSize(const Message& m);
LRESULT OnMove(const Message& m);
LRESULT OnWindowPosChanged(const Message& m);
LRESULT OnShowWindow(const Message& m);
LRESULT OnStyleChanged(const Message& m);
LRESULT OnRelayout(const Message& m);
LRESULT OnSetText(const Message& m);
LRESULT OnSetFont(const Message& m);
LRESULT OnSetImage(const Message& m);  // STM_SETICON and STM_SETIMAGE
LRESULT OnSetImageList(const Message& m);  // CBEM_SETIMAGELIST (WM_USER + 2)
LRESULT OnSettingChange(const Message& m);

// Moves the window one pixel wider and higher and back, so that it goes through a full round
// of size messages with its final size; back with SetWindowPos (frame changed) when
// `frameChanged` is set, else with MoveWindow.
void NudgeWindowSize(HWND window, int32_t frameChanged);

}  // namespace runtime
