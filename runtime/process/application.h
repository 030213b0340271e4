#pragma once
// The Application record that the program's start-up code and the runtime share, and the
// process-wide values that the runtime's start-up measures and keeps for the rest of the
// runtime. Start-up (runtime/start/startup.h) fills them; shutdown releases what they point to.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/template/template_record.h"
#include "runtime/process/work_block.h"

namespace runtime {

// All fields are 32-bit; addresses and handles are kept as 32-bit values (read them with
// SlotAs<T>(), runtime/template/template_record.h).
struct ApplicationRecord {
    uint32_t Accel;               // accelerator table of the main loop, 0 if none
    uint32_t CommandLine;         // the arguments (command line less the program's name)
    uint32_t FileName;            // the executable's file name as handed to start-up
    uint32_t Description;         // the description handed to start-up
    uint32_t Instance;            // module handle
    uint32_t MainWindow;          // the main form's window, set when it is created
    uint32_t StartFlag1;          // set to 1 by the program's start-up; read by nobody
    uint32_t StartFlag2;          // set to 0 by the program's start-up; read by nobody
    uint32_t PrevInstanceWindow;  // top-level window of an instance already running, or 0
    uint32_t StartFlag3;          // set to 1 by the program's start-up; read by nobody
    uint32_t Path;                // directory of the executable, no trailing backslash
    uint32_t ProcessId;           // of the main window
    uint32_t ThreadId;            // of the main window
    uint32_t ResumePoint;         // no resume handler is ever installed
    uint32_t ResumeWord1;
    uint32_t ResumeWord2;
    uint32_t ExceptionCode;       // the last exception code the crash report described
    uint32_t ScratchText;         // 512-byte scratch buffer in the work block
    uint32_t PrevFilter;          // the unhandled-exception filter before the program's own
    uint32_t CommonControls[2];   // the block handed to the common-controls initialisation
};

static_assert(sizeof(ApplicationRecord) == 84);
static_assert(offsetof(ApplicationRecord, Accel) == 0);
static_assert(offsetof(ApplicationRecord, CommandLine) == 4);
static_assert(offsetof(ApplicationRecord, FileName) == 8);
static_assert(offsetof(ApplicationRecord, Description) == 12);
static_assert(offsetof(ApplicationRecord, Instance) == 16);
static_assert(offsetof(ApplicationRecord, MainWindow) == 20);
static_assert(offsetof(ApplicationRecord, StartFlag1) == 24);
static_assert(offsetof(ApplicationRecord, StartFlag2) == 28);
static_assert(offsetof(ApplicationRecord, PrevInstanceWindow) == 32);
static_assert(offsetof(ApplicationRecord, StartFlag3) == 36);
static_assert(offsetof(ApplicationRecord, Path) == 40);
static_assert(offsetof(ApplicationRecord, ProcessId) == 44);
static_assert(offsetof(ApplicationRecord, ThreadId) == 48);
static_assert(offsetof(ApplicationRecord, ResumePoint) == 52);
static_assert(offsetof(ApplicationRecord, ResumeWord1) == 56);
static_assert(offsetof(ApplicationRecord, ResumeWord2) == 60);
static_assert(offsetof(ApplicationRecord, ExceptionCode) == 64);
static_assert(offsetof(ApplicationRecord, ScratchText) == 68);
static_assert(offsetof(ApplicationRecord, PrevFilter) == 72);
static_assert(offsetof(ApplicationRecord, CommonControls) == 76);

extern ApplicationRecord Application;

// The module handle of the Application record.
HINSTANCE ApplicationInstance();

// The Windows version class (runtime/process/startup_logic.h, os_level); 0 until start-up.
extern int32_t OsLevel;

// 1 when the module has a manifest resource (type 24, identifier 1).
extern int32_t manifestPresent;

// 1 when the system's keyboard-cue setting is off (captions hide their mnemonic underlines).
extern int32_t hideKeyboardCues;

// The shared arrow and hourglass cursors.
extern HCURSOR arrowCursor;
extern HCURSOR waitCursor;

// The system procedures that runtime windows fall back to: the BUTTON class's (group boxes)
// and the MDICLIENT class's (the runtime's MDI client). Called through CallWindowProc in the
// text mode in which they were read.
extern WNDPROC buttonClassProc;
extern WNDPROC mdiClientClassProc;

// The work block and the text block; null before start-up and after shutdown.
extern WorkBlock* workBlock;
extern TextBlock* textBlock;

// The form-list entry of the form the runtime works on (the main form's, once the loop runs).
extern uint32_t* currentFormEntry;

// Reads the system's keyboard-cue setting into hideKeyboardCues (start-up and whenever the
// system's settings change).
void ReadKeyboardCues();

}  // namespace runtime
