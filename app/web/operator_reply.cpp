#include "app/web/operator_reply.h"

#include <algorithm>
#include <string_view>

#include "app/bounded_text.h"

namespace web {

namespace {

// Room for the body alone: eight members, five of them numbers of up to ten digits.
constexpr std::size_t kBodyCapacity = 192;

std::size_t FormatBody(const OperatorStatus& status, std::span<char> out) {
    app::BoundedText body(out);
    body << "{\"x\":" << status.x << ",\"y\":" << status.y << ",\"line\":\""
         << (status.lineRunning ? "running" : "idle") << "\",\"done\":" << status.done
         << ",\"total\":" << status.total << ",\"delay\":" << status.delay
         << ",\"port\":\"" << (status.portOpen ? "open" : "closed") << "\",\"tool\":";
    if (status.tool) {
        body << *status.tool;
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
          << static_cast<std::uint32_t>(bodyLength)
          << "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n"
          << std::string_view(body, bodyLength);
    const std::size_t length = reply.length();
    if (length >= out.size()) return 0;
    std::copy_n(whole, length + 1, out.data());
    return length;
}

}  // namespace web
