#include "tests/web/web_test_harness.h"

#include <algorithm>

#include "app/web/web_front.h"

namespace webtest {

namespace {

constexpr char kWindowClass[] = "MtWebTestWindow";
constexpr int kFirstField = 1000;
constexpr int kLastField = 1008;

LRESULT CALLBACK SocketWindowProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    if (message == web::WM_SOCKET) {
        // The window keeps its event log behind GWLP_USERDATA (set right after creation).
        auto* events = reinterpret_cast<std::vector<SocketEvent>*>(
            GetWindowLongPtrA(window, GWLP_USERDATA));
        const SOCKET socket = static_cast<SOCKET>(wParam);
        const WORD event = LOWORD(lParam);
        if (events != nullptr) events->push_back({socket, event});
        web::OnSocketEvent(window, socket, event);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterSocketWindowClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = SocketWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly when registered already
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
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
    PumpUntil([] { return false; }, milliseconds);
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
    const DWORD start = GetTickCount();
    while (!bytes.empty()) {
        const int sent = send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (WSAGetLastError() != WSAEWOULDBLOCK || GetTickCount() - start > 5000) {
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
    const HANDLE handle = CreateFileA(web::ReplyFilePath(file), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
}

void ReplyFiles::Remove(web::ReplyFile file) {
    DeleteFileA(web::ReplyFilePath(file));
}

SocketWindow::SocketWindow(bool withFields) {
    RegisterSocketWindowClass();
    handle_ = CreateWindowExA(0, kWindowClass, "web front test", WS_OVERLAPPEDWINDOW, 0, 0,
                              400, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&events_));
    if (!withFields) return;
    for (int id = kFirstField; id <= kLastField; ++id) {
        // A child's identifier travels in the menu-handle argument.
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, (id - kFirstField) * 22, 200,
                        20, handle_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), nullptr);
    }
}

SocketWindow::~SocketWindow() {
    if (handle_ != nullptr) DestroyWindow(handle_);
}

const std::vector<SocketEvent>& SocketWindow::Events() const {
    return events_;
}

int SocketWindow::CountEvents(SOCKET socket, WORD event, std::size_t from) const {
    const auto first = events_.begin() + static_cast<std::ptrdiff_t>(std::min(from, events_.size()));
    return static_cast<int>(std::count_if(first, events_.end(), [&](const SocketEvent& e) {
        return e.socket == socket && e.event == event;
    }));
}

std::string SocketWindow::FieldText(int id) const {
    char text[64] = {};
    GetDlgItemTextA(handle_, id, text, sizeof text);
    return text;
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
