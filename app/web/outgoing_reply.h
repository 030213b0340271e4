#pragma once
// The bytes of one reply on their way out. Platform-free.
//
// A reply is an optional head (the fixed "/x" reply) followed by the reply file's bytes. A
// non-blocking socket may take only part of it at a time; the rest goes out on the
// connection's later write-ready events, in order, until the last byte is sent.

#include <cstddef>
#include <span>
#include <string_view>

namespace web {

class OutgoingReply {
public:
    // The head goes out first. Set before any byte is sent.
    void SetHead(std::string_view head) { head_ = head; }
    // The file's bytes, behind the head. May be set after part of the head has gone out.
    void SetBody(std::span<const char> body) { body_ = body; }

    // The next run of bytes still to send (empty when everything has gone out).
    std::span<const char> Pending() const;
    // Records that the socket took the first `count` bytes of Pending() (clamped to it).
    void Sent(std::size_t count);

    std::size_t Remaining() const { return head_.size() + body_.size() - sent_; }
    bool Done() const { return Remaining() == 0; }

private:
    std::string_view head_;
    std::span<const char> body_;
    std::size_t sent_ = 0;
};

}  // namespace web
