#include "app/web/outgoing_reply.h"

#include <algorithm>

namespace web {

std::span<const char> OutgoingReply::Pending() const {
    if (sent_ < head_.size()) {
        return std::span<const char>(head_.data(), head_.size()).subspan(sent_);
    }
    return body_.subspan(std::min(sent_ - head_.size(), body_.size()));
}

void OutgoingReply::Sent(std::size_t count) {
    sent_ += std::min(count, Pending().size());
}

}  // namespace web
