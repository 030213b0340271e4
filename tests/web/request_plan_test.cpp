#include "app/web/request_plan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace web {

// Shows actions by name in failure messages.
void PrintTo(RequestAction action, std::ostream* out) {
    switch (action) {
    case RequestAction::None: *out << "None"; return;
    case RequestAction::SelectReplyFile: *out << "SelectReplyFile"; return;
    case RequestAction::FixedReply: *out << "FixedReply"; return;
    case RequestAction::Movement: *out << "Movement"; return;
    case RequestAction::OutputHook: *out << "OutputHook"; return;
    case RequestAction::Position: *out << "Position"; return;
    case RequestAction::Halt: *out << "Halt"; return;
    }
    *out << "RequestAction(" << static_cast<int>(action) << ")";
}

}  // namespace web

namespace {

using web::ClassifyRequest;
using web::ReplyFile;
using web::RequestAction;

struct ClassifyCase {
    const char* request;
    bool selectsAFirst;
    RequestAction action;
    ReplyFile replyFile;     // compared only for SelectReplyFile
    std::uint32_t hookValue; // compared only for OutputHook
};

constexpr auto kNone = RequestAction::None;
constexpr auto kSelect = RequestAction::SelectReplyFile;
constexpr auto kFixed = RequestAction::FixedReply;
constexpr auto kMove = RequestAction::Movement;
constexpr auto kHook = RequestAction::OutputHook;

const ClassifyCase kClassifyCases[] = {
    {"GET / HTTP/1.1\r\n\r\n", false, kSelect, ReplyFile::A, 0},
    {"GET /c HTTP/1.1\r\n\r\n", false, kSelect, ReplyFile::C, 0},
    {"GET /x HTTP/1.1\r\n\r\n", false, kFixed, ReplyFile::S, 0},
    {"GET /favicon.ico HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET /s?e=1&X4&Y2 HTTP/1.1\r\n\r\n", false, kMove, ReplyFile::S, 0},
    {"GET /s?X4&Y2 HTTP/1.1\r\n\r\n", false, kMove, ReplyFile::S, 0},
    // "V" at position 9 selects C:\a ahead of whatever the request does.
    {"GET /c123V HTTP/1.1\r\n\r\n", true, kSelect, ReplyFile::C, 0},
    {"GET /s?e=V HTTP/1.1\r\n\r\n", true, kMove, ReplyFile::S, 0},
    {"GET /x123V HTTP/1.1\r\n\r\n", true, kFixed, ReplyFile::S, 0},
    {"GET /abcdV HTTP/1.1\r\n\r\n", true, kNone, ReplyFile::S, 0},
    // "?a" sub-commands by position 9.
    {"GET /?a=1A HTTP/1.1\r\n\r\n", false, kHook, ReplyFile::S, 1},
    {"GET /?a=1S HTTP/1.1\r\n\r\n", false, kHook, ReplyFile::S, 0},
    {"GET /?a=1c HTTP/1.1\r\n\r\n", false, kHook, ReplyFile::S, 2},
    {"GET /?a=1V HTTP/1.1\r\n\r\n", true, kNone, ReplyFile::S, 0},
    {"GET /?a=1a HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET /?a=1C HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET /?b=1A HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET /a?=1A HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    // Matching is by exact byte: upper-case letters are other requests.
    {"GET /X HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET /C HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET /S?e=1&X4 HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    // Positions are counted from the first byte; the method is not examined.
    {"PUT /c HTTP/1.1\r\n\r\n", false, kSelect, ReplyFile::C, 0},  // "c" is at position 5
    {"HEADxc HTTP/1.1\r\n\r\n", false, kSelect, ReplyFile::C, 0},
    {"POST /x HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    {"GET  HTTP/1.1\r\n\r\n", false, kNone, ReplyFile::S, 0},
    // Short requests: positions behind the received bytes read as 0.
    {"", false, kNone, ReplyFile::S, 0},
    {"GET /", false, kNone, ReplyFile::S, 0},
    {"GET / ", false, kSelect, ReplyFile::A, 0},
    {"GET /?a=1", false, kNone, ReplyFile::S, 0},
};

TEST(ClassifyRequest, ChoosesTheActionByPositionsFiveSixAndNine) {
    for (const ClassifyCase& c : kClassifyCases) {
        SCOPED_TRACE(testing::Message() << "request \"" << c.request << "\"");
        const web::RequestPlan plan = ClassifyRequest(c.request);
        EXPECT_EQ(plan.selectsAFirst, c.selectsAFirst);
        EXPECT_EQ(plan.action, c.action);
        if (c.action == kSelect) {
            EXPECT_EQ(static_cast<char>(plan.replyFile), static_cast<char>(c.replyFile));
        }
        if (c.action == kHook) {
            EXPECT_EQ(plan.hookValue, c.hookValue);
        }
    }
}

// With the API on, position 5 "p" and "h" are its requests, ahead of the "V" rule; without it,
// and for every other request, the plan is the one ClassifyRequest gives without the API.
TEST(ClassifyRequest, TheOperatorApiTakesPositionFivePAndH) {
    const struct {
        const char* request;
        RequestAction withApi;
    } cases[] = {
        {"GET /pos HTTP/1.1\r\n\r\n", RequestAction::Position},
        {"GET /halt HTTP/1.1\r\n\r\n", RequestAction::Halt},
        {"GET /p123V HTTP/1.1\r\n\r\n", RequestAction::Position},
        {"GET /h", RequestAction::Halt},
        {"GET /P HTTP/1.1\r\n\r\n", kNone},
        {"GET /s?e=1&p=5&X3 HTTP/1.1\r\n\r\n", kMove},
        {"GET / HTTP/1.1\r\n\r\n", kSelect},
        {"GET /?a=1A HTTP/1.1\r\n\r\n", kHook},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        const web::RequestPlan without = ClassifyRequest(c.request);
        const web::RequestPlan with = ClassifyRequest(c.request, true);
        EXPECT_EQ(with.action, c.withApi);
        if (web::IsOperatorRequest(c.withApi)) {
            EXPECT_FALSE(with.selectsAFirst) << "the API's requests select no file";
            EXPECT_FALSE(web::IsOperatorRequest(without.action));
        } else {
            EXPECT_EQ(with.action, without.action);
            EXPECT_EQ(with.selectsAFirst, without.selectsAFirst);
        }
    }
}

TEST(ClassifyRequest, NeverReadsBehindTheReceivedBytes) {
    // The bytes behind the received length belong to an earlier request: a shorter request
    // must classify as if they were 0.
    const std::string earlier = "GET /c123V HTTP/1.1\r\n";
    const std::string_view all(earlier);

    EXPECT_EQ(ClassifyRequest(all.substr(0, 5)).action, kNone);
    const web::RequestPlan upToC = ClassifyRequest(all.substr(0, 6));
    EXPECT_EQ(upToC.action, kSelect);
    EXPECT_FALSE(upToC.selectsAFirst) << "position 9 lies behind the 6 bytes received";
    EXPECT_TRUE(ClassifyRequest(all.substr(0, 10)).selectsAFirst);

    const std::string hook = "GET /?a=1A HTTP/1.1\r\n";
    const web::RequestPlan cut = ClassifyRequest(std::string_view(hook).substr(0, 9));
    EXPECT_EQ(cut.action, kNone);
}

TEST(ByteLength, CountsTheBytesBeforeTheFirstNul) {
    const struct {
        const char* text;
        std::size_t length;
    } cases[] = {
        {"", 0},
        {"gata", 4},
        {"ab\0cd", 2},
        {"\xC8\x9B", 2},  // bytes above 0x7F count like any other
        {web::kFixedReply.data(), 65},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(web::ByteLength(c.text), c.length) << "text \"" << c.text << "\"";
    }
}

TEST(RequestBytes, CollectsReceivesBehindEachOtherUpToTheBufferSize) {
    web::RequestBytes request;
    EXPECT_EQ(request.FreeSpace().size(), app::kRequestBufferSize);

    auto Receive = [&request](std::string_view chunk) {
        std::span<char> room = request.FreeSpace();
        const std::size_t count = std::min(room.size(), chunk.size());
        std::memcpy(room.data(), chunk.data(), count);
        request.Took(count);
    };
    Receive("GET /?a=1");
    Receive("A HTTP/1.1\r\n");
    EXPECT_EQ(request.Received(), "GET /?a=1A HTTP/1.1\r\n");
    EXPECT_EQ(ClassifyRequest(request.Received()).hookValue, 1u);

    Receive(std::string(2000, 'q'));
    EXPECT_TRUE(request.Full());
    EXPECT_EQ(request.Received().size(), app::kRequestBufferSize);
    EXPECT_EQ(request.FreeSpace().size(), 0u);
    request.Took(5);  // more than the room left: nothing changes
    EXPECT_EQ(request.length, app::kRequestBufferSize);
}

}  // namespace
