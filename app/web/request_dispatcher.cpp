// Request dispatcher and file replies: what each request does, and the reply it gets.

#include <cstring>
#include <optional>

#include "app/motion/motion.h"
#include "app/web/connections.h"
#include "app/web/operator_reply.h"
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
// The last value given to the hook; none before its first call.
constinit std::optional<std::uint32_t> toolValue;
// /pos and /halt are the operator API's (--api).
constinit bool operatorApi = false;
// Requests being acted on: above zero while a line steps inside its debug boxes.
constinit int requestsInProgress = 0;

void SelectReplyFile(ReplyFile file) {
    replyFileName = ReplyFilePath(file);
}

void CallOutputHook(std::uint32_t value) {
    if (outputHook == nullptr) return;
    outputHook(kParallelPortAddress, value);
    toolValue = value;
}

OperatorStatus CurrentOperatorStatus() {
    const motion::MachinePosition position = motion::CurrentPosition();
    const motion::LineProgress progress = motion::CurrentLineProgress();
    OperatorStatus status;
    status.x = position.x;
    status.y = position.y;
    // A line asked to stop makes no further step: it is over, though it has yet to return.
    status.lineRunning = motion::LineInProgress() && !motion::LineStopRequested();
    status.done = progress.done;
    status.total = progress.total;
    status.delay = motion::motionRegisters.stepDelay;
    status.portOpen = motion::portHandle != INVALID_HANDLE_VALUE;
    if (outputHook != nullptr) status.tool = toolValue;
    return status;
}

void RunMovement(HWND window, const Connection& connection) {
    const RequestBytes& request = connection.request;
    if (motion::InterpretMotionRequest(window, request.bytes.data(), request.length)) {
        SelectReplyFile(ReplyFile::S);
    }
}

void ActOnRequest(HWND window, const RequestPlan& plan, Connection& connection) {
    if (plan.selectsAFirst) SelectReplyFile(ReplyFile::A);
    switch (plan.action) {
    case RequestAction::None: return;
    case RequestAction::SelectReplyFile: SelectReplyFile(plan.replyFile); return;
    case RequestAction::FixedReply: SendHead(connection, kFixedReply); return;
    case RequestAction::Movement: RunMovement(window, connection); return;
    case RequestAction::OutputHook: CallOutputHook(plan.hookValue); return;
    case RequestAction::Position:
    case RequestAction::Halt: return;  // answered before any other action (AnswerRequest)
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
        char* const bytes = AllocateReplyBody(connection, size);
        DWORD read = 0;
        // A block left unread goes with the connection.
        if (bytes != nullptr && ReadFile(file, bytes, size, &read, nullptr)) {
            connection.reply.SetBody(std::span<const char>(bytes, read));
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

// The operator API's answer, in a block of the connection's own: the request in progress (a
// line stepping meanwhile) keeps its reply file and its bytes.
void SendOperatorReply(Connection& connection) {
    char text[kOperatorReplyCapacity];
    const std::size_t length = FormatOperatorReply(CurrentOperatorStatus(), text);
    connection.state = ConnectionState::Replying;
    connection.lastProgress = GetTickCount();
    char* const body = AllocateReplyBody(connection, length);
    if (body != nullptr && length > 0) {
        std::memcpy(body, text, length);
        connection.reply.SetBody(std::span<const char>(body, length));
    }
    ContinueReply(connection);
}

// /pos and /halt act at once, also inside a line (a nested request): reading where the line
// stands, or stopping it, is what they are for.
void AnswerOperatorRequest(RequestAction action, Connection& connection) {
    if (action == RequestAction::Halt) motion::RequestLineStop();
    SendOperatorReply(connection);
}

void AnswerRequest(HWND window, Connection& connection) {
    requestBuffer = connection.request;
    connection.state = ConnectionState::Handling;
    const RequestPlan plan = ClassifyRequest(connection.request.Received(), operatorApi);
    if (IsOperatorRequest(plan.action)) return AnswerOperatorRequest(plan.action, connection);
    // A request that arrives while another is acted on (inside a step's debug box) is only
    // answered: it must not move the machine, select a file or drive the output hook under
    // the request in progress.
    if (requestsInProgress == 0) {
        ++requestsInProgress;
        ActOnRequest(window, plan, connection);
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
    toolValue.reset();
    motion::SetStopHandler(hook != nullptr ? SwitchToolOff : nullptr);
    return previous;
}

void SwitchToolOff() noexcept {
    if (toolValue != 0u) CallOutputHook(0);
}

void SetOperatorApi(bool on) {
    operatorApi = on;
}

void ResetWebFront() {
    CloseListener();
    CloseAllConnections();
    SelectReplyFile(ReplyFile::S);
    SetOutputHook(nullptr);
    SetOperatorApi(false);
    SetAllowList(AllowList{});
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
