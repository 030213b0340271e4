// Commands and notifications, owner-drawn items and the runtime's private queries.

#include "runtime/application.h"
#include "runtime/system_calls.h"
#include "runtime/window_rows.h"

namespace runtime {

namespace {

// A form's own command rows (hyperlink labels, the edit-notification guard, combo drop-downs,
// toolbars) come with those controls' behaviour; any other command is generic.
LRESULT OnFormCommand(const Message& m) { return Generic(m); }

// Notifications of controls inside a group box, picture or rebar go on to the container's
// parent, so that they reach the form's procedure.
LRESULT OnContainerCommand(const Message& m) {
    const LRESULT handled = CallApp(m);
    if (handled != 0) return handled;
    return SendToWindow(GetParent(m.window), m.id, m.wParam, m.lParam);
}

bool IsFormOrContainer(const RuntimeRecord& r) { return IsForm(r) || IsContainer(r); }

}  // namespace

LRESULT OnCommand(const Message& m) {
    if (IsForm(*m.record)) return OnFormCommand(m);
    if (IsContainer(*m.record)) return OnContainerCommand(m);
    return CallDefault(m);
}

// Owner-drawn push buttons are painted by the runtime's painting; until then an owner-drawn
// item goes the generic way.
LRESULT OnDrawItem(const Message& m) { return Generic(m); }

LRESULT OnMeasureItem(const Message& m) { return Generic(m); }

// A form or container answers the builder's announcement itself; the application never sees it.
LRESULT OnMeasureType(const Message& m) {
    if (IsFormOrContainer(*m.record)) return 0;
    return Generic(m);
}

LRESULT OnGetRecord(const Message& m) { return reinterpret_cast<LRESULT>(m.record); }

// No theme library is loaded by the runtime yet.
LRESULT OnGetThemeLibrary(const Message&) { return 0; }

LRESULT OnGetThemeActive(const Message&) { return manifestPresent; }

}  // namespace runtime
