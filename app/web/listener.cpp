// The listening socket and the socket events of the main window.

#include "app/web/connections.h"
#include "app/web/web_front.h"
#include "app/web/web_front_internal.h"

namespace web {

namespace {

// The listener's process-wide state. It lives as long as the process; the end of the
// process releases it and the socket library.
constinit SOCKET listenSocket = INVALID_SOCKET;
constinit sockaddr_in listenAddress{};
constinit WSADATA wsaData{};
// The window whose timer sweeps overdue connections while the listener is open.
constinit HWND sweepWindow = nullptr;
// Where OpenListener listens (host byte order).
constinit std::uint16_t listenPort = kHttpPort;
constinit std::uint32_t listenOn = INADDR_ANY;
constinit int listenBacklog = kDefaultBacklog;
// The peers served (--allow); empty: all.
constinit AllowList allowList{};

// Not the runtime's own form timer (2): ours goes to its own procedure, not to the form's.
constexpr UINT_PTR kSweepTimerId = 0x5754;
constexpr UINT kSweepPeriodMs = 250;

constexpr WORD kWinsockVersion = 0x0101;  // Windows Sockets 1.1
constexpr long kListenerEvents = FD_ACCEPT | FD_CLOSE;
constexpr long kConnectionEvents = FD_READ | FD_WRITE | FD_CLOSE;
static_assert(kListenerEvents == 40 && kConnectionEvents == 35);

void CALLBACK OnSweepTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
    SweepConnections(GetTickCount());
}

// Whether a peer whose address accept gave as `peer` (`length` bytes) may be served.
bool PeerAllowed(const sockaddr_in& peer, int length) {
    return length == static_cast<int>(sizeof peer) && peer.sin_family == AF_INET &&
           allowList.Allows(ntohl(peer.sin_addr.s_addr));
}

void AcceptConnection(HWND window, SOCKET listener) {
    sockaddr_in peer{};
    int peerLength = sizeof peer;
    const bool screened = allowList.count != 0;
    // accept fills the generic address type; for this socket it is a sockaddr_in.
    const SOCKET accepted = screened ? accept(listener, reinterpret_cast<sockaddr*>(&peer), &peerLength)
                                     : accept(listener, nullptr, nullptr);
    if (accepted == INVALID_SOCKET) return;
    if (screened && !PeerAllowed(peer, peerLength)) {
        // Before any byte is read: the peer learns nothing but that it is not served.
        closesocket(accepted);
        return;
    }
    Connection* const connection = AddConnection(accepted, GetTickCount());
    if (connection == nullptr) {  // every slot holds a request: this one is not served
        closesocket(accepted);
        return;
    }
    if (WSAAsyncSelect(accepted, window, WM_SOCKET, kConnectionEvents) == SOCKET_ERROR) {
        CloseConnection(*connection);
    }
}

// Write-ready arrives right after the accept and whenever the socket takes bytes again.
void OnWriteReady(HWND window, SOCKET socket) {
    Connection* const connection = FindConnection(socket);
    if (connection == nullptr) return;
    switch (connection->state) {
    case ConnectionState::AwaitingRequest:
        // A request that has arrived already is kept for its read event. The socket library
        // may drop that event once the bytes are taken (seen under Wine when the request came
        // before the accept), which would leave the request unanswered for good: the read
        // event is posted here too, behind any the library posted; the later of the two finds
        // the request answered.
        if (CollectRequest(*connection)) PostMessageA(window, WM_SOCKET, socket, FD_READ);
        return;
    case ConnectionState::Replying: ContinueReply(*connection); return;
    case ConnectionState::Handling:
    case ConnectionState::Closing:
    case ConnectionState::Free: return;
    }
}

void OnPeerClosed(HWND window, SOCKET socket) {
    Connection* const connection = FindConnection(socket);
    if (connection == nullptr) return;  // the listener, or a connection closed already
    NotePeerClosed(*connection);
    switch (connection->state) {
    case ConnectionState::AwaitingRequest:
        // Bytes sent before the close are still a request and are answered; a connection
        // without any is closed. A stale notice for a reused socket handle finds the peer
        // still there and changes nothing.
        HandleRequest(window, socket);
        return;
    case ConnectionState::Replying:
        // A peer that only closed its sending side still reads the rest; one that has gone
        // fails the send, which closes the connection.
        ContinueReply(*connection);
        return;
    case ConnectionState::Closing: LingerOn(*connection); return;
    case ConnectionState::Handling:  // the request in progress replies and closes
    case ConnectionState::Free: return;
    }
}

// The failure of `step`: the error is taken before the socket is closed, which may set another.
bool Failed(ListenerStep step, std::uint16_t port, ListenerFailure* failure) {
    if (failure != nullptr) *failure = ListenerFailure{port, step, WSAGetLastError()};
    CloseListener();
    return false;
}

}  // namespace

bool OpenListenerOn(HWND window, std::uint16_t port, std::uint32_t address,
                    ListenerFailure* failure) {
    CloseListener();
    // Its failure shows as the socket's: without the library there is no socket.
    WSAStartup(kWinsockVersion, &wsaData);
    listenSocket = socket(AF_INET, SOCK_STREAM, 0);
    if (listenSocket == INVALID_SOCKET) return Failed(ListenerStep::Socket, port, failure);
    // Asynchronous before it is bound: every event of the listener reaches the window.
    if (WSAAsyncSelect(listenSocket, window, WM_SOCKET, kListenerEvents) == SOCKET_ERROR) {
        return Failed(ListenerStep::Select, port, failure);
    }
    listenAddress = sockaddr_in{};
    listenAddress.sin_family = AF_INET;
    listenAddress.sin_port = htons(port);
    listenAddress.sin_addr.s_addr = htonl(address);
    // bind takes the generic address type; a sockaddr_in is its AF_INET form.
    const auto* generic = reinterpret_cast<const sockaddr*>(&listenAddress);
    if (bind(listenSocket, generic, sizeof listenAddress) == SOCKET_ERROR) {
        return Failed(ListenerStep::Bind, port, failure);
    }
    if (listen(listenSocket, listenBacklog) == SOCKET_ERROR) {
        return Failed(ListenerStep::Listen, port, failure);
    }
    if (SetTimer(window, kSweepTimerId, kSweepPeriodMs, OnSweepTimer) != 0) sweepWindow = window;
    return true;
}

void SetListenAddress(std::uint16_t port, std::uint32_t address) {
    listenPort = port;
    listenOn = address;
}

void SetListenBacklog(int backlog) {
    listenBacklog = backlog;
}

void SetAllowList(const AllowList& list) {
    allowList = list;
}

void OpenListener(HWND window) {
    ListenerFailure failure{};
    if (OpenListenerOn(window, listenPort, listenOn, &failure)) return;
    PostMessageA(window, WM_LISTENER_FAILED, ListenerFailureWParam(failure), failure.error);
}

void CloseListener() {
    if (sweepWindow != nullptr) {
        KillTimer(sweepWindow, kSweepTimerId);
        sweepWindow = nullptr;
    }
    if (listenSocket == INVALID_SOCKET) return;
    closesocket(listenSocket);
    listenSocket = INVALID_SOCKET;
}

std::uint16_t ListenerPort() {
    if (listenSocket == INVALID_SOCKET) return 0;
    sockaddr_in bound{};
    int length = sizeof bound;
    // getsockname fills the generic address type; for this socket it is a sockaddr_in.
    if (getsockname(listenSocket, reinterpret_cast<sockaddr*>(&bound), &length) == SOCKET_ERROR) {
        return 0;
    }
    return ntohs(bound.sin_port);
}

void OnSocketEvent(HWND window, SOCKET socket, WORD event) noexcept {
    switch (event) {
    case FD_ACCEPT: AcceptConnection(window, socket); return;
    case FD_WRITE: OnWriteReady(window, socket); return;
    case FD_READ: HandleRequest(window, socket); return;
    case FD_CLOSE: OnPeerClosed(window, socket); return;
    default: return;
    }
}

}  // namespace web
