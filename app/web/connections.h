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
    Closing,          // reply sent and our side shut; bytes still arriving are dropped
                      // until the peer closes, so that the close does not reset the reply
};

struct Connection {
    SOCKET socket = INVALID_SOCKET;
    ConnectionState state = ConnectionState::Free;
    RequestBytes request;
    OutgoingReply reply;
    HGLOBAL replyBlock = nullptr;  // the reply file's bytes, locked while they are sent
    DWORD acceptedAt = 0;          // GetTickCount at the accept
    DWORD lastProgress = 0;        // GetTickCount when reply bytes last went out
    bool peerClosed = false;       // its close event has come: no later one will
};

// The connection table holds this many. When it is full, a newcomer takes the place of an
// answered connection that waits for its peer's close, else of the connection that has waited
// longest without sending a request; when every connection has a request being acted on or a
// reply under way, the newcomer is closed as soon as it is accepted.
inline constexpr std::size_t kMaxConnections = 64;

// A connection that has sent no request this long after its accept is closed, so that
// silent connections (a browser's spare pre-connections, a port scan) cannot hold the table.
inline constexpr DWORD kRequestTimeoutMs = 5000;
// A reply that the peer has taken nothing of for this long is given up and the connection
// closed: a peer that never reads must not hold its slot and its reply's memory for good.
inline constexpr DWORD kReplyStallTimeoutMs = 30000;
// An answered connection waits this long for the peer's close before it is closed anyway.
inline constexpr DWORD kLingerTimeoutMs = 2000;

// The connection of `socket`, or nullptr when it is not an open connection (the listener,
// a socket already closed, a stale event).
Connection* FindConnection(SOCKET socket);

// Takes `socket` into a free slot, accepted at `now`. With the table full, the longest-idle
// connection without a request is closed to make room; nullptr when there is none.
Connection* AddConnection(SOCKET socket, DWORD now);

// Closes the connections whose request or reply is overdue at `now` (see the time-outs
// above). Connections whose request is being acted on are never touched.
void SweepConnections(DWORD now);

// Takes what has arrived. True when the connection holds request bytes. A peer that has gone
// without sending any is closed (false); with nothing received yet the connection waits.
bool CollectRequest(Connection& connection);

// A block of `size` zero-filled bytes for the reply's body, which the connection owns until
// its reply is done or it closes; nullptr when there is no memory. The caller fills it and
// hands it to connection.reply.SetBody.
char* AllocateReplyBody(Connection& connection, std::size_t size);

// Queues `head` (the fixed reply) ahead of the reply file and sends what the socket takes now.
void SendHead(Connection& connection, std::string_view head);

// Sends what the socket accepts now. After the reply's last byte the connection is closing;
// when the peer cannot take it, it is closed; otherwise it waits for the next write-ready event.
void ContinueReply(Connection& connection);

// A closing connection's read or close event: drops what arrived and closes the connection
// once the peer has closed (or gone).
void LingerOn(Connection& connection);

// Records that the close event of `connection` has come (before or after its reply).
void NotePeerClosed(Connection& connection);

// Releases the reply block and the socket and frees the slot. Bytes the peer sent and that
// nobody read are taken first, so the close is an orderly one and not a reset that could
// destroy the reply at the peer.
void CloseConnection(Connection& connection);

void CloseAllConnections();
// Connections not yet answered or still being answered (closing ones are done with).
std::size_t OpenConnectionCount();

}  // namespace web
