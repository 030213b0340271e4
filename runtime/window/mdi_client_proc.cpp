// The procedure of the runtime's MDI client (BKMDICLIENT): it hands the frame what concerns the
// frame and leaves everything else to the system MDICLIENT procedure kept at start-up.

#include "runtime/window/mdi_client_proc.h"

#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"
#include "runtime/window/window_mouse.h"

namespace runtime {

namespace {

LRESULT SystemClient(HWND client, UINT id, WPARAM wParam, LPARAM lParam) {
    if (mdiClientClassProc == nullptr) return DefaultWindowProc(client, id, wParam, lParam);
    return CallProc(mdiClientClassProc, client, id, wParam, lParam);
}

// The frame's application procedure, called with the frame's window.
LRESULT FrameApp(RuntimeRecord* frame, UINT id, WPARAM wParam, LPARAM lParam) {
    return CallApp(Message{WindowOf(*frame), id, wParam, lParam, frame});
}

// The client shows the frame's background, unless the frame's application paints it.
LRESULT OnClientEraseBackground(HWND client, RuntimeRecord* frame, WPARAM wParam, LPARAM lParam) {
    const LRESULT handled = FrameApp(frame, WM_ERASEBKGND, wParam, lParam);
    if (handled != 0) return handled;
    PaintFormBackground(client, reinterpret_cast<HDC>(wParam), *frame);  // the device context to erase
    return 1;
}

// The client's cursor follows the runtime's cursor rule, with the frame's record where the
// window under the mouse has none.
LRESULT OnClientSetCursor(HWND client, RuntimeRecord* frame, WPARAM wParam, LPARAM lParam) {
    return OnSetCursor(Message{client, WM_SETCURSOR, wParam, lParam, frame});
}

// With no child to take it, the focus goes back to the frame's focus window.
LRESULT OnClientSetFocus(HWND client, RuntimeRecord* frame, WPARAM wParam, LPARAM lParam) {
    HWND focus = SlotAs<HWND>(frame->FocusWindow);
    if (GetWindow(client, GW_CHILD) == nullptr && focus != nullptr && focus != GetFocus() &&
        focus != GetParent(client)) {
        SetFocus(focus);
        return 0;
    }
    return SystemClient(client, WM_SETFOCUS, wParam, lParam);
}

LRESULT OnClientSyncScroll(HWND client) {
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_POS;
        GetScrollInfo(client, bar, &info);
        SetScrollInfo(client, bar, &info, TRUE);
    }
    return 0;
}

LRESULT OnClientDestroy(HWND client, WPARAM wParam, LPARAM lParam) {
    while (HWND child = GetWindow(client, GW_CHILD)) {
        if (!DestroyWindow(child)) break;  // a child that cannot go would hold the loop forever
    }
    return SystemClient(client, WM_DESTROY, wParam, lParam);
}

LRESULT ClientDispatch(HWND client, RuntimeRecord* frame, UINT id, WPARAM wParam, LPARAM lParam) {
    switch (id) {
    case WM_ERASEBKGND: return OnClientEraseBackground(client, frame, wParam, lParam);
    case WM_SETCURSOR: return OnClientSetCursor(client, frame, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
        SendToWindow(WindowOf(*frame), id, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: return FrameApp(frame, id, wParam, lParam);
    case WM_SETFOCUS: return OnClientSetFocus(client, frame, wParam, lParam);
    case FRM_FOCUSCHANGED:
        frame->FocusWindow = static_cast<uint32_t>(lParam);
        return 0;
    case FRM_SYNCSCROLL: return OnClientSyncScroll(client);
    case WM_DESTROY: return OnClientDestroy(client, wParam, lParam);
    default: return SystemClient(client, id, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK MdiClientProc(HWND client, UINT id, WPARAM wParam, LPARAM lParam) noexcept {
    RuntimeRecord* frame = FindWindowRecord(GetParent(client));
    if (frame == nullptr) {
        if (id == WM_DESTROY) return OnClientDestroy(client, wParam, lParam);
        return SystemClient(client, id, wParam, lParam);
    }
    return ClientDispatch(client, frame, id, wParam, lParam);
}

}  // namespace runtime
