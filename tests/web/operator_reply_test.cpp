// The operator API's answer: its exact bytes, and its length at the numbers' largest.
#include "app/web/operator_reply.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using web::OperatorStatus;

std::string Reply(const OperatorStatus& status) {
    std::array<char, web::kOperatorReplyCapacity> text{};
    return std::string(text.data(), web::FormatOperatorReply(status, text));
}

std::string Expected(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body;
}

TEST(OperatorReply, HeadersAndTheBodyInItsFixedOrder) {
    constexpr std::uint32_t kMost = 4294967295u;
    const struct {
        OperatorStatus status;
        std::string body;
    } cases[] = {
        {{}, R"({"x":0,"y":0,"line":"idle","done":0,"total":0,"delay":0,"port":"closed","tool":null})"},
        {{120, 40, true, 17, 160, 10, true, 1u},
         R"({"x":120,"y":40,"line":"running","done":17,"total":160,"delay":10,"port":"open","tool":1})"},
        {{7, 0, false, 3, 9, 0, true, 0u},
         R"({"x":7,"y":0,"line":"idle","done":3,"total":9,"delay":0,"port":"open","tool":0})"},
        // Every number unsigned, at its largest: the answer still fits.
        {{kMost, kMost, true, kMost, kMost, kMost, false, kMost},
         R"({"x":4294967295,"y":4294967295,"line":"running","done":4294967295,"total":4294967295,)"
         R"("delay":4294967295,"port":"closed","tool":4294967295})"},
    };
    for (const auto& c : cases) EXPECT_EQ(Reply(c.status), Expected(c.body));
}

TEST(OperatorReply, TooLittleRoomGivesNoAnswerRatherThanACutOne) {
    const OperatorStatus status{};
    const std::size_t whole = Reply(status).size();
    std::array<char, web::kOperatorReplyCapacity> text{};
    EXPECT_EQ(web::FormatOperatorReply(status, std::span<char>(text).first(whole)), 0u) << "no room for the NUL";
    EXPECT_EQ(web::FormatOperatorReply(status, std::span<char>(text).first(whole + 1)), whole);
    EXPECT_EQ(web::FormatOperatorReply(status, std::span<char>()), 0u);
}

}  // namespace
