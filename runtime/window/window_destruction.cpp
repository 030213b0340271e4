// The runtime window procedure's closing and destruction rows: a form closes unless its
// application refuses, a modal form ends its modal state, every window gives back what its
// record owns (GDI objects, list contents, toolbar texts, image lists, tooltips) at WM_DESTROY,
// and its record leaves the window table at WM_NCDESTROY, its last message, with the reference
// on the shared pens it took when it was bound: the window is a runtime window for as long as
// it exists.

#include "runtime/window/window_destruction.h"

#include <commctrl.h>

#include "runtime/build/build_support.h"
#include "runtime/build/control_setup.h"
#include "runtime/build/form_builder.h"
#include "runtime/paint/button_hover.h"
#include "runtime/build/modal_state.h"
#include "runtime/paint/shared_pens.h"
#include "runtime/paint/theme_support.h"
#include "runtime/process/application.h"
#include "runtime/process/record_release.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_windows.h"
#include "runtime/template/template_items.h"
#include "runtime/template/template_values.h"

namespace runtime {

namespace {

// The modal result of a modal form that is destroyed without being closed.
constexpr int32_t kDestroyedModalResult = 2;

void DeleteOwned(uint32_t& slot) {
    DeleteImageObject(slot);
    slot = 0;
}

// The brush, font, pen, cursor, icons and picture a record owns.
void DeleteRecordGdiObjects(RuntimeRecord& r) {
    DeleteOwned(r.BackBrush);
    DeleteOwned(r.FontHandle);
    DeleteOwned(r.Pen);
    DeleteOwned(r.Cursor);
    if (IsForm(r)) {
        DeleteOwned(r.Icon);
        DeleteOwned(r.SmallIcon);
    }
    if (r.ImageKind != image_kind::None) DeleteOwned(r.Picture);
}

void KillRuntimeTimer(RuntimeRecord& r, HWND window) {
    if (r.TimerId != 0 && KillTimer(window, kFormTimerId)) r.TimerId = 0;
}

// A closing form's tooltips: every control's tool goes, then the tooltip window.
void RemoveTools(HWND tooltip, HWND parent) {
    // The 44-byte tool record (without the reserved pointer of later versions).
    constexpr UINT kToolRecordSize = 44;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const RuntimeRecord* record = FindWindowRecord(child);
        if (record == nullptr) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = kToolRecordSize;
        tool.hwnd = child;
        tool.uId = reinterpret_cast<UINT_PTR>(child);  // tools are named by their window
        SendToWindow(tooltip, MessageInMode(TTM_DELTOOLA, TTM_DELTOOLW), 0, reinterpret_cast<LPARAM>(&tool));
        if (IsContainer(record->Type)) RemoveTools(tooltip, child);
    }
}

void RemoveFormTooltips(RuntimeRecord& r, HWND window) {
    HWND tooltip = SlotAs<HWND>(r.ToolTip);
    RemoveTools(tooltip, window);
    DestroyWindow(tooltip);
    r.ToolTip = 0;
}

// The menu the MDI frame shows goes back to the frame's own when one of its children closes.
void RestoreFrameMenu(HWND child) {
    HWND client = GetParent(child);
    HWND frame = client != nullptr ? GetParent(client) : nullptr;
    const RuntimeRecord* frameRecord = FindWindowRecord(frame);
    if (frameRecord == nullptr) return;
    SendToWindow(client, WM_MDISETMENU, frameRecord->Menu, 0);
    DrawMenuBar(frame);
}

// The window that gets the activation when a form goes: its parent, or the main form for
// another top-level form; none for an MDI child or the main form itself.
HWND WindowToReactivate(const RuntimeRecord& r, HWND window) {
    if (r.MdiChild != 0) return nullptr;
    HWND parent = GetParent(window);
    if (parent != nullptr) return parent;
    if (IsMainForm(r)) return nullptr;
    return SlotAs<HWND>(Application.MainWindow);
}

LRESULT OnFormDestroy(const Message& m) {
    RuntimeRecord& r = *m.record;
    // A modal form that is being destroyed ends its modal state as closing it would, without a
    // second destruction: its owner is enabled again and activated before the form goes, and
    // the modal loop returns kDestroyedModalResult.
    if (IsShownModally(&r)) {
        EndModalState(m.window, kDestroyedModalResult);
    } else {
        HWND reactivate = WindowToReactivate(r, m.window);
        if (reactivate != nullptr && reactivate != m.window && IsWindow(reactivate)) {
            SetActiveWindow(reactivate);
            SetFocus(reactivate);
        }
    }
    SendToWindow(m.window, WM_SETICON, ICON_BIG, 0);
    SendToWindow(m.window, WM_SETICON, ICON_SMALL, 0);
    DeleteRecordGdiObjects(r);
    if (!IsImageResourceId(r.Menu) && r.Menu != 0 && IsMenu(SlotAs<HMENU>(r.Menu))) DestroyMenu(SlotAs<HMENU>(r.Menu));
    r.Menu = 0;
    const LRESULT result = CallDefault(m);
    if (IsMainForm(r)) PostQuitMessage(0);
    return result;
}

// A toolbar's button texts and image list.
void ReleaseToolbar(RuntimeRecord& r, HWND window) {
    if (r.Items != 0) {
        auto* buttons = SlotAs<ToolbarButtonItem*>(r.Items);
        for (int32_t i = 0; i < r.ItemCount; ++i) {
            FreeRuntimeBlock(SlotAs<void*>(buttons[i].Data));
            buttons[i].Data = 0;
        }
    }
    auto images = reinterpret_cast<HIMAGELIST>(SendToWindow(window, TB_GETIMAGELIST, 0, 0));
    if (images == nullptr) return;
    SendToWindow(window, TB_SETIMAGELIST, 0, 0);
    ImageList_Remove(images, -1);
    ImageList_Destroy(images);
}

// What list-like controls, toolbars and image-list holders hold goes before the control.
void EmptyControl(const Message& m) {
    RuntimeRecord& r = *m.record;
    switch (r.Type) {
    case class_code::ListBox: SendToWindow(m.window, LB_RESETCONTENT, 0, 0); break;
    case class_code::ComboBox: SendToWindow(m.window, CB_RESETCONTENT, 0, 0); break;
    case class_code::ListView:
        SendToWindow(m.window, LVM_DELETEALLITEMS, 0, 0);
        while (SendToWindow(m.window, LVM_DELETECOLUMN, 0, 0) != 0) {}
        break;
    case class_code::TreeView:
        SendToWindow(m.window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));  // the root item's handle
        break;
    case class_code::Toolbar: ReleaseToolbar(r, m.window); break;
    case class_code::ComboBoxEx:
        for (;;) {
            const LRESULT left = SendToWindow(m.window, CBEM_DELETEITEM, 0, 0);
            if (left == 0 || left == -1) break;
        }
        SendToWindow(m.window, CBEM_SETIMAGELIST, 0, 0);
        break;
    case class_code::ImageListHolder:
        if (r.ImageList != 0) ImageList_Destroy(SlotAs<HIMAGELIST>(r.ImageList));
        r.ImageList = 0;
        break;
    default: break;
    }
}

// The IP-address control's fields get the system edit procedure back.
void RestoreIpFields(HWND control) {
    if (ipFieldProc == nullptr) return;
    for (HWND field = GetWindow(control, GW_CHILD); field != nullptr; field = GetWindow(field, GW_HWNDNEXT)) {
        SetWindowValue(field, GWLP_WNDPROC, FromWindowProc(ipFieldProc));
    }
}

// A container's children's windows are still there and go on their own.
LRESULT OnContainerDestroy(const Message& m) {
    RuntimeRecord& r = *m.record;
    DeleteRecordGdiObjects(r);
    return CallDefault(m);
}

// A standard control's class procedure sees WM_DESTROY after what the runtime gave it has gone.
LRESULT OnControlDestroy(const Message& m) {
    RuntimeRecord& r = *m.record;
    if (r.Type == class_code::IpAddress) RestoreIpFields(m.window);
    EmptyControl(m);
    DeleteRecordGdiObjects(r);
    return CallDefault(m);
}

// The procedure a control's window had before the runtime's: a standard control's class
// procedure, the system button's of a group box, a rebar's own; none for a picture, which is
// the runtime's from the start.
WNDPROC OwnProcedureOf(const RuntimeRecord& r) {
    if (r.Type == class_code::GroupBox) return buttonClassProc;
    if (r.Type == class_code::PictureBox) return nullptr;
    return SlotAs<WNDPROC>(r.ClassProc);
}

// A control's last message: its record leaves the window table (a container's keeps its child
// list, whose records go with the form's), and its own procedure is put back and handles the
// message, so that it reaches the code that frees the control's system data.
LRESULT OnControlNcDestroy(const Message& m) {
    const WNDPROC own = OwnProcedureOf(*m.record);
    ReleaseWindowRecord(m.window, ChildList::Keep);
    if (own == nullptr) return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    SetWindowValue(m.window, GWLP_WNDPROC, FromWindowProc(own));
    return CallProc(own, m.window, m.id, m.wParam, m.lParam);
}

}  // namespace

LRESULT OnClose(const Message& m) {
    if (!IsForm(*m.record)) return 0;
    const LRESULT handled = CallApp(m);
    // The application may have destroyed the form, and its record with it.
    if (!StillBound(m)) return 0;
    if (handled != 0) return 1;
    RuntimeRecord& r = *m.record;
    if (IsShownModally(&r)) {
        CloseModal(m.window, 0);
        return 1;
    }
    if (r.MdiChild != 0) RestoreFrameMenu(m.window);
    if (r.ToolTip != 0) RemoveFormTooltips(r, m.window);
    return CallDefault(m);
}

LRESULT OnDestroy(const Message& m) {
    RuntimeRecord& r = *m.record;
    KillRuntimeTimer(r, m.window);
    // The window lets go of the runtime's font before that font is deleted.
    SendToWindow(m.window, WM_SETFONT, r.SavedFont, TRUE);
    CallApp(m);
    // A hot button that goes is no longer hot: a later window with its handle would show hot.
    TakeHotButton(m.window);
    if (IsForm(r)) return OnFormDestroy(m);
    if (IsContainer(r.Type)) return OnContainerDestroy(m);
    return OnControlDestroy(m);
}

LRESULT OnNcDestroy(const Message& m) {
    // What the window took when it was bound to its record goes back as the record leaves.
    if (HoldsFramePens(*m.record)) ReleaseFramePens();
    if (!IsForm(*m.record)) return OnControlNcDestroy(m);
    CallApp(m);
    const LRESULT result = CallDefault(m);
    if (IsMainForm(*m.record)) UnloadThemeSupport();
    if (Application.MainWindow == ToSlot(m.window)) Application.MainWindow = 0;
    ReleaseWindowRecord(m.window, ChildList::Release);
    FreeRuntimeBlock(m.record);
    return result;
}

}  // namespace runtime
