#pragma once
// The runtime's window classes: their names (the form classes carry the application name),
// their registration at start-up, their removal at shutdown, and the search for a window of an
// instance of the program that is already running.

#include <windows.h>

#include <cstdint>

namespace runtime {

enum class RuntimeClass : int32_t {
    MdiFrame,  // BKRUNMDIWINDOW + application name
    MdiChild,  // BKRUNMDICHILDWINDOW
    Window,    // BKRUNWINDOW + application name
    Dialog,    // BKRUNDIALOGBOX + application name
    MdiClient, // BKMDICLIENT, a superclass of the system MDICLIENT
    Group,     // BKGROUP, group boxes
    Picture,   // BKPICTURE, picture boxes
};

// The runtime's window procedures, which start-up hands to class registration: they live in
// the window layer, above the classes and the builder that give them to windows.
struct RuntimeProcedures {
    WNDPROC window = nullptr;         // every runtime window: forms, BKGROUP, BKPICTURE, taken-over controls
    WNDPROC mdiClient = nullptr;      // BKMDICLIENT
    WNDPROC childSubclass = nullptr;  // the inner windows of combo boxes and IP-address controls
};

// The procedures registered at start-up; null before.
extern RuntimeProcedures runtimeProcedures;

// Sets the application name appended to the form classes' names (cut to fit their buffers).
void SetClassNames(const char* applicationName);

// The class name as ANSI text.
const char* RuntimeClassNameA(RuntimeClass which);

// The class name in the runtime's text mode, for the A or W window functions.
const void* RuntimeClassName(RuntimeClass which);

// The class of a form's window by its kind: 1 dialog, 2 MDI frame, anything else a window.
RuntimeClass FormClass(int32_t formKind);

// Keeps the procedures, registers the seven classes with them in their order and keeps the
// system BUTTON and MDICLIENT procedures (start-up). A failed registration is not reported
// here: it shows later as a failed window creation.
void RegisterRuntimeClasses(HINSTANCE instance, const RuntimeProcedures& procedures);

// Unregisters the classes (shutdown): BKMDICLIENT, the dialog class, BKGROUP, BKPICTURE, the
// window class, the MDI child class and the MDI frame class, in that order.
void UnregisterRuntimeClasses(HINSTANCE instance);

// The first top-level window whose class name equals the main form's class name exactly
// (letter case included), or null.
HWND FindPreviousInstance(int32_t formKind);

}  // namespace runtime
