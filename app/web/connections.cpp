#include "app/web/connections.h"
#include "app/web/web_front_internal.h"

#include <algorithm>
#include <array>
#include <climits>

namespace web {

namespace {

// One slot per open connection. Static storage keeps every slot at its address while nested
// socket events (inside a step's debug box) open and close other connections.
constinit std::array<Connection, kMaxConnections> connections;

// Unread bytes taken before a close, at most this many receives of the scrap buffer.
constexpr int kDrainReceives = 64;

// The time-outs in force (shorter in some tests).
constinit DWORD requestTimeoutMs = kRequestTimeoutMs;
constinit DWORD replyStallTimeoutMs = kReplyStallTimeoutMs;

// Accepted and silent so far: the kind of connection that may give way to others.
bool IsWithoutRequest(const Connection& connection) {
    return connection.state == ConnectionState::AwaitingRequest && connection.request.length == 0;
}

// Tick differences are taken unsigned, so the wrap of GetTickCount after 49 days is harmless.
bool IsOverdue(const Connection& connection, DWORD now) {
    if (IsWithoutRequest(connection)) return now - connection.acceptedAt >= requestTimeoutMs;
    if (connection.state == ConnectionState::Replying) {
        return now - connection.lastProgress >= replyStallTimeoutMs;
    }
    if (connection.state == ConnectionState::Closing) {
        return now - connection.lastProgress >= kLingerTimeoutMs;
    }
    return false;
}

// A connection that may give way to a newcomer: answered already, or silent so far.
bool MayGiveWay(const Connection& connection) {
    return connection.state == ConnectionState::Closing || IsWithoutRequest(connection);
}

// The connection that may give way and has waited longest, answered ones first; or nullptr.
Connection* LongestIdle(DWORD now) {
    Connection* oldest = nullptr;
    for (Connection& connection : connections) {
        if (!MayGiveWay(connection)) continue;
        const bool answered = connection.state == ConnectionState::Closing;
        const bool oldestAnswered = oldest != nullptr && oldest->state == ConnectionState::Closing;
        if (oldest == nullptr || (answered && !oldestAnswered) ||
            (answered == oldestAnswered &&
             now - connection.acceptedAt > now - oldest->acceptedAt)) {
            oldest = &connection;
        }
    }
    return oldest;
}

Connection* FreeSlot() {
    for (Connection& connection : connections) {
        if (connection.state == ConnectionState::Free) return &connection;
    }
    return nullptr;
}

enum class ReceiveResult {
    Data,        // bytes were taken
    NothingYet,  // nothing to read now; the peer is still there
    PeerClosed,  // the peer has closed its sending side
    Failed,      // the connection is broken
    BufferFull,  // the request holds all the bytes it may use
};

ReceiveResult ReceiveOnce(Connection& connection) {
    const std::span<char> room = connection.request.FreeSpace();
    if (room.empty()) return ReceiveResult::BufferFull;
    // The room is at most the 1024 bytes of a request buffer.
    const int received = recv(connection.socket, room.data(), static_cast<int>(room.size()), 0);
    if (received > 0) {
        connection.request.Took(static_cast<std::size_t>(received));
        return ReceiveResult::Data;
    }
    if (received == 0) return ReceiveResult::PeerClosed;
    return WSAGetLastError() == WSAEWOULDBLOCK ? ReceiveResult::NothingYet
                                               : ReceiveResult::Failed;
}

enum class SendResult { Done, Later, Failed };

SendResult SendAvailable(Connection& connection) {
    while (!connection.reply.Done()) {
        const std::span<const char> next = connection.reply.Pending();
        const int length = static_cast<int>(std::min<std::size_t>(next.size(), INT_MAX));
        const int sent = send(connection.socket, next.data(), length, 0);
        if (sent > 0) {
            connection.reply.Sent(static_cast<std::size_t>(sent));
            connection.lastProgress = GetTickCount();
        } else if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            return SendResult::Later;
        } else {
            return SendResult::Failed;
        }
    }
    return SendResult::Done;
}

// Reads and drops what has arrived. True when the peer has closed or the connection is gone;
// false when nothing more is there now (or the scrap receives ran out).
bool DrainUnread(SOCKET socket) {
    char scrap[512];
    for (int i = 0; i < kDrainReceives; ++i) {
        const int received = recv(socket, scrap, sizeof scrap, 0);
        if (received == 0) return true;
        if (received < 0) return WSAGetLastError() != WSAEWOULDBLOCK;
    }
    return false;
}

void ReleaseReply(Connection& connection) {
    if (connection.replyBlock == nullptr) return;
    GlobalUnlock(connection.replyBlock);
    GlobalFree(connection.replyBlock);
    connection.replyBlock = nullptr;
    connection.reply = OutgoingReply{};
}

// After the reply's last byte: our side is shut, so the peer sees the reply end, but the
// socket stays open until the peer closes. Closing it at once would answer bytes the peer
// still sends (headers in a second write, the rest of a body) with a reset, which destroys
// the reply's bytes that the peer has not read yet.
//
// A peer that has not closed yet is left to its read and close events, which drain and close:
// a receive now would almost always find nothing (the peer has yet to read the reply) and cost
// a round trip to the system. One whose close event has come already gets no further one, so
// it is drained and closed now.
void BeginClosing(Connection& connection) {
    ReleaseReply(connection);
    if (shutdown(connection.socket, 1 /* SD_SEND */) == SOCKET_ERROR) {
        CloseConnection(connection);
        return;
    }
    connection.state = ConnectionState::Closing;
    connection.lastProgress = GetTickCount();
    if (connection.peerClosed) LingerOn(connection);
}

// CloseConnection for a connection whose peer has closed (a receive returned its end) or that
// is broken: nothing more can arrive, so there is nothing to take before the close.
void CloseDrained(Connection& connection) {
    ReleaseReply(connection);
    closesocket(connection.socket);
    connection = Connection{};
}

}  // namespace

Connection* FindConnection(SOCKET socket) {
    for (Connection& connection : connections) {
        if (connection.state != ConnectionState::Free && connection.socket == socket) {
            return &connection;
        }
    }
    return nullptr;
}

Connection* AddConnection(SOCKET socket, DWORD now) {
    Connection* slot = FreeSlot();
    if (slot == nullptr) {
        // A request being acted on or a reply under way is never dropped for a newcomer.
        Connection* const idle = LongestIdle(now);
        if (idle == nullptr) return nullptr;
        CloseConnection(*idle);
        slot = idle;
    }
    slot->socket = socket;
    slot->state = ConnectionState::AwaitingRequest;
    slot->acceptedAt = now;
    slot->lastProgress = now;
    return slot;
}

void SweepConnections(DWORD now) {
    for (Connection& connection : connections) {
        if (IsOverdue(connection, now)) CloseConnection(connection);
    }
}

void SetConnectionTimeouts(DWORD requestMs, DWORD replyStallMs) {
    requestTimeoutMs = requestMs;
    replyStallTimeoutMs = replyStallMs;
}

bool CollectRequest(Connection& connection) {
    // One receive takes all that has arrived: it offers all the room the request has left, so
    // one that returns less has taken all the system held, and one that fills it leaves the
    // request full. A second receive would cost a round trip to the system (under Wine, one to
    // its server) only to learn that nothing more is there.
    const ReceiveResult last = ReceiveOnce(connection);
    if (connection.request.length > 0) return true;
    if (last == ReceiveResult::PeerClosed || last == ReceiveResult::Failed) {
        CloseDrained(connection);
    }
    return false;
}

char* AllocateReplyBody(Connection& connection, std::size_t size) {
    // A connection has one reply, so it holds no block yet; the head (the fixed reply) stays.
    if (connection.replyBlock != nullptr) return nullptr;
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (block == nullptr) return nullptr;
    void* const bytes = GlobalLock(block);
    if (bytes == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    connection.replyBlock = block;
    return static_cast<char*>(bytes);
}

void SendHead(Connection& connection, std::string_view head) {
    connection.reply.SetHead(head);
    // Whatever the socket does not take now goes out ahead of the file bytes; a failure
    // shows again when the rest of the reply is sent.
    SendAvailable(connection);
}

void ContinueReply(Connection& connection) {
    switch (SendAvailable(connection)) {
    case SendResult::Later: connection.state = ConnectionState::Replying; return;
    case SendResult::Done: BeginClosing(connection); return;
    case SendResult::Failed: CloseConnection(connection); return;
    }
}

void LingerOn(Connection& connection) {
    if (DrainUnread(connection.socket)) CloseDrained(connection);
}

void NotePeerClosed(Connection& connection) {
    connection.peerClosed = true;
}

void CloseConnection(Connection& connection) {
    DrainUnread(connection.socket);
    CloseDrained(connection);
}

void CloseAllConnections() {
    for (Connection& connection : connections) {
        if (connection.state != ConnectionState::Free) CloseConnection(connection);
    }
}

std::size_t OpenConnectionCount() {
    return static_cast<std::size_t>(std::count_if(
        connections.begin(), connections.end(),
        [](const Connection& c) {
            return c.state != ConnectionState::Free && c.state != ConnectionState::Closing;
        }));
}

std::size_t ReceivedLength(SOCKET connection) {
    const Connection* const open = FindConnection(connection);
    if (open == nullptr || open->state != ConnectionState::AwaitingRequest) return 0;
    return open->request.length;
}

}  // namespace web
