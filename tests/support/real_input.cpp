#include "tests/support/real_input.h"

#include <iterator>
#include <vector>

#include "tests/support/window_messages.h"

namespace testsupport {

namespace {

INPUT KeyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT MouseEvent(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

void Send(std::vector<INPUT> events) {
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    SettleMessages();
}

}  // namespace

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    return PumpMessagesUntil([window] { return GetForegroundWindow() == window && GetActiveWindow() == window; },
                             5000);
}

void PressKey(WORD key, std::initializer_list<WORD> held) {
    std::vector<INPUT> events;
    for (WORD modifier : held) events.push_back(KeyEvent(modifier, false));
    events.push_back(KeyEvent(key, false));
    events.push_back(KeyEvent(key, true));
    for (auto it = std::rbegin(held); it != std::rend(held); ++it) events.push_back(KeyEvent(*it, true));
    Send(events);
}

void MovePointerTo(HWND window, POINT client) {
    ClientToScreen(window, &client);
    // Absolute positions run from 0 to 65535 across the primary screen.
    const LONG x = MulDiv(client.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG y = MulDiv(client.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    Send({MouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)});
}

void ClickLeft() { Send({MouseEvent(MOUSEEVENTF_LEFTDOWN), MouseEvent(MOUSEEVENTF_LEFTUP)}); }

void SettleMessages() {
    // Quiet means nothing waiting at several looks in a row: input turns into posted
    // characters, which turn into sent notifications.
    int quiet = 0;
    PumpMessagesUntil(
        [&quiet] {
            quiet = GetQueueStatus(QS_ALLINPUT) == 0 ? quiet + 1 : 0;
            return quiet >= 5;
        },
        5000);
}

}  // namespace testsupport
