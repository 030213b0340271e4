#include "runtime/process/window_message.h"

#include "runtime/process/application.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"

namespace runtime {

namespace {

// A dialog form is normally served by its class's procedure, the runtime window procedure,
// whose default is DefWindowProc. A dialog made from a resource that names no runtime class
// runs under the dialog manager, which calls this procedure as its dialog procedure: there
// "not handled" is 0 and the dialog manager's own default follows.
LRESULT DialogDefault(const Message& m) {
    if (AsWindowProc(GetWindowValue(m.window, GWLP_WNDPROC)) != runtimeProcedures.window) return 0;
    return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
}

}  // namespace

bool IsForm(const RuntimeRecord& record) { return IsFormType(record.Type); }

bool IsMainForm(const RuntimeRecord& record) { return IsForm(record) && record.IsMain != 0; }

LRESULT CallApp(const Message& m) {
    if (m.record->WindowProc == 0) return 0;
    return CallProc(SlotAs<WNDPROC>(m.record->WindowProc), m.window, m.id, m.wParam, m.lParam);
}

LRESULT CallDefault(const Message& m) {
    const RuntimeRecord& r = *m.record;
    switch (r.Type) {
    case form_kind::MdiFrame:
        return DefaultFrameProc(m.window, SlotAs<HWND>(r.MdiClient), m.id, m.wParam, m.lParam);
    case form_kind::Window:
        if (r.MdiChild != 0) return DefaultMdiChildProc(m.window, m.id, m.wParam, m.lParam);
        return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    case form_kind::Dialog:
        return DialogDefault(m);
    case class_code::PictureBox:
        return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    case class_code::GroupBox:
        if (buttonClassProc == nullptr) return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
        return CallProc(buttonClassProc, m.window, m.id, m.wParam, m.lParam);
    default:
        // Any other form kind counts as a plain window; a control without a kept class
        // procedure falls back to the system default.
        if (IsForm(r) || r.ClassProc == 0) return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
        return CallProc(SlotAs<WNDPROC>(r.ClassProc), m.window, m.id, m.wParam, m.lParam);
    }
}

bool StillBound(const Message& m) { return IsWindow(m.window) && FindWindowRecord(m.window) == m.record; }

LRESULT Generic(const Message& m) {
    const LRESULT handled = CallApp(m);
    if (handled != 0) return handled;
    return CallDefault(m);
}

}  // namespace runtime
