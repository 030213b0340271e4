#pragma once
// The open connections of the web front: each one's received bytes and its reply in
// progress. Internal to the web front.

#include <windows.h>
#include <winsock.h>

#include <cstddef>
#include <string_view>

#include "app/web/outgoing_reply.h"
#include "app/web/request_plan.h"

namespace web {

enum class ConnectionState {
    Free,             // slot unused
    AwaitingRequest,  // accepted; collecting bytes until its read event
    Handling,         // its request is being acted on (a line may be stepping)
    Replying,         // reply bytes still to send on write-ready events
};

struct Connection {
    SOCKET socket = INVALID_SOCKET;
    ConnectionState state = ConnectionState::Free;
    RequestBytes request;
    OutgoingReply reply;
    HGLOBAL replyBlock = nullptr;  // the reply file's bytes, locked while they are sent
};

// More connections than this at once are closed as soon as they are accepted.
inline constexpr std::size_t kMaxConnections = 64;

// The connection of `socket`, or nullptr when it is not an open connection (the listener,
// a socket already closed, a stale event).
Connection* FindConnection(SOCKET socket);

// Takes `socket` into a free slot. nullptr when all slots are in use.
Connection* AddConnection(SOCKET socket);

// Takes what has arrived. True when the connection holds request bytes. A peer that has gone
// without sending any is closed (false); with nothing received yet the connection waits.
bool CollectRequest(Connection& connection);

// Queues `head` (the fixed reply) ahead of the reply file and sends what the socket takes now.
void SendHead(Connection& connection, std::string_view head);

// Sends what the socket accepts now. Closes the connection after the reply's last byte or when
// the peer cannot take it; otherwise waits for the next write-ready event.
void ContinueReply(Connection& connection);

// Releases the reply block and the socket and frees the slot. Bytes the peer sent and that
// nobody read are taken first, so the close is an orderly one and not a reset that could
// destroy the reply at the peer.
void CloseConnection(Connection& connection);

void CloseAllConnections();
std::size_t OpenConnectionCount();

}  // namespace web
