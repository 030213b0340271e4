#pragma once
// Motion control on Windows: the movement-token interpreter, the line planner and stepper,
// and the serial link that carries one byte per motor step.
//
// Everything runs on the GUI thread. A line is stepped inside the call that ends its request
// line; every step shows a modal "nDebug" box first, so window messages (button clicks,
// socket events) are dispatched while a line runs.

#include "app/motion/line_plan.h"
#include "app/motion/motion_state.h"
#include "forms/main_form.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace motion {

// ---- Process-wide state (one place per concern; all start at 0 / not open) ----

// prevX, curX, prevY, curY, prevZ, curZ, executeFlag, stepDelay.
extern MotionRegisters motionRegisters;
// Where the machine stands: where the last line left it, or the position the operator
// declared since (see DeclaredPosition). The one record of it.
extern MachinePosition machinePosition;
// The plan of the last line planned (a running line steps from its own copy).
extern LinePlan linePlan;
// The open serial port, or INVALID_HANDLE_VALUE when not open.
extern HANDLE portHandle;
// The device name read from inputCom: at most 5 characters and a NUL.
extern char portName[6];
// Step boxes, line settings and limits, as the program's switches set them.
extern MotionSettings motionSettings;

// ---- Motion command interpreter ----

// Scans one movement request (`length` = bytes actually received; at most the first 1024 are
// looked at) up to its request line's CR, updating the registers and the display fields of
// `window`. Returns true only when the line ended at a CR with executeFlag set and the line
// was planned and stepped (to its end, or until a stop). A line out of reach (a displacement
// of 2^31 steps or more), a line asked for while another is being stepped and a request cut
// off before its CR with executeFlag set are refused: nothing is stepped and false is
// returned. A cut-off request leaves X and Y (and their fields) as they were before it; after
// a line that could not be stepped, both values of X and of Y are put back at machinePosition,
// so that the next line starts where the machine is. A request with executeFlag 0 records its
// values and moves nothing; after it (outside a line) an axis whose two values agree is the
// position the operator declares, and machinePosition takes it.
bool InterpretMotionRequest(HWND window, const char* request, std::size_t length);

// ---- Line planner and step sequencer ----

// Plans the line from (prevX, prevY) to (curX, curY) into linePlan and steps it. False when
// the line was not stepped (out of reach, its start or target outside the limits, or another
// line is in progress).
bool PlanLine();
// Steps linePlan, which starts at (prevX, prevY), through the step outputs and returns when
// all are done or the line was stopped. False when the plan is out of reach or another line
// is in progress (nothing is stepped then). A stopped line counts as stepped; it leaves curX
// and curY at the position its steps reached. A stepped line leaves both values of each axis,
// and machinePosition, where the machine stands.
bool RunLineSteps();
// Whether a line is being stepped (true inside its debug boxes).
bool LineInProgress();
// Ends the line in progress before its next step: no further box, byte or pause. Asked for
// by the disconnect button and by the main window's destruction; nothing without a line.
void RequestLineStop();
// Whether the line in progress has been asked to stop.
bool LineStopRequested();
// Counts `step` as made by the line in progress: called by MakeStep as soon as the step is on
// the line, ahead of its pause, so that the line's progress read during the pause has it.
void CountStepMade(motion::StepOutput step);

// The steps of the line in progress, or of the last line stepped: made so far and planned.
// 0 and 0 before any line.
struct LineProgress {
    uint32_t done = 0;
    uint32_t total = 0;
};
LineProgress CurrentLineProgress();
// Where the machine stands now: during a line, where the steps made so far took it;
// otherwise machinePosition.
motion::MachinePosition CurrentPosition();

// Called on the GUI thread when the machine is stopped: a line ended early by a stop (the
// first RequestLineStop of a running line: "!", a stop asked by the operator API, the window's
// destruction, a write that failed) and every press of "!". The web front switches the tool
// off from it. nullptr: nothing is called.
using StopHandler = void (*)();
void SetStopHandler(StopHandler handler);
// Calls the stop handler, when one is set.
void AnnounceStop();

// ---- Serial link and step output ----

// One motor step: its debug box (with step boxes), then, unless the line was stopped
// meanwhile, (port open) its byte. Without step boxes the byte waits until the step is due
// (AwaitStepDue) and the window's messages are processed after it; with them the pause follows
// the byte (SleepAfterStep). False when the stop came first or the line did not take the byte
// (which stops the line): the step was not made.
bool MakeStep(motion::StepOutput step);

// Connect button (btnSetCom, ">"): opens the device named in inputCom; with a baud rate set, also
// sets the line to it, 8N1, and write time-outs (a device that refuses them is not taken).
void ConnectPort(HWND window);
// Disconnect button (btnStopCom, "!"): closes the port and resets the buttons.
void DisconnectPort(HWND window);
// Enables btnSetCom when not connected, btnTest and btnStopCom when connected, in that order.
void SetPortButtons(HWND window, bool connected);
// Closes portHandle (when open) and marks it not open. Called by the main window on close.
void ClosePort();
// Shows `number` (unsigned decimal) in an ownerless message box captioned "nDebug".
void DebugOut(uint32_t number);

// ---- Step timing ----

// Starts pacing a line of `stepCount` steps: its deadlines, and the ramp's place in it.
void BeginLinePacing(uint64_t stepCount);
// Without step boxes, before a step's byte: waits until the step is due, processing the
// window's messages. False when the line was stopped first (the wait ends at once then).
bool AwaitStepDue();
// With step boxes, after a step's byte: sleeps the pause after it.
void SleepAfterStep();
// Without step boxes, between steps that do not wait: what a box's loop would do, at most
// every few milliseconds (the quit message stops the line).
void ProcessPendingMessages();
// The line is over: without step boxes and unless it was stopped, waits until a next step
// would be due, so that the next line keeps the pace; restores the system timer.
void EndLinePacing();
// Raises the system timer's resolution to 1 ms (winmm's timeBeginPeriod, looked up at run
// time) until RestoreTimerResolution; nothing when it is raised already or winmm is missing.
void RaiseTimerResolution();
// Undoes the raise in force, if any. At the end of every line and of the program.
void RestoreTimerResolution();
// How winmm's entries are found (GetProcAddress). Tests put their own in place to count the
// calls; null puts GetProcAddress back. Returns the one in use before.
using TimerEntryFinder = FARPROC(WINAPI*)(HMODULE library, LPCSTR name);
TimerEntryFinder SetTimerEntryFinder(TimerEntryFinder finder);

}  // namespace motion
