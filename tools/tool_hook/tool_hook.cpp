// mt_tool_hook.dll: the kit's stand-in for a parallel-port driver. The program (--hook) calls
// its Out32(888, value) to switch the tool; instead of a port's data pins, every value goes to
// the serial-line simulator on this computer, which keeps the tool's state and draws the moves
// made with it on as the cut:
//
//     POST /tool?value=V   to 127.0.0.1, port MT_VIEW_PORT (the live view's; 8070 without it)
//
// The serial line carries step bytes only, so the tool's state takes a line of its own. The
// simulator answers once it has taken every step byte that reached it before the change, and
// Out32 returns only then: steps written before the call are drawn with the old state, those
// after it with the new one. Without a simulator Out32 returns at once. Every wait is bounded.

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned short kDefaultViewPort = 8070;
// The simulator applies a change within a few seconds even behind a slow line.
constexpr long kConnectTimeoutMs = 1000;
constexpr long kAnswerTimeoutMs = 8000;

bool winsockStarted = false;

unsigned short ViewPort() {
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("MT_VIEW_PORT", text, sizeof text);
    if (length == 0 || length >= sizeof text) return kDefaultViewPort;
    char* end = nullptr;
    const unsigned long port = std::strtoul(text, &end, 10);
    return *end == '\0' && port >= 1 && port <= 65535 ? static_cast<unsigned short>(port) : kDefaultViewPort;
}

// Waits until `socket` is ready to write (or, `forReading`, to read); false on time-out.
bool AwaitSocket(SOCKET socket, bool forReading, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, forReading ? &set : nullptr, forReading ? nullptr : &set, nullptr, &limit) == 1;
}

bool ConnectBounded(SOCKET socket, unsigned short port) {
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    sockaddr_in simulator{};
    simulator.sin_family = AF_INET;
    simulator.sin_port = htons(port);
    simulator.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // connect takes the generic address type; a sockaddr_in is its AF_INET form.
    if (connect(socket, reinterpret_cast<const sockaddr*>(&simulator), sizeof simulator) == SOCKET_ERROR &&
        (WSAGetLastError() != WSAEWOULDBLOCK || !AwaitSocket(socket, false, kConnectTimeoutMs))) {
        return false;
    }
    int error = 0;
    int length = sizeof error;
    getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    return error == 0;
}

// Sends the whole request and reads the answer until the simulator closes (it answers with
// "Connection: close") or the time is up.
void Exchange(SOCKET socket, const char* request, int length) {
    for (int sent = 0; sent < length;) {
        if (!AwaitSocket(socket, false, kConnectTimeoutMs)) return;
        const int now = send(socket, request + sent, length - sent, 0);
        if (now <= 0) return;
        sent += now;
    }
    const DWORD started = GetTickCount();
    char answer[512];
    for (;;) {
        const long left = kAnswerTimeoutMs - static_cast<long>(GetTickCount() - started);
        if (left <= 0 || !AwaitSocket(socket, true, left)) return;
        if (recv(socket, answer, sizeof answer, 0) <= 0) return;
    }
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) {
    if (!winsockStarted) {
        WSADATA wsaData;
        winsockStarted = WSAStartup(MAKEWORD(2, 2), &wsaData) == 0;
        if (!winsockStarted) return;
    }
    const unsigned short viewPort = ViewPort();
    char request[160];
    const int length = std::snprintf(request, sizeof request,
                                     "POST /tool?value=%u&port=%u HTTP/1.1\r\nHost: 127.0.0.1:%u\r\n"
                                     "Content-Length: 0\r\nConnection: close\r\n\r\n",
                                     static_cast<unsigned>(static_cast<unsigned short>(data)),
                                     static_cast<unsigned>(static_cast<unsigned short>(port)), viewPort);
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) return;
    if (ConnectBounded(socket, viewPort)) Exchange(socket, request, length);
    closesocket(socket);
}
