// Request dispatcher and file replies: what each request does, and the reply it gets.

#include "app/motion/motion.h"
#include "app/web/connections.h"
#include "app/web/request_plan.h"
#include "app/web/web_front.h"
#include "app/web/web_front_internal.h"

namespace web {

namespace {

// The dispatcher's process-wide state.
// The last request received, for the record. Each connection acts on its own bytes only.
constinit RequestBytes requestBuffer;
// The file every reply is made of, kept from one request to the next.
constinit const char* replyFileName = ReplyFilePath(ReplyFile::S);
constinit OutputHook outputHook = nullptr;
// Requests being acted on: above zero while a line steps inside its debug boxes.
constinit int requestsInProgress = 0;

void SelectReplyFile(ReplyFile file) {
    replyFileName = ReplyFilePath(file);
}

void CallOutputHook(std::uint32_t value) {
    if (outputHook != nullptr) outputHook(kParallelPortAddress, value);
}

void RunMovement(HWND window, const Connection& connection) {
    const RequestBytes& request = connection.request;
    if (motion::InterpretMotionRequest(window, request.bytes.data(), request.length)) {
        SelectReplyFile(ReplyFile::S);
    }
}

void ActOnRequest(HWND window, Connection& connection) {
    const RequestPlan plan = ClassifyRequest(connection.request.Received());
    if (plan.selectsAFirst) SelectReplyFile(ReplyFile::A);
    switch (plan.action) {
    case RequestAction::None: return;
    case RequestAction::SelectReplyFile: SelectReplyFile(plan.replyFile); return;
    case RequestAction::FixedReply: SendHead(connection, kFixedReply); return;
    case RequestAction::Movement: RunMovement(window, connection); return;
    case RequestAction::OutputHook: CallOutputHook(plan.hookValue); return;
    }
}

// Reads the selected reply file whole into a block that the connection owns until the last
// byte has gone out. A missing, unreadable or empty file gives no body.
void LoadReplyFile(Connection& connection) {
    const HANDLE file =
        CreateFileA(replyFileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && size > 0) {
        const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
        DWORD read = 0;
        if (bytes != nullptr && ReadFile(file, bytes, size, &read, nullptr)) {
            connection.replyBlock = block;
            connection.reply.SetBody(std::span<const char>(static_cast<const char*>(bytes), read));
        } else if (block != nullptr) {
            if (bytes != nullptr) GlobalUnlock(block);
            GlobalFree(block);
        }
    }
    CloseHandle(file);
}

void SendReplyFileOn(Connection& connection) {
    connection.state = ConnectionState::Replying;
    // The reply's stall time counts from here, however long its line took.
    connection.lastProgress = GetTickCount();
    LoadReplyFile(connection);
    ContinueReply(connection);
}

void AnswerRequest(HWND window, Connection& connection) {
    requestBuffer = connection.request;
    connection.state = ConnectionState::Handling;
    // A request that arrives while another is acted on (inside a step's debug box) is only
    // answered: it must not move the machine, select a file or drive the output hook under
    // the request in progress.
    if (requestsInProgress == 0) {
        ++requestsInProgress;
        ActOnRequest(window, connection);
        --requestsInProgress;
    }
    SendReplyFileOn(connection);
}

}  // namespace

void HandleRequest(HWND window, SOCKET connection) noexcept {
    Connection* const open = FindConnection(connection);
    if (open != nullptr && open->state == ConnectionState::Closing) {
        LingerOn(*open);  // answered: what the peer sends now is dropped
        return;
    }
    // A connection answered already, or a socket closed meanwhile, has nothing to act on.
    if (open == nullptr || open->state != ConnectionState::AwaitingRequest) return;
    // Without any byte yet (a notice ahead of the data, or a stale one for a reused socket
    // handle) the connection keeps waiting for its request.
    if (!CollectRequest(*open)) return;
    AnswerRequest(window, *open);
}

void SendReplyFile(SOCKET connection) noexcept {
    Connection* open = FindConnection(connection);
    if (open == nullptr) open = AddConnection(connection, GetTickCount());
    if (open == nullptr) {
        closesocket(connection);
        return;
    }
    // Its reply is under way, or sent.
    if (open->state == ConnectionState::Replying || open->state == ConnectionState::Closing) return;
    SendReplyFileOn(*open);
}

OutputHook SetOutputHook(OutputHook hook) {
    const OutputHook previous = outputHook;
    outputHook = hook;
    return previous;
}

void ResetWebFront() {
    CloseListener();
    CloseAllConnections();
    SelectReplyFile(ReplyFile::S);
    outputHook = nullptr;
    requestBuffer = RequestBytes{};
    SetConnectionTimeouts(kRequestTimeoutMs, kReplyStallTimeoutMs);
    SetListenAddress(kHttpPort, INADDR_ANY);
    SetListenBacklog(kDefaultBacklog);
}

const char* ReplyFileName() {
    return replyFileName;
}

std::string_view LastRequest() {
    return requestBuffer.Received();
}

}  // namespace web
