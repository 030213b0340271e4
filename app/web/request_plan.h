#pragma once
// What a request asks of the web front, decided from the bytes a connection sent. Platform-free.
//
// A request is classified by single bytes of its request line: position 5 (the first byte of
// the path after "GET /"), position 6 and position 9. The method is not examined.
//
// With the operator API on (--api), position 5 "p" (/pos) and "h" (/halt) are the API's own
// requests; without it they are requests like any other that asks for nothing.

#include "app/request_buffer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace web {

// Base I/O address of a PC's first parallel port, the port the output hook drives.
inline constexpr std::uint32_t kParallelPortAddress = 888;

// Number of bytes before the first NUL of an 8-bit text.
constexpr std::size_t ByteLength(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

// The short reply for "/x", sent ahead of the reply file on the same connection: the bytes
// before its NUL.
inline constexpr char kFixedReplyText[] =
    "HTTP/1.1 200 OK\r\nContent-Length:4\r\nContent-Type:text/html\r\n\r\ngata";
inline constexpr std::string_view kFixedReply{kFixedReplyText, ByteLength(kFixedReplyText)};
static_assert(kFixedReply.size() == 65);

// The three reply files. The letter is the file's name in the root of drive C:.
enum class ReplyFile : char { A = 'a', C = 'c', S = 's' };

// "C:\a", "C:\c" or "C:\s".
constexpr const char* ReplyFilePath(ReplyFile file) {
    switch (file) {
    case ReplyFile::A: return "C:\\a";
    case ReplyFile::C: return "C:\\c";
    case ReplyFile::S: break;
    }
    return "C:\\s";
}

// The bytes one connection has sent so far, up to kRequestBufferSize. Every connection has
// its own, so a request never reads bytes of another connection or of an earlier request.
struct RequestBytes {
    std::array<char, app::kRequestBufferSize> bytes{};
    std::size_t length = 0;

    // Room behind the bytes received so far, where the next receive goes.
    std::span<char> FreeSpace() { return std::span<char>(bytes).subspan(length); }
    // Records that the next `count` bytes of FreeSpace() were filled (clamped to the room).
    void Took(std::size_t count);
    std::string_view Received() const { return {bytes.data(), length}; }
    bool Full() const { return length == bytes.size(); }
};

enum class RequestAction : std::uint8_t {
    None,             // no action of its own: the current reply file is sent
    SelectReplyFile,  // "/" selects C:\a, "/c" selects C:\c
    FixedReply,       // "/x": the fixed reply goes ahead of the reply file
    Movement,         // "/s...": the movement tokens of the request line are interpreted
    OutputHook,       // "/?a" with "A", "S" or "c" at position 9: the output hook is called
    Position,         // "/pos" (operator API): the machine's position and line, as JSON
    Halt,             // "/halt" (operator API): the running line ends; answered as Position
};

// The operator API's requests are answered with their own reply, also while a line runs, and
// leave the selected reply file alone.
constexpr bool IsOperatorRequest(RequestAction action) {
    return action == RequestAction::Position || action == RequestAction::Halt;
}

struct RequestPlan {
    // Position 9 holds "V": C:\a is selected before the action, whatever the action is.
    bool selectsAFirst = false;
    RequestAction action = RequestAction::None;
    ReplyFile replyFile = ReplyFile::S;  // the file chosen by SelectReplyFile
    std::uint32_t hookValue = 0;         // the value handed to the output hook
};

// Classifies a request by the bytes received. Positions behind the received bytes read as 0,
// so a short request never picks up bytes of anything received before it. `operatorApi`: the
// API's requests are recognised.
RequestPlan ClassifyRequest(std::string_view received, bool operatorApi = false);

}  // namespace web
