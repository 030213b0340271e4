#pragma once
// Test helpers for the web front under Wine: a loopback TCP client, the reply files in C:\,
// and the main form's stand-in window routing socket events as the main window does.

#include <windows.h>
#include <winsock.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/web/request_plan.h"
#include "tests/support/win_test_support.h"

namespace webtest {

// Dispatches messages one at a time and checks `done` after each, so a test can stop between
// two socket events (PumpMessagesUntil empties the queue before it checks). Bounded by
// `timeoutMs`; returns whether `done` held.
bool DispatchUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// PumpMessagesUntil with the bound these tests use by default.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    return testsupport::PumpMessagesUntil(done, timeoutMs);
}

// Dispatches messages for `milliseconds`.
void PumpFor(DWORD milliseconds);

// Winsock for the test's own sockets, started once per test program.
void StartWinsock();

// A client on 127.0.0.1. The socket is non-blocking once connected; Poll() takes what has
// arrived, so one thread can drive the client and the window's messages in turn.
class LoopbackClient {
public:
    // Connects to 127.0.0.1:`port`. A `receiveBuffer` above 0 makes the socket's receive
    // buffer that small, so a large reply cannot arrive at once.
    explicit LoopbackClient(std::uint16_t port, int receiveBuffer = 0);
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool Connected() const { return socket_ != INVALID_SOCKET && connectError_ == 0; }
    int ConnectError() const { return connectError_; }
    bool Send(std::string_view bytes);
    // Takes at most `limit` bytes of what has arrived. True once the server has closed.
    bool Poll(std::size_t limit = SIZE_MAX);
    bool ServerClosed() const { return serverClosed_; }
    bool Reset() const { return reset_; }
    const std::string& Received() const { return received_; }
    void Close();
    // Shuts the sending side only, as a peer that has said all it will: the server sees the
    // close event and can still reply.
    bool StopSending();

private:
    SOCKET socket_ = INVALID_SOCKET;
    int connectError_ = 0;
    std::string received_;
    bool serverClosed_ = false;
    bool reset_ = false;
};

// Pumps messages until `client` has seen the server close. False on timeout.
bool AwaitClose(LoopbackClient& client, DWORD timeoutMs = 10000);

// Another program's listener, holding `port` (0: any free one) of `address` (host byte order)
// while it lives.
class PortHolder {
public:
    explicit PortHolder(std::uint16_t port, std::uint32_t address = INADDR_ANY);
    ~PortHolder();
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;

    // Whether it listens; otherwise Error() is the socket error that stopped it.
    bool Holding() const { return port_ != 0; }
    int Error() const { return error_; }
    std::uint16_t Port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    int error_ = 0;
};

// The reply files C:\a, C:\c and C:\s of one test: none exists at the start, and the test's
// own are removed at the end.
class ReplyFiles {
public:
    ReplyFiles();
    ~ReplyFiles();
    ReplyFiles(const ReplyFiles&) = delete;
    ReplyFiles& operator=(const ReplyFiles&) = delete;

    void Write(web::ReplyFile file, std::string_view bytes);
    void Remove(web::ReplyFile file);
};

struct SocketEvent {
    SOCKET socket;
    WORD event;
};

// A window holding the main form's edits and buttons (from the form's table) whose WM_SOCKET
// goes to the main window procedure itself, which hands it to the web front. Every routed
// event is recorded.
class SocketWindow {
public:
    SocketWindow();
    ~SocketWindow();
    SocketWindow(const SocketWindow&) = delete;
    SocketWindow& operator=(const SocketWindow&) = delete;

    HWND Handle() const { return form_.hwnd(); }
    std::string Text(int id) const { return form_.Text(id); }
    void SetText(int id, const std::string& text) { form_.SetText(id, text); }
    // The events routed so far, in order.
    const std::vector<SocketEvent>& Events() const { return events_; }
    // Number of events `event` on `socket` routed since event number `from`.
    int CountEvents(SOCKET socket, WORD event, std::size_t from = 0) const;
    // The socket of the first event `event` routed since event number `from`.
    SOCKET FirstSocketWith(WORD event, std::size_t from) const;

private:
    static LRESULT CALLBACK RoutingProc(HWND, UINT, WPARAM, LPARAM) noexcept;

    testsupport::TestWindow form_;
    WNDPROC formProc_ = nullptr;
    std::vector<SocketEvent> events_;
};

// `size` pseudo-random bytes: a lost, doubled or shifted run of them shows in a comparison.
std::string PseudoRandomBytes(std::size_t size);

}  // namespace webtest
