// The runtime window procedure's creation and destruction rows: binding a window to its
// record, completing a created form, closing, and the clean-up that ends with the record.

#include <windows.h>

#include <commctrl.h>

#include "runtime/application.h"
#include "runtime/form_builder.h"
#include "runtime/record_release.h"
#include "runtime/runtime_classes.h"
#include "runtime/runtime_heap.h"
#include "runtime/system_calls.h"
#include "runtime/template_values.h"
#include "runtime/window_proc.h"
#include "runtime/window_rows.h"
#include "runtime/window_table.h"

namespace runtime {

namespace {

// The runtime timer of a form (ClassValue4 interval) always has this identifier.
constexpr UINT_PTR kRuntimeTimerId = 2;

bool IsFormWithControls(const RuntimeRecord& r) {
    return r.Type == form_kind::MdiFrame || r.Type == form_kind::Window;
}

void AddRedrawStyles(HWND window) {
    const ULONG_PTR style = GetClassValue(window, GCL_STYLE);
    SetClassValue(window, GCL_STYLE, static_cast<LONG_PTR>(style | CS_HREDRAW | CS_VREDRAW));
}

// The MDI client of an MDI frame: the runtime's BKMDICLIENT class, taking over the frame's
// clipping, scroll bars and client edge.
HWND CreateMdiClient(const RuntimeRecord& frame, HWND window) {
    constexpr DWORD kTakenStyles = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL;
    const DWORD style = WS_CHILD | WS_VISIBLE | MDIS_ALLCHILDSTYLES | (frame.Style & kTakenStyles);
    const DWORD exStyle = frame.ExStyle & WS_EX_CLIENTEDGE;
    CLIENTCREATESTRUCT clientCreate{nullptr, 0};
    const auto instance = SlotAs<HINSTANCE>(Application.Instance);
    const void* className = RuntimeClassName(RuntimeClass::MdiClient);
    if (wideMode != 0) {
        return CreateWindowExW(exStyle, static_cast<const wchar_t*>(className), nullptr, style, 0, 0, 0, 0, window,
                               nullptr, instance, &clientCreate);
    }
    return CreateWindowExA(exStyle, static_cast<const char*>(className), nullptr, style, 0, 0, 0, 0, window,
                           nullptr, instance, &clientCreate);
}

void FitMdiClient(const RuntimeRecord& frame, HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    SetWindowPos(SlotAs<HWND>(frame.MdiClient), nullptr, 0, 0, area.right, area.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

// A new MDI child opens normal even when its active sibling is maximised: the sibling is
// restored and the new child notes itself as maximised.
void RestoreMaximisedSibling(RuntimeRecord& r, HWND window) {
    HWND client = GetParent(window);
    if (client == nullptr) return;
    BOOL maximised = FALSE;
    auto active = reinterpret_cast<HWND>(  // WM_MDIGETACTIVE returns the child's handle
        SendToWindow(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    if (active == nullptr || active == window || !maximised) return;
    ShowWindow(active, SW_SHOWNORMAL);
    r.WindowState = window_state::Maximised;
}

LRESULT OnFormCreate(const Message& m) {
    RuntimeRecord& r = *m.record;
    if ((r.Type == form_kind::Dialog || r.Type == form_kind::Window) && r.PasswordChar != 0) {
        AddRedrawStyles(m.window);
    }
    if (r.Type == form_kind::MdiFrame) r.MdiClient = ToSlot(CreateMdiClient(r, m.window));
    if (IsFormWithControls(r)) {
        CompleteForm(&r);
        r.DefaultButton = ToSlot(FindFormButton(m.window, form_button::Default));
        NudgeWindowSize(m.window, r.Visible);
        if (r.Type == form_kind::MdiFrame) FitMdiClient(r, m.window);
        const LRESULT app = CallApp(m);
        if (app == -1) return -1;
        if (app == 0) r.FocusWindow = ToSlot(FirstTabStop(&r));
    }
    if (r.MdiChild != 0) RestoreMaximisedSibling(r, m.window);
    if (r.Visible != 0) {
        SetWindowPos(m.window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (r.FocusWindow != 0) SetFocus(SlotAs<HWND>(r.FocusWindow));
    return 0;
}

// Group boxes and pictures are runtime-class windows bound at WM_NCCREATE like forms; the
// builder leaves their font and colours to their creation.
LRESULT OnContainerCreate(const Message& m) {
    RuntimeRecord& r = *m.record;
    r.Window = ToSlot(m.window);
    ApplyFontAndColors(&r);
    if (r.Type == class_code::PictureBox) AutoSizeControl(&r);
    if (r.Type == class_code::GroupBox) return CallDefault(m);
    return 0;
}

// Deletes the GDI objects and images a record owns and clears their slots. Image slots still
// holding a resource identifier (a load that failed) hold nothing to delete.
void DeleteRecordImage(uint32_t& slot, UINT type) {
    if (slot != 0 && !IsImageResourceId(slot)) {
        if (type == IMAGE_ICON) DestroyIcon(SlotAs<HICON>(slot));
        else if (type == IMAGE_CURSOR) DestroyCursor(SlotAs<HCURSOR>(slot));
        else DeleteObject(SlotAs<HGDIOBJ>(slot));
    }
    slot = 0;
}

void DeleteGdiObject(uint32_t& slot) {
    if (slot != 0) DeleteObject(SlotAs<HGDIOBJ>(slot));
    slot = 0;
}

void DeleteRecordGdiObjects(RuntimeRecord& r) {
    DeleteGdiObject(r.BackBrush);
    DeleteGdiObject(r.FontHandle);
    DeleteGdiObject(r.Pen);
    DeleteRecordImage(r.Cursor, IMAGE_CURSOR);
    if (IsFormType(r.Type)) {
        DeleteRecordImage(r.Icon, IMAGE_ICON);
        DeleteRecordImage(r.SmallIcon, IMAGE_ICON);
    }
    const UINT pictureType = r.ImageKind == image_kind::Bitmap ? IMAGE_BITMAP
                             : r.ImageKind == 2                ? IMAGE_CURSOR
                                                               : IMAGE_ICON;
    if (r.ImageKind != image_kind::None) DeleteRecordImage(r.Picture, pictureType);
}

void KillRuntimeTimer(RuntimeRecord& r, HWND window) {
    if (r.TimerId != 0 && KillTimer(window, kRuntimeTimerId)) r.TimerId = 0;
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
        SendToWindow(tooltip, wideMode != 0 ? TTM_DELTOOLW : TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        if (IsContainer(*record)) RemoveTools(tooltip, child);
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
    HWND reactivate = WindowToReactivate(r, m.window);
    if (reactivate != nullptr && reactivate != m.window && IsWindow(reactivate)) {
        SetActiveWindow(reactivate);
        SetFocus(reactivate);
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

// What list-like controls hold goes before the control.
void EmptyControl(const Message& m) {
    switch (m.record->Type) {
    case class_code::ListBox: SendToWindow(m.window, LB_RESETCONTENT, 0, 0); break;
    case class_code::ComboBox: SendToWindow(m.window, CB_RESETCONTENT, 0, 0); break;
    case class_code::ListView:
        SendToWindow(m.window, LVM_DELETEALLITEMS, 0, 0);
        while (SendToWindow(m.window, LVM_DELETECOLUMN, 0, 0) != 0) {}
        break;
    case class_code::TreeView:
        SendToWindow(m.window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));  // the root item's handle
        break;
    case class_code::ComboBoxEx:
        for (;;) {
            const LRESULT left = SendToWindow(m.window, CBEM_DELETEITEM, 0, 0);
            if (left == 0 || left == -1) break;
        }
        SendToWindow(m.window, CBEM_SETIMAGELIST, 0, 0);
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

// A container's record leaves the table but keeps its child list: its children's windows are
// still there and go on their own. A rebar, a standard control, also gets its own class
// procedure back, so that its WM_NCDESTROY still reaches the code that frees the bar's data.
LRESULT OnContainerDestroy(const Message& m) {
    DeleteRecordGdiObjects(*m.record);
    const auto classProc = SlotAs<WNDPROC>(m.record->ClassProc);
    if (m.record->Type == class_code::Rebar && classProc != nullptr) {
        SetWindowValue(m.window, GWLP_WNDPROC, FromWindowProc(classProc));
    }
    const LRESULT result = CallDefault(m);
    ReleaseWindowRecord(m.window, ChildList::Keep);
    return result;
}

// A standard control gets its own class procedure back, which then sees WM_DESTROY.
LRESULT OnControlDestroy(const Message& m) {
    RuntimeRecord& r = *m.record;
    if (r.Type == class_code::IpAddress) RestoreIpFields(m.window);
    EmptyControl(m);
    DeleteRecordGdiObjects(r);
    const auto classProc = SlotAs<WNDPROC>(r.ClassProc);
    ReleaseWindowRecord(m.window, ChildList::Keep);
    if (classProc == nullptr) return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    SetWindowValue(m.window, GWLP_WNDPROC, FromWindowProc(classProc));
    return CallProc(classProc, m.window, m.id, m.wParam, m.lParam);
}

}  // namespace

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    RuntimeRecord* record = pendingRecord;
    if (record == nullptr) return DefaultWindowProc(window, WM_NCCREATE, wParam, lParam);
    // A window the table cannot take would be a runtime window without a record: its creation
    // fails instead, and the record stays the builder's.
    if (!EnterWindowRecord(window, record)) return FALSE;
    pendingRecord = nullptr;
    record->Window = ToSlot(window);
    if (IsMainForm(*record)) {
        DWORD processId = 0;
        Application.MainWindow = ToSlot(window);
        Application.ThreadId = GetWindowThreadProcessId(window, &processId);
        Application.ProcessId = processId;
    }
    const Message m{window, WM_NCCREATE, wParam, lParam, record};
    CallApp(m);
    if (record->Type == class_code::GroupBox) return CallDefault(m);
    return TRUE;
}

LRESULT OnUnboundMessage(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    // Before WM_NCCREATE a group box's messages already belong to the system button.
    const RuntimeRecord* pending = pendingRecord;
    if (pending != nullptr && pending->Type == class_code::GroupBox && buttonClassProc != nullptr) {
        return CallProc(buttonClassProc, window, id, wParam, lParam);
    }
    // A window without a record (not bound yet, or already out of the table, as a group box or
    // picture after WM_DESTROY) gets the system default, which also frees the system's own data
    // of the window at WM_NCDESTROY.
    return DefaultWindowProc(window, id, wParam, lParam);
}

LRESULT OnCreate(const Message& m) {
    if (IsForm(*m.record)) return OnFormCreate(m);
    if (m.record->Type == class_code::GroupBox || m.record->Type == class_code::PictureBox) {
        return OnContainerCreate(m);
    }
    return Generic(m);
}

LRESULT OnInitDialog(const Message& m) {
    RuntimeRecord& r = *m.record;
    if (r.Type != form_kind::Dialog) return Generic(m);
    CompleteForm(&r);
    r.DefaultButton = ToSlot(FindFormButton(m.window, form_button::Default));
    // The application sees the creation argument that the builder kept in the class-procedure
    // slot, which then has served its purpose.
    Message app = m;
    app.lParam = static_cast<LPARAM>(r.ClassProc);
    r.ClassProc = 0;
    const LRESULT handled = CallApp(app);
    NudgeWindowSize(m.window, r.Visible);
    if (handled == 0) {
        r.FocusWindow = ToSlot(FirstTabStop(&r));
        SendToWindow(m.window, WM_KEYDOWN, VK_TAB, 0);
    }
    return 0;
}

LRESULT OnClose(const Message& m) {
    if (!IsForm(*m.record)) return 0;
    const LRESULT handled = CallApp(m);
    // The application may have destroyed the form, and its record with it.
    if (!IsWindow(m.window)) return 0;
    if (handled != 0) return 1;
    RuntimeRecord& r = *m.record;
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
    if (IsForm(r)) return OnFormDestroy(m);
    if (IsContainer(r)) return OnContainerDestroy(m);
    return OnControlDestroy(m);
}

LRESULT OnNcDestroy(const Message& m) {
    if (!IsForm(*m.record)) return Generic(m);
    CallApp(m);
    const LRESULT result = CallDefault(m);
    if (Application.MainWindow == ToSlot(m.window)) Application.MainWindow = 0;
    ReleaseWindowRecord(m.window, ChildList::Release);
    FreeRuntimeBlock(m.record);
    return result;
}

}  // namespace runtime
