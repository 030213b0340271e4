#include "app/web/operator_reply.h"

#include <algorithm>
#include <string_view>

#include "app/bounded_text.h"

namespace web {

namespace {

// Room for the body alone: eight members, five of them numbers of up to ten digits.
constexpr std::size_t kBodyCapacity = 192;

// An unsigned 32-bit number: as a long long it is never negative, so no sign is written.
long long Unsigned(std::uint32_t value) {
    return static_cast<long long>(value);
}

std::size_t FormatBody(const OperatorStatus& status, std::span<char> out) {
    app::BoundedText body(out);
    body << "{\"x\":" << Unsigned(status.x) << ",\"y\":" << Unsigned(status.y) << ",\"line\":\""
         << (status.lineRunning ? "running" : "idle") << "\",\"done\":" << Unsigned(status.done)
         << ",\"total\":" << Unsigned(status.total) << ",\"delay\":" << Unsigned(status.delay)
         << ",\"port\":\"" << (status.portOpen ? "open" : "closed") << "\",\"tool\":";
    if (status.tool) {
        body << Unsigned(*status.tool);
    } else {
        body << "null";
    }
    body << "}";
    return body.length();
}

}  // namespace

std::size_t FormatOperatorReply(const OperatorStatus& status, std::span<char> out) {
    char body[kBodyCapacity];
    const std::size_t bodyLength = FormatBody(status, body);
    // Written whole first (the longest answer fits with room to spare), so that an answer cut
    // short, which would say a wrong length, is never handed out.
    char whole[kOperatorReplyCapacity];
    app::BoundedText reply(whole);
    reply << "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
          << static_cast<long long>(bodyLength)
          << "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n"
          << std::string_view(body, bodyLength);
    const std::size_t length = reply.length();
    if (length >= out.size()) return 0;
    std::copy_n(whole, length + 1, out.data());
    return length;
}

}  // namespace web
