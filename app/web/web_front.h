#pragma once
// The web front: the listening socket on TCP port 80, the socket events that the socket
// library posts to the main window, and the handling of each request with its file reply.
//
// Everything runs on the GUI thread. Failures are silent: no box, no error reply.

#include <windows.h>
#include <winsock.h>

#include <cstdint>

namespace web {

// Private message carrying socket events to the main window: wParam is the socket, the low
// word of lParam the event (FD_READ, FD_WRITE, FD_ACCEPT, FD_CLOSE).
inline constexpr UINT WM_SOCKET = WM_USER + 100;
static_assert(WM_SOCKET == 1124);

inline constexpr std::uint16_t kHttpPort = 80;

// Opens the listener on port 80 of every address and selects it for accept and close events.
// Called once when the main window is created. A failure leaves the window without a
// listener, silently.
void OpenListener(HWND window);

// Turns one WM_SOCKET message into an accept, a receive, a continued reply or a request.
void OnSocketEvent(HWND window, SOCKET socket, WORD event) noexcept;

// Receives what `connection` has sent; once it holds a request, acts on it, sends the reply
// file and closes the connection after the reply's last byte.
void HandleRequest(HWND window, SOCKET connection) noexcept;

// Sends the selected reply file on `connection` and closes it after the last byte.
void SendReplyFile(SOCKET connection) noexcept;

// External routine for the "?a" sub-commands: called with the parallel port address 888 and
// the value 0, 1 or 2. The system installs none; while none is installed the sub-commands
// do nothing.
using OutputHook = void (*)(std::uint32_t portAddress, std::uint32_t value);

// Installs `hook` (or removes it, with nullptr) and returns the one it replaces.
OutputHook SetOutputHook(OutputHook hook);

}  // namespace web
