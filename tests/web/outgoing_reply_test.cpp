#include "app/web/outgoing_reply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Drains a reply as a socket would that takes at most `chunk` bytes per send.
std::string Drain(web::OutgoingReply& reply, std::size_t chunk) {
    std::string wire;
    for (int guard = 0; !reply.Done() && guard < 100000; ++guard) {
        const std::span<const char> next = reply.Pending();
        const std::size_t taken = std::min(chunk, next.size());
        wire.append(next.data(), taken);
        reply.Sent(taken);
    }
    return wire;
}

TEST(OutgoingReply, SendsHeadThenBodyWhateverTheSocketTakesAtOnce) {
    std::string body(5000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 % 251);
    const std::string_view head = "HEAD-bytes";

    const struct {
        std::string_view head;
        std::size_t bodySize;
    } shapes[] = {{head, body.size()}, {"", body.size()}, {head, 0}, {"", 1}};
    for (const auto& shape : shapes) {
        for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{10},
                                  std::size_t{11}, std::size_t{4096}, std::size_t{1} << 20}) {
            SCOPED_TRACE(testing::Message() << "head " << shape.head.size() << ", body "
                                            << shape.bodySize << ", chunk " << chunk);
            web::OutgoingReply reply;
            reply.SetHead(shape.head);
            reply.SetBody(std::span<const char>(body.data(), shape.bodySize));
            EXPECT_EQ(reply.Remaining(), shape.head.size() + shape.bodySize);
            const std::string wire = Drain(reply, chunk);
            EXPECT_EQ(wire, std::string(shape.head) + body.substr(0, shape.bodySize));
            EXPECT_TRUE(reply.Done());
            EXPECT_TRUE(reply.Pending().empty()) << reply.Pending().size() << " bytes left";
        }
    }
}

TEST(OutgoingReply, BodyAddedAfterPartOfTheHeadKeepsTheOrder) {
    web::OutgoingReply reply;
    reply.SetHead("0123456789");
    reply.Sent(4);
    EXPECT_EQ(reply.Remaining(), 6u);
    const std::string body = "abc";
    reply.SetBody(std::span<const char>(body.data(), body.size()));
    EXPECT_EQ(Drain(reply, 5), "456789abc");
}

TEST(OutgoingReply, SentNeverPassesThePendingRun) {
    web::OutgoingReply reply;
    EXPECT_TRUE(reply.Done());
    reply.Sent(10);
    EXPECT_EQ(reply.Remaining(), 0u);

    reply.SetHead("ab");
    const std::string body = "cd";
    reply.SetBody(std::span<const char>(body.data(), body.size()));
    reply.Sent(100);  // clamped to the head
    EXPECT_EQ(reply.Remaining(), 2u);
    EXPECT_EQ(std::string(reply.Pending().data(), reply.Pending().size()), "cd");
}

}  // namespace
