#pragma once
// The web front: the listening socket on TCP port 80, the socket events that the socket
// library posts to the main window, and the handling of each request with its file reply.
//
// Everything runs on the GUI thread. Request and reply failures are silent: no box, no error
// reply. A listener that cannot be opened is reported to the main window (WM_LISTENER_FAILED).

#include <windows.h>
#include <winsock.h>

#include <cstdint>

#include "app/web/allow_list.h"
#include "app/web/listen_defaults.h"
#include "app/web/listener_failure.h"

namespace web {

// Private message carrying socket events to the main window: wParam is the socket, the low
// word of lParam the event (FD_READ, FD_WRITE, FD_ACCEPT, FD_CLOSE).
inline constexpr UINT WM_SOCKET = WM_USER + 100;
static_assert(WM_SOCKET == 1124);

// Private message posted to the main window when its listener could not be opened: wParam
// carries the port (low word) and the failed step (high word), lParam the error number.
// Posted rather than handled at once, so that the notice never holds up the window's creation.
inline constexpr UINT WM_LISTENER_FAILED = WM_USER + 101;
static_assert(WM_LISTENER_FAILED == 1125);

inline WPARAM ListenerFailureWParam(const ListenerFailure& failure) {
    return MAKEWPARAM(failure.port, static_cast<WORD>(failure.step));
}

inline ListenerFailure ListenerFailureOf(WPARAM wParam, LPARAM lParam) {
    return ListenerFailure{LOWORD(wParam), static_cast<ListenerStep>(HIWORD(wParam)),
                           static_cast<int>(lParam)};
}

// Where OpenListener listens: `port` of `address` (host byte order; INADDR_ANY for every
// address). Port 80 of every address until the program's start-up says otherwise.
void SetListenAddress(std::uint16_t port, std::uint32_t address);

// How many connections the system may queue for OpenListener's socket before they are
// accepted. kDefaultBacklog until the program's start-up says otherwise.
void SetListenBacklog(int backlog);

// Opens the listener (port 80 of every address, or what SetListenAddress chose) and selects it
// for accept and close events. Called once when the main window is created. A failure leaves
// the window running without a listener and posts WM_LISTENER_FAILED to it.
void OpenListener(HWND window);

// Turns one WM_SOCKET message into an accept, a receive, a continued reply or a request.
void OnSocketEvent(HWND window, SOCKET socket, WORD event) noexcept;

// Receives what `connection` has sent; once it holds a request, acts on it, sends the reply
// file and closes the connection after the reply's last byte.
void HandleRequest(HWND window, SOCKET connection) noexcept;

// Sends the selected reply file on `connection` and closes it after the last byte.
void SendReplyFile(SOCKET connection) noexcept;

// Only peers that `list` allows are served; a connection from any other is closed as soon as
// it is accepted, with nothing read and nothing sent. An empty list (the start) serves all.
void SetAllowList(const AllowList& list);

// With the operator API on, /pos and /halt are answered with the machine's position and line
// as JSON, also while a line runs; off (the start), they are requests like any other.
void SetOperatorApi(bool on);

// External routine for the "?a" sub-commands: called with the parallel port address 888 and
// the value 0, 1 or 2. Installed by the program's start-up from --hook; while none is
// installed the sub-commands do nothing.
using OutputHook = void (*)(std::uint32_t portAddress, std::uint32_t value);

// Installs `hook` (or removes it, with nullptr) and returns the one it replaces. The tool's
// state is unknown until the hook is first called. While a hook is installed, every stop of
// the machine (motion's stop handler) switches the tool off.
OutputHook SetOutputHook(OutputHook hook);

// Calls the output hook with 0 unless the last value given to it was 0: the tool off. Called
// on every stop of the machine, at start-up (so that the tool starts off) and at the end.
void SwitchToolOff() noexcept;

}  // namespace web
