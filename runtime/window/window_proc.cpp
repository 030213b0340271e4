// The runtime window procedure: the record lookup and one line per message.

#include "runtime/window/window_proc.h"

#include <commctrl.h>

#include "runtime/process/runtime_messages.h"
#include "runtime/process/window_table.h"
#include "runtime/window/window_commands.h"
#include "runtime/window/window_creation.h"
#include "runtime/window/window_destruction.h"
#include "runtime/window/window_focus.h"
#include "runtime/window/window_keyboard.h"
#include "runtime/window/window_layout.h"
#include "runtime/window/window_mouse.h"
#include "runtime/window/window_paint.h"
#include "runtime/window/window_text.h"

namespace runtime {

namespace {

LRESULT Dispatch(const Message& m) {
    switch (m.id) {
    // Creation and destruction.
    case WM_CREATE: return OnCreate(m);
    case WM_INITDIALOG: return OnInitDialog(m);
    case WM_CLOSE: return OnClose(m);
    case WM_DESTROY: return OnDestroy(m);
    case WM_NCDESTROY: return OnNcDestroy(m);
    // Keyboard, focus, activation, mouse and cursor.
    case WM_KEYDOWN: return OnKeyDown(m);
    case WM_CHAR: return OnChar(m);
    case WM_SYSCOMMAND: return OnSysCommand(m);
    case WM_SETFOCUS: return OnSetFocus(m);
    case WM_NCACTIVATE: return OnNcActivate(m);
    case WM_NCLBUTTONDOWN: return OnNcButtonDown(m);
    case WM_NCRBUTTONDOWN: return OnNcButtonDown(m);
    case WM_MDIACTIVATE: return OnMdiActivate(m);
    case DM_GETDEFID: return OnGetDefId(m);
    case DM_SETDEFID: return OnSetDefId(m);
    case BM_SETCHECK: return OnSetCheck(m);
    case WM_ENABLE: return OnEnable(m);
    case WM_SETCURSOR: return OnSetCursor(m);
    case WM_NCHITTEST: return OnNcHitTest(m);
    case WM_LBUTTONDOWN: return OnLButtonDown(m);
    case WM_LBUTTONUP: return OnLButtonUp(m);
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(m);
    case WM_RBUTTONDOWN: return OnRButtonDown(m);
    case WM_RBUTTONDBLCLK: return OnRButtonDblClk(m);
    case WM_MOUSEMOVE: return OnMouseMove(m);
    case WM_MOUSELEAVE: return OnMouseLeave(m);
    case WM_HSCROLL: return OnScroll(m);
    case WM_VSCROLL: return OnScroll(m);
    case FRM_NAVKEY: return OnNavKey(m);
    case FRM_FOCUSCHANGED: return OnFocusChanged(m);
    case FRM_FOCUSNEXT: return OnFocusNext(m);
    // Commands and notifications.
    case WM_COMMAND: return OnCommand(m);
    case WM_NOTIFY: return OnNotify(m);
    case WM_DRAWITEM: return OnDrawItem(m);
    case WM_MEASUREITEM: return OnMeasureItem(m);
    case FRM_MEASURETYPE: return OnMeasureType(m);
    // Colours and painting.
    case WM_CTLCOLORSTATIC: return OnCtlColor(m);
    case WM_CTLCOLORBTN: return OnCtlColor(m);
    case WM_CTLCOLOREDIT: return OnCtlColor(m);
    case WM_CTLCOLORLISTBOX: return OnCtlColor(m);
    case WM_CTLCOLORSCROLLBAR: return OnCtlColor(m);
    case WM_ERASEBKGND: return OnEraseBackground(m);
    case WM_PAINT: return OnPaint(m);
    case WM_PRINTCLIENT: return OnPrintClient(m);
    case WM_SYSCOLORCHANGE: return OnSysColorChange(m);
    case WM_THEMECHANGED: return OnThemeChanged(m);
    // Size, position, layout, texts and images.
    case WM_SIZE: return OnSize(m);
    case WM_MOVE: return OnMove(m);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(m);
    case WM_SHOWWINDOW: return OnShowWindow(m);
    case WM_STYLECHANGED: return OnStyleChanged(m);
    case FRM_RELAYOUT: return OnRelayout(m);
    case WM_SETTEXT: return OnSetText(m);
    case WM_SETFONT: return OnSetFont(m);
    case STM_SETICON: return OnSetImage(m);
    case STM_SETIMAGE: return OnSetImage(m);
    case CBEM_SETIMAGELIST: return OnSetImageList(m);
    case WM_SETTINGCHANGE: return OnSettingChange(m);
    // The runtime's private queries.
    case FRM_GETRECORD: return OnGetRecord(m);
    case FRM_GETTHEMELIB: return OnGetThemeLibrary(m);
    case FRM_GETTHEMEACTIVE: return OnGetThemeActive(m);
    default: return Generic(m);
    }
}

}  // namespace

LRESULT CALLBACK RuntimeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) return OnNcCreate(window, wParam, lParam);
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return OnUnboundMessage(window, message, wParam, lParam);
    return Dispatch(Message{window, message, wParam, lParam, record});
}

}  // namespace runtime
