// min_server: the floor for this design under the same platform. A window that takes socket
// events by asynchronous select and, for each connection's first read event, receives, opens
// and reads the reply file, sends it and closes: no runtime, no connection table, no planning.
//
//   min_server.exe PORT FILE [BACKLOG [window]]
//
// With "window" the events go to a visible top-level window, as the program's go to its main
// window, instead of a message-only one: under Wine, a thread with a window on the display
// also serves the display's events in every wait for a message.

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr UINT kSocketMessage = WM_USER + 100;
const char* replyFile = nullptr;

void Answer(SOCKET connection) {
    char request[1024];
    recv(connection, request, sizeof request, 0);
    const HANDLE file = CreateFileA(replyFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const DWORD size = GetFileSize(file, nullptr);
        std::vector<char> bytes(size);
        DWORD read = 0;
        if (size > 0 && ReadFile(file, bytes.data(), size, &read, nullptr)) {
            send(connection, bytes.data(), static_cast<int>(read), 0);
        }
        CloseHandle(file);
    }
    closesocket(connection);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message != kSocketMessage) return DefWindowProcA(window, message, wParam, lParam);
    const auto socket = static_cast<SOCKET>(wParam);
    switch (WSAGETSELECTEVENT(lParam)) {
    case FD_ACCEPT: {
        const SOCKET connection = accept(socket, nullptr, nullptr);
        if (connection != INVALID_SOCKET) {
            WSAAsyncSelect(connection, window, kSocketMessage, FD_READ | FD_CLOSE);
        }
        return 0;
    }
    case FD_READ: Answer(socket); return 0;
    case FD_CLOSE: closesocket(socket); return 0;
    default: return 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: min_server PORT FILE [BACKLOG [window]]\n");
        return 2;
    }
    replyFile = argv[2];
    const int backlog = argc > 3 ? std::atoi(argv[3]) : 5;
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MinServer";
    RegisterClassA(&windowClass);
    const bool visible = argc > 4 && std::strcmp(argv[4], "window") == 0;
    const HWND window =
        visible ? CreateWindowA("MinServer", "min_server", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320,
                                200, nullptr, nullptr, windowClass.hInstance, nullptr)
                : CreateWindowA("MinServer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::atoi(argv[1])));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    WSAAsyncSelect(listener, window, kSocketMessage, FD_ACCEPT);
    // bind takes the generic address type; a sockaddr_in is its AF_INET form.
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, backlog) != 0) {
        std::fprintf(stderr, "min_server: cannot listen on port %s\n", argv[1]);
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
