// The operator API's answer over arbitrary machine states and buffer sizes: the headers are
// always the same and exact, Content-Length is the body's length, the body reads back as the
// state it was written from, member by member in the fixed order, and a buffer too small for
// the whole answer gets none of it.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/web/operator_reply.h"
#include "fuzz/fuzz_check.h"

namespace {

// Takes bytes from the input, zeros when it runs out.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t Word() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return value;
    }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Reads `expected` at the front of `text`, or fails.
bool Take(std::string_view& text, std::string_view expected) {
    if (text.substr(0, expected.size()) != expected) return false;
    text.remove_prefix(expected.size());
    return true;
}

// An unsigned decimal number without leading zeros (other than "0" itself).
bool TakeNumber(std::string_view& text, std::uint32_t& value) {
    std::size_t digits = 0;
    std::uint64_t read = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && digits < 11) {
        read = read * 10 + static_cast<std::uint64_t>(text[digits] - '0');
        ++digits;
    }
    if (digits == 0 || (digits > 1 && text[0] == '0') || read > 0xFFFFFFFFu) return false;
    value = static_cast<std::uint32_t>(read);
    text.remove_prefix(digits);
    return true;
}

bool TakeMember(std::string_view& text, std::string_view key, std::uint32_t expected) {
    std::uint32_t value = 0;
    return Take(text, key) && TakeNumber(text, value) && value == expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    web::OperatorStatus status;
    status.x = in.Word();
    status.y = in.Word();
    status.done = in.Word();
    status.total = in.Word();
    status.delay = in.Word();
    const std::uint8_t flags = in.Byte();
    status.lineRunning = (flags & 1) != 0;
    status.portOpen = (flags & 2) != 0;
    const std::uint32_t tool = in.Word();
    if ((flags & 4) != 0) status.tool = tool;
    const std::size_t room = in.Byte() + in.Byte();  // 0 to 510

    char whole[web::kOperatorReplyCapacity];
    const std::size_t length = web::FormatOperatorReply(status, whole);
    FUZZ_CHECK(length > 0 && length < sizeof whole, "length %zu", length);
    std::string_view reply(whole, length);
    FUZZ_CHECK(Take(reply, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "),
               "status line and first headers");
    std::uint32_t contentLength = 0;
    FUZZ_CHECK(TakeNumber(reply, contentLength), "Content-Length value");
    FUZZ_CHECK(Take(reply, "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n"), "last headers");
    FUZZ_CHECK(contentLength == reply.size(), "Content-Length %u, body %zu bytes", contentLength, reply.size());

    std::string_view body = reply;
    FUZZ_CHECK(TakeMember(body, "{\"x\":", status.x) && TakeMember(body, ",\"y\":", status.y) &&
                   Take(body, status.lineRunning ? ",\"line\":\"running\"" : ",\"line\":\"idle\"") &&
                   TakeMember(body, ",\"done\":", status.done) && TakeMember(body, ",\"total\":", status.total) &&
                   TakeMember(body, ",\"delay\":", status.delay) &&
                   Take(body, status.portOpen ? ",\"port\":\"open\"" : ",\"port\":\"closed\"") &&
                   (status.tool ? TakeMember(body, ",\"tool\":", *status.tool) : Take(body, ",\"tool\":null")) &&
                   Take(body, "}") && body.empty(),
               "the body does not read back: %.*s", static_cast<int>(reply.size()), reply.data());

    // Any room: the whole answer, or none.
    char smaller[512];
    const std::size_t cut = web::FormatOperatorReply(status, std::span<char>(smaller, room));
    FUZZ_CHECK(cut == 0 || (cut == length && std::memcmp(smaller, whole, length) == 0),
               "%zu bytes in a room of %zu, the whole is %zu", cut, room, length);
    FUZZ_CHECK(room <= length || cut == length, "room %zu is enough for %zu", room, length);
    return 0;
}
