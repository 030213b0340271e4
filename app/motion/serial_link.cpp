// The serial port, the four step outputs and the port buttons.
#include "app/motion/motion.h"

HANDLE portHandle = INVALID_HANDLE_VALUE;
char portName[6];

namespace {

// Large enough for "4294967295" and its NUL.
char debugText[12];

constexpr const char* kDebugCaption = "nDebug";
constexpr const char* kConnectedText = "SUCCES!";
constexpr const char* kConnectFailedText = "Nu s-a putut conecta la port";
constexpr const char* kConnectFailedCaption = "Nasol :(";

void EnableControl(HWND window, motion::ControlId id, bool enabled) {
    EnableWindow(GetDlgItem(window, id), enabled ? TRUE : FALSE);
}

}  // namespace

bool MakeStep(motion::StepOutput step) {
    const motion::StepOutputInfo& info = motion::InfoOf(step);
    DebugOut(info.debugNumber);
    // Read after the box: a stop pressed inside it ends the line before this step's byte.
    if (LineStopRequested()) return false;
    if (portHandle == INVALID_HANDLE_VALUE) return true;
    DWORD written = 0;
    // A failed write (device removed) is ignored; the line goes on at its pace.
    WriteFile(portHandle, &info.byte, 1, &written, nullptr);
    PauseAfterStep(motionRegisters.stepDelay);
    return true;
}

void PauseAfterStep(uint32_t milliseconds) {
    Sleep(milliseconds);
}

void StepXPlus() {
    MakeStep(motion::StepOutput::XPlus);
}

void StepXMinus() {
    MakeStep(motion::StepOutput::XMinus);
}

void StepYPlus() {
    MakeStep(motion::StepOutput::YPlus);
}

void StepYMinus() {
    MakeStep(motion::StepOutput::YMinus);
}

void FormatUnsigned(uint32_t number, char* buffer) {
    wsprintfA(buffer, "%lu", static_cast<unsigned long>(number));
}

void DebugOut(uint32_t number) {
    FormatUnsigned(number, debugText);
    MessageBoxA(nullptr, debugText, kDebugCaption, MB_OK);
}

void ClosePort() {
    if (portHandle != INVALID_HANDLE_VALUE) CloseHandle(portHandle);
    portHandle = INVALID_HANDLE_VALUE;
}

void SetPortButtons(HWND window, bool connected) {
    EnableControl(window, motion::kBtnSetCom, !connected);
    EnableControl(window, motion::kBtnTest, connected);
    EnableControl(window, motion::kBtnStopCom, connected);
}

void ConnectPort(HWND window) {
    portName[0] = '\0';
    GetDlgItemTextA(window, motion::kInputCom, portName, sizeof portName);
    ClosePort();
    // Exclusive, synchronous; the line settings the device already has are kept.
    const HANDLE opened = CreateFileA(portName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        // No control changes: the port is not open and the connect button stays as it was.
        MessageBoxA(window, kConnectFailedText, kConnectFailedCaption, MB_OK);
        return;
    }
    portHandle = opened;
    SetPortButtons(window, true);
    MessageBoxA(window, kConnectedText, kConnectedText, MB_OK);
}

void DisconnectPort(HWND window) {
    // "!" pressed during a line ends the line too, not only its writes.
    RequestLineStop();
    ClosePort();
    SetPortButtons(window, false);
}
