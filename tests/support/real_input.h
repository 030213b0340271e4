#pragma once
// Keyboard and mouse input as a person makes it: events through SendInput, which the system
// routes to the foreground window's focus (keys) or to the window under the pointer (mouse),
// with the real key state (GetKeyState sees Shift and Alt as they are). Each call waits until
// the calling thread has handled what the events caused.

#include <windows.h>

#include <initializer_list>

namespace testsupport {

// Brings `window` to the foreground and waits until it is active; whether it became so.
bool BringToFront(HWND window);

// One key press: `key` down and up, with the modifiers (VK_SHIFT, VK_MENU, VK_CONTROL) held
// around it.
void PressKey(WORD key, std::initializer_list<WORD> held = {});

// Moves the pointer to a point of `window`'s client area.
void MovePointerTo(HWND window, POINT client);

// Presses and releases the left button where the pointer is.
void ClickLeft();

// Dispatches the thread's messages until nothing waits for a while (input, posted and sent
// messages, timers that follow them); bounded by a few seconds.
void SettleMessages();

}  // namespace testsupport
