// The serial port, the four step outputs and the port buttons.
#include "app/motion/motion.h"

#include "app/failure_caption.h"
#include "runtime/text/number_format.h"
#include "runtime/window/owned_box.h"

namespace motion {

HANDLE portHandle = INVALID_HANDLE_VALUE;
char portName[6];
motion::MotionSettings motionSettings{};

namespace {

// A write that the line cannot take within this time (flow control stuck, device gone) gives
// up, so that a step never hangs the window.
constexpr DWORD kWriteTimeoutMs = 1000;

char debugText[runtime::kDecimalTextCapacity];

constexpr const char* kDebugCaption = "nDebug";
constexpr const char* kConnectedText = "SUCCES!";
constexpr const char* kConnectFailedText = "Nu s-a putut conecta la port";

void EnableControl(HWND window, int32_t id, bool enabled) {
    EnableWindow(GetDlgItem(window, id), enabled ? TRUE : FALSE);
}

// Speed, 8 data bits, no parity, one stop bit, no flow control, bounded writes.
bool ConfigureLine(HANDLE port, uint32_t baud) {
    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(port, &line)) return false;
    line.BaudRate = baud;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    if (!SetCommState(port, &line)) return false;
    // Reads return at once (nothing is read); a write waits at most kWriteTimeoutMs.
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, kWriteTimeoutMs};
    return SetCommTimeouts(port, &timeouts) != FALSE;
}

}  // namespace

bool MakeStep(motion::StepOutput step) {
    const motion::StepOutputInfo& info = motion::InfoOf(step);
    const bool stepBoxes = motionSettings.stepBoxes;
    if (stepBoxes) DebugOut(info.debugNumber);
    // Read after the box: a stop pressed inside it ends the line before this step's byte.
    if (LineStopRequested()) return false;
    if (portHandle == INVALID_HANDLE_VALUE) {
        CountStepMade(step);
        // Nothing is written and nothing paused, but the window still lives between steps.
        if (!stepBoxes) ProcessPendingMessages();
        return true;
    }
    // A stop during the wait for the step's deadline ends the line before its byte.
    if (!stepBoxes && !AwaitStepDue()) return false;
    DWORD written = 0;
    // A byte the line did not take (the device or the other end gone, a write timed out) is
    // a step the machine did not make: the line stops there, so that it neither goes on
    // pausing for steps that go nowhere nor counts them as made.
    if (!WriteFile(portHandle, &info.byte, 1, &written, nullptr) || written != 1) {
        RequestLineStop();
        return false;
    }
    CountStepMade(step);
    if (stepBoxes) {
        SleepAfterStep();
    } else {
        // After the step's byte, so that a line's first byte follows its request at once.
        ProcessPendingMessages();
    }
    return true;
}

void DebugOut(uint32_t number) {
    runtime::text::FormatUnsigned(number, debugText);
    MessageBoxA(nullptr, debugText, kDebugCaption, MB_OK);
}

void ClosePort() {
    if (portHandle != INVALID_HANDLE_VALUE) CloseHandle(portHandle);
    portHandle = INVALID_HANDLE_VALUE;
}

void SetPortButtons(HWND window, bool connected) {
    EnableControl(window, forms::control_id::btnSetCom, !connected);
    EnableControl(window, forms::control_id::btnTest, connected);
    EnableControl(window, forms::control_id::btnStopCom, connected);
}

void ConnectPort(HWND window) {
    portName[0] = '\0';
    GetDlgItemTextA(window, forms::control_id::inputCom, portName, sizeof portName);
    ClosePort();
    // Exclusive, synchronous; the line settings the device already has are kept.
    const HANDLE opened = CreateFileA(portName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        // No control changes: the port is not open and the connect button stays as it was.
        runtime::ShowOwnedBox(window, kConnectFailedText, app::kFailureCaption, MB_OK);
        return;
    }
    if (motionSettings.baud != 0 && !ConfigureLine(opened, motionSettings.baud)) {
        // Not a serial line that takes the speed asked for: not a port to step on.
        CloseHandle(opened);
        runtime::ShowOwnedBox(window, kConnectFailedText, app::kFailureCaption, MB_OK);
        return;
    }
    portHandle = opened;
    SetPortButtons(window, true);
    runtime::ShowOwnedBox(window, kConnectedText, kConnectedText, MB_OK);
}

void DisconnectPort(HWND window) {
    // "!" pressed during a line ends the line too, not only its writes. With or without a line
    // it is a stop: the handler switches the tool off (once: a second call finds it off).
    RequestLineStop();
    AnnounceStop();
    ClosePort();
    SetPortButtons(window, false);
}

}  // namespace motion
