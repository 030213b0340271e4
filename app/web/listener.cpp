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

constexpr WORD kWinsockVersion = 0x0101;  // Windows Sockets 1.1
constexpr int kBacklog = 5;
constexpr long kListenerEvents = FD_ACCEPT | FD_CLOSE;
constexpr long kConnectionEvents = FD_READ | FD_WRITE | FD_CLOSE;
static_assert(kListenerEvents == 40 && kConnectionEvents == 35);

void AcceptConnection(HWND window, SOCKET listener) {
    const SOCKET accepted = accept(listener, nullptr, nullptr);
    if (accepted == INVALID_SOCKET) return;
    Connection* const connection = AddConnection(accepted);
    if (connection == nullptr) {  // more connections than slots: this one is not served
        closesocket(accepted);
        return;
    }
    if (WSAAsyncSelect(accepted, window, WM_SOCKET, kConnectionEvents) == SOCKET_ERROR) {
        CloseConnection(*connection);
    }
}

// Write-ready arrives right after the accept and whenever the socket takes bytes again.
void OnWriteReady(SOCKET socket) {
    Connection* const connection = FindConnection(socket);
    if (connection == nullptr) return;
    switch (connection->state) {
    case ConnectionState::AwaitingRequest:
        // A request that has arrived already is kept for its read event.
        CollectRequest(*connection);
        return;
    case ConnectionState::Replying: ContinueReply(*connection); return;
    case ConnectionState::Handling:
    case ConnectionState::Free: return;
    }
}

void OnPeerClosed(HWND window, SOCKET socket) {
    Connection* const connection = FindConnection(socket);
    if (connection == nullptr) return;  // the listener, or a connection closed already
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
    case ConnectionState::Handling:  // the request in progress replies and closes
    case ConnectionState::Free: return;
    }
}

}  // namespace

bool OpenListenerOn(HWND window, std::uint16_t port, std::uint32_t address) {
    CloseListener();
    WSAStartup(kWinsockVersion, &wsaData);
    listenSocket = socket(AF_INET, SOCK_STREAM, 0);
    if (listenSocket == INVALID_SOCKET) return false;
    // Asynchronous before it is bound: every event of the listener reaches the window.
    if (WSAAsyncSelect(listenSocket, window, WM_SOCKET, kListenerEvents) == SOCKET_ERROR) {
        CloseListener();
        return false;
    }
    listenAddress = sockaddr_in{};
    listenAddress.sin_family = AF_INET;
    listenAddress.sin_port = htons(port);
    listenAddress.sin_addr.s_addr = htonl(address);
    // bind takes the generic address type; a sockaddr_in is its AF_INET form.
    const auto* generic = reinterpret_cast<const sockaddr*>(&listenAddress);
    if (bind(listenSocket, generic, sizeof listenAddress) == SOCKET_ERROR ||
        listen(listenSocket, kBacklog) == SOCKET_ERROR) {
        CloseListener();
        return false;
    }
    return true;
}

void OpenListener(HWND window) {
    OpenListenerOn(window, kHttpPort, INADDR_ANY);
}

void CloseListener() {
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
    case FD_WRITE: OnWriteReady(socket); return;
    case FD_READ: HandleRequest(window, socket); return;
    case FD_CLOSE: OnPeerClosed(window, socket); return;
    default: return;
    }
}

}  // namespace web
