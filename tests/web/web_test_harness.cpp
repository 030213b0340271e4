#include "tests/web/web_test_harness.h"

#include <algorithm>

#include "app/main_window.h"
#include "app/web/web_front.h"

namespace webtest {

namespace {

constexpr char kWindowProperty[] = "MtWebSocketWindow";

}  // namespace

bool DispatchUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const testsupport::Stopwatch watch;
    for (;;) {
        if (done()) return true;
        if (watch.ElapsedMs() >= timeoutMs) return false;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
}

void PumpFor(DWORD milliseconds) {
    testsupport::PumpMessagesUntil([] { return false; }, milliseconds);
}

void StartWinsock() {
    static bool started = false;
    if (started) return;
    WSADATA data;
    started = WSAStartup(0x0101, &data) == 0;
}

LoopbackClient::LoopbackClient(std::uint16_t port, int receiveBuffer) {
    StartWinsock();
    socket_ = socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ == INVALID_SOCKET) {
        connectError_ = WSAGetLastError();
        return;
    }
    if (receiveBuffer > 0) {
        setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                   sizeof receiveBuffer);
    }
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(port);
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // The listener's backlog completes the connection; the accept comes later, from the pump.
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&server), sizeof server) ==
        SOCKET_ERROR) {
        connectError_ = WSAGetLastError();
        return;
    }
    u_long nonBlocking = 1;
    ioctlsocket(socket_, FIONBIO, &nonBlocking);
}

LoopbackClient::~LoopbackClient() {
    Close();
}

bool LoopbackClient::Send(std::string_view bytes) {
    const testsupport::Stopwatch watch;
    while (!bytes.empty()) {
        const int sent = send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (WSAGetLastError() != WSAEWOULDBLOCK || watch.ElapsedMs() > 5000) {
            return false;
        } else {
            Sleep(1);
        }
    }
    return true;
}

bool LoopbackClient::Poll(std::size_t limit) {
    char chunk[65536];
    while (!serverClosed_ && limit > 0) {
        const int want = static_cast<int>(std::min(limit, sizeof chunk));
        const int received = recv(socket_, chunk, want, 0);
        if (received > 0) {
            received_.append(chunk, static_cast<std::size_t>(received));
            limit -= static_cast<std::size_t>(received);
        } else if (received == 0) {
            serverClosed_ = true;
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            break;
        } else {
            serverClosed_ = true;
            reset_ = true;
        }
    }
    return serverClosed_;
}

void LoopbackClient::Close() {
    if (socket_ == INVALID_SOCKET) return;
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

bool LoopbackClient::StopSending() {
    constexpr int kSendSide = 1;  // SD_SEND, which Windows Sockets 1.1's header does not name
    return socket_ != INVALID_SOCKET && shutdown(socket_, kSendSide) == 0;
}

PortHolder::PortHolder(std::uint16_t port, std::uint32_t address) {
    StartWinsock();
    socket_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    bound.sin_port = htons(port);
    bound.sin_addr.s_addr = htonl(address);
    int length = sizeof bound;
    // The socket calls take the generic address type; a sockaddr_in is its AF_INET form.
    auto* generic = reinterpret_cast<sockaddr*>(&bound);
    if (socket_ == INVALID_SOCKET || bind(socket_, generic, sizeof bound) == SOCKET_ERROR ||
        listen(socket_, 5) == SOCKET_ERROR || getsockname(socket_, generic, &length) == SOCKET_ERROR) {
        error_ = WSAGetLastError();
        return;
    }
    port_ = ntohs(bound.sin_port);
}

PortHolder::~PortHolder() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

bool AwaitClose(LoopbackClient& client, DWORD timeoutMs) {
    return PumpUntil([&client] { return client.Poll(); }, timeoutMs);
}

ReplyFiles::ReplyFiles() {
    for (web::ReplyFile file : {web::ReplyFile::A, web::ReplyFile::C, web::ReplyFile::S}) {
        Remove(file);
    }
}

ReplyFiles::~ReplyFiles() {
    for (web::ReplyFile file : {web::ReplyFile::A, web::ReplyFile::C, web::ReplyFile::S}) {
        Remove(file);
    }
}

void ReplyFiles::Write(web::ReplyFile file, std::string_view bytes) {
    testsupport::WriteFileBytes(web::ReplyFilePath(file), std::string(bytes));
}

void ReplyFiles::Remove(web::ReplyFile file) {
    DeleteFileA(web::ReplyFilePath(file));
}

SocketWindow::SocketWindow() {
    SetPropA(form_.hwnd(), kWindowProperty, this);
    // The procedure pointer travels as a LONG_PTR through the window's slot.
    formProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        form_.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SocketWindow::RoutingProc)));
}

SocketWindow::~SocketWindow() {
    SetWindowLongPtrA(form_.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProc_));
    RemovePropA(form_.hwnd(), kWindowProperty);
}

LRESULT CALLBACK SocketWindow::RoutingProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
    // Set by the constructor before the procedure was installed.
    auto* self = static_cast<SocketWindow*>(GetPropA(window, kWindowProperty));
    if (message == web::WM_SOCKET && self != nullptr) {
        const SOCKET socket = static_cast<SOCKET>(wParam);
        const WORD event = LOWORD(lParam);
        self->events_.push_back({socket, event});
        return app::MainWindowProc(window, message, wParam, lParam);
    }
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(self->formProc_, window, message, wParam, lParam);
}

int SocketWindow::CountEvents(SOCKET socket, WORD event, std::size_t from) const {
    const auto first = events_.begin() + static_cast<std::ptrdiff_t>(std::min(from, events_.size()));
    return static_cast<int>(std::count_if(first, events_.end(), [&](const SocketEvent& e) {
        return e.socket == socket && e.event == event;
    }));
}

SOCKET SocketWindow::FirstSocketWith(WORD event, std::size_t from) const {
    for (std::size_t i = from; i < events_.size(); ++i) {
        if (events_[i].event == event) return events_[i].socket;
    }
    return INVALID_SOCKET;
}

std::string PseudoRandomBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 0x12345678u;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

}  // namespace webtest
