#pragma once
// Inside views of the web front, for its own tests: a listener on any port and address
// (so that test runs do not depend on port 80 being free), and the state they observe.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/web/web_front.h"

namespace web {

// OpenListener on `port` of `address` (host byte order; INADDR_ANY for every address).
// Port 0 takes a free ephemeral port. Returns whether the socket listens; on failure,
// `failure` (when given) names the step and the error. Nothing is posted.
bool OpenListenerOn(HWND window, std::uint16_t port, std::uint32_t address,
                    ListenerFailure* failure = nullptr);

// Closes the listening socket, if one is open.
void CloseListener();

// The port the listener is bound to, 0 without a listener.
std::uint16_t ListenerPort();

// Closes the listener and every connection, selects "C:\s" again, removes the output hook
// and puts the connection time-outs, the listen address and its backlog back to their
// defaults.
void ResetWebFront();

// Shorter time-outs for tests: a connection without a request is closed `requestMs` after
// its accept, a reply that makes no progress for `replyStallMs` is given up.
void SetConnectionTimeouts(DWORD requestMs, DWORD replyStallMs);

// Connections accepted and not yet closed.
std::size_t OpenConnectionCount();

// Bytes received so far on an open connection that has not been answered (0 otherwise).
std::size_t ReceivedLength(SOCKET connection);

// The reply file currently selected.
const char* ReplyFileName();

// The bytes of the last request received.
std::string_view LastRequest();

}  // namespace web
