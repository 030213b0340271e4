// The runtime window procedure's creation rows: binding a window to its record, completing a
// created form (its controls, default button, first focus, docked bars) or dialog, and the
// group boxes and pictures that the runtime makes itself.

#include "runtime/window/window_creation.h"

#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/build/form_builder.h"
#include "runtime/paint/shared_pens.h"
#include "runtime/paint/theme_support.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/window/window_operations.h"
#include "runtime/window/window_text.h"

namespace runtime {

namespace {

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
    return CreateWindowAt(exStyle, RuntimeClassName(RuntimeClass::MdiClient), nullptr, style, Placement{}, window,
                          nullptr, &clientCreate);
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

// The visual styles are followed from the main form's creation on, where the system has them
// and the program's manifest asks for them.
void LoadThemesForMainForm(const RuntimeRecord& r) {
    if (IsMainForm(r) && OsLevel >= os_level::Nt5x && manifestPresent != 0) LoadThemeSupport();
}

LRESULT OnFormCreate(const Message& m) {
    RuntimeRecord& r = *m.record;
    if ((r.Type == form_kind::Dialog || r.Type == form_kind::Window) && r.RedrawOnSize != 0) {
        AddRedrawStyles(m.window);
    }
    if (r.Type == form_kind::MdiFrame) r.MdiClient = ToSlot(CreateMdiClient(r, m.window));
    LoadThemesForMainForm(r);
    if (IsFormWithControls(r)) {
        CompleteForm(&r);
        r.DefaultButton = ToSlot(FindFormButton(m.window, form_button::Default));
        NudgeWindowSize(m.window, r.Visible);
        if (r.Type == form_kind::MdiFrame) FitMdiClient(r, m.window);
        const LRESULT app = CallApp(m);
        if (app == -1) return -1;
        if (!StillBound(m)) return -1;
        if (app == 0) r.FocusWindow = ToSlot(FirstTabStop(&r));
    }
    if (r.MdiChild != 0) RestoreMaximisedSibling(r, m.window);
    if (r.Visible != 0) {
        SetWindowPos(m.window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (IsFormWithControls(r)) DockLayout(&r);
    if (r.FocusWindow != 0) SetFocus(SlotAs<HWND>(r.FocusWindow));
    return 0;
}

// Group boxes and pictures are runtime-class windows bound at WM_NCCREATE like forms; the
// builder leaves their font, colours and measuring to their creation.
LRESULT OnContainerCreate(const Message& m) {
    RuntimeRecord& r = *m.record;
    r.Window = ToSlot(m.window);
    ApplyFontAndColors(&r);
    if (r.Type == class_code::GroupBox) {
        MeasureRecordCaption(r, 1);
        return CallDefault(m);
    }
    AutoSizeControl(&r);
    return 0;
}

// A dialog stands where its start position puts it relative to its parent (owner); the system
// default position leaves it where the dialog manager put it.
void PlaceDialog(const RuntimeRecord& r, HWND dialog) {
    RECT rect{};
    if (!GetWindowRect(dialog, &rect)) return;
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    const Placement place = FormStartPlacement(&r, GetParent(dialog), width, height);
    if (place.left == kSystemDefaultPosition) return;
    MoveWindow(dialog, place.left, place.top, width, height, TRUE);
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
    if (HoldsFramePens(*record)) AcquireFramePens();
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
    // A window without a record (not bound yet, or one whose creation the table refused) gets
    // the system default, which also frees the system's own data of the window at
    // WM_NCDESTROY.
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
    PlaceDialog(r, m.window);
    // The application sees the creation argument that the builder kept in the class-procedure
    // slot, which then has served its purpose.
    Message app = m;
    app.lParam = static_cast<LPARAM>(r.ClassProc);
    r.ClassProc = 0;
    const LRESULT handled = CallApp(app);
    if (!StillBound(m)) return 0;
    NudgeWindowSize(m.window, r.Visible);
    if (handled == 0) {
        r.FocusWindow = ToSlot(FirstTabStop(&r));
        SendToWindow(m.window, WM_KEYDOWN, VK_TAB, 0);
    }
    return 0;
}

}  // namespace runtime
