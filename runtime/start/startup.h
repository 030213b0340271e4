#pragma once
// The runtime's start and end: StartRuntime before any window exists, ShutdownRuntime when the
// message loop ends, EmergencyShutdown from the crash report.

#include <windows.h>

#include <cstdint>

namespace runtime {

// Starts the runtime: fills the Application record, fixes the text mode (wide only when
// `wideRequest` is non-zero and the system has the wide interfaces), carves the work and text
// blocks, measures the screen, creates the heap and the window table, loads the shared cursors,
// registers the window classes with `applicationName` appended to the form classes, and looks
// for a window of an instance already running (by the class of `formKind`: 1 dialog, 2 MDI
// frame, else window). The texts are ANSI; `description` may be null. Called once.
void StartRuntime(HINSTANCE instance, const char* applicationName, const char* fileName,
                  const char* description, int32_t formKind, int32_t wideRequest);

// Tears the runtime down: the string lists, the heap with every record and the window table,
// the work and text blocks, the shared cursors and the window classes. Safe to call again.
void ShutdownRuntime();

// Destroys the main window (when there is one) and shuts the runtime down.
void EmergencyShutdown();

}  // namespace runtime
