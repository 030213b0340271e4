// The web front over real TCP connections on 127.0.0.1, with real reply files in C:\ and a
// real window receiving the socket events.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/web/connections.h"
#include "tests/web/web_front_fixture.h"

namespace webtest {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using web::ReplyFile;

// Where two long byte strings first differ, for failure messages that stay readable.
std::string FirstDifference(const std::string& actual, const std::string& expected) {
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
           ", first difference at byte " + std::to_string(at);
}

class WebReplyTest : public WebFrontTest {
protected:
    // Connects a reader with a small receive buffer and gives the server's end a small send
    // buffer, as a slow link does: the socket then takes only part of a large reply at once.
    // The request is sent after that.
    std::unique_ptr<LoopbackClient> ConnectSlowReader(std::string_view request) {
        const std::size_t eventsBefore = window.Events().size();
        auto reader = std::make_unique<LoopbackClient>(port, 4096);
        EXPECT_TRUE(reader->Connected());
        const SOCKET accepted = AwaitWriteReady(eventsBefore);
        EXPECT_NE(accepted, INVALID_SOCKET);
        const int sendBuffer = 8192;
        setsockopt(accepted, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&sendBuffer),
                   sizeof sendBuffer);
        EXPECT_TRUE(reader->Send(request));
        return reader;
    }
};

TEST_F(WebReplyTest, EachRequestIsAnsweredWithTheFileItLeavesSelected) {
    WriteAllFiles();
    const struct {
        const char* request;
        std::string reply;
        const char* selected;
    } steps[] = {
        {"GET /favicon.ico HTTP/1.1\r\n\r\n", kFileS, "C:\\s"},  // C:\s before any selection
        {"GET / HTTP/1.1\r\n\r\n", kFileA, "C:\\a"},
        {"GET /favicon.ico HTTP/1.1\r\n\r\n", kFileA, "C:\\a"},  // kept from the last request
        {"GET /c HTTP/1.1\r\n\r\n", kFileC, "C:\\c"},
        {"GET /x HTTP/1.1\r\n\r\n", kFixed + kFileC, "C:\\c"},
        {"GET /abcdV HTTP/1.1\r\n\r\n", kFileA, "C:\\a"},
        {"GET /c123V HTTP/1.1\r\n\r\n", kFileC, "C:\\c"},  // "V" first, then "c"
        {"GET /?a=1A HTTP/1.1\r\n\r\n", kFileC, "C:\\c"},  // no hook: nothing happens
        {"GET /?a=1V HTTP/1.1\r\n\r\n", kFileA, "C:\\a"},
        {"GET /x123V HTTP/1.1\r\n\r\n", kFixed + kFileA, "C:\\a"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.request);
        EXPECT_EQ(Exchange(step.request), step.reply);
        EXPECT_STREQ(web::ReplyFileName(), step.selected);
        EXPECT_EQ(web::OpenConnectionCount(), 0u);
        EXPECT_EQ(web::LastRequest(), step.request);
    }
}

TEST_F(WebReplyTest, MissingOrEmptyReplyFileClosesTheConnectionWithoutItsBytes) {
    const struct {
        bool exists;
        const char* request;
        std::string reply;
    } cases[] = {
        {false, "GET /favicon.ico HTTP/1.1\r\n\r\n", ""},
        {false, "GET /x HTTP/1.1\r\n\r\n", kFixed},
        {true, "GET /favicon.ico HTTP/1.1\r\n\r\n", ""},
        {true, "GET /x HTTP/1.1\r\n\r\n", kFixed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.exists ? "empty C:\\s, " : "no C:\\s, ") << c.request);
        if (c.exists) {
            files.Write(ReplyFile::S, "");
        } else {
            files.Remove(ReplyFile::S);
        }
        EXPECT_EQ(Exchange(c.request), c.reply);
        EXPECT_EQ(web::OpenConnectionCount(), 0u);
    }
}

TEST_F(WebReplyTest, OutputSubCommandsCallTheInstalledHookWithPort888) {
    WriteAllFiles();
    EXPECT_EQ(web::SetOutputHook(RecordingHook), nullptr);
    const struct {
        const char* request;
        std::vector<HookCall> calls;
    } cases[] = {
        {"GET /?a=1A HTTP/1.1\r\n\r\n", {{888, 1}}},
        {"GET /?a=1S HTTP/1.1\r\n\r\n", {{888, 0}}},
        {"GET /?a=1c HTTP/1.1\r\n\r\n", {{888, 2}}},
        {"GET /?a=xyzA HTTP/1.1\r\n\r\n", {}},  // position 9 is "z"
        {"GET /?a=1V HTTP/1.1\r\n\r\n", {}},
        {"GET /?a=1B HTTP/1.1\r\n\r\n", {}},
        {"GET /?b=1A HTTP/1.1\r\n\r\n", {}},
        {"GET /c?a=A HTTP/1.1\r\n\r\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        hookCalls.clear();
        EXPECT_FALSE(Exchange(c.request).empty());
        EXPECT_EQ(hookCalls, c.calls);
    }

    EXPECT_EQ(web::SetOutputHook(nullptr), &RecordingHook);
    hookCalls.clear();
    EXPECT_EQ(Exchange("GET /?a=1A HTTP/1.1\r\n\r\n"), kFileC);  // selected by the last case
    EXPECT_THAT(hookCalls, IsEmpty());
}

// A peer the allow list does not name is closed at its accept: it gets no byte, and nothing it
// sent is read.
TEST_F(WebReplyTest, AllowListClosesOtherPeersBeforeTheirRequestIsRead) {
    WriteAllFiles();
    web::AllowList list;
    ASSERT_TRUE(web::ParseAllowList("127.0.0.2,10.0.0.0/8", list));
    web::SetAllowList(list);
    LoopbackClient refused(port);
    ASSERT_TRUE(refused.Connected());
    EXPECT_TRUE(refused.Send("GET /c HTTP/1.1\r\n\r\n"));
    EXPECT_TRUE(AwaitClose(refused)) << "the refused peer was not closed";
    EXPECT_EQ(refused.Received(), "");
    EXPECT_EQ(web::LastRequest(), "") << "the refused request was read";
    EXPECT_STREQ(web::ReplyFileName(), "C:\\s");

    ASSERT_TRUE(web::ParseAllowList("10.0.0.0/8,127.0.0.0/8", list));
    web::SetAllowList(list);
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
}

TEST_F(WebReplyTest, ClientsConnectedAtOnceAreEachAnsweredWhole) {
    files.Write(ReplyFile::S, kFileS);
    constexpr int kClients = 5;  // the listener's backlog
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<LoopbackClient>(port));
        ASSERT_TRUE(clients.back()->Connected()) << "client " << i;
        ASSERT_TRUE(clients.back()->Send("GET /favicon.ico HTTP/1.1\r\n\r\n"));
    }
    const bool allClosed = PumpUntil([&clients] {
        bool all = true;
        for (auto& client : clients) all = client->Poll() && all;
        return all;
    });
    EXPECT_TRUE(allClosed);
    for (int i = 0; i < kClients; ++i) {
        EXPECT_EQ(clients[i]->Received(), kFileS) << "client " << i;
    }
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

TEST_F(WebReplyTest, ConnectionClosedWithoutARequestIsClosedOnItsCloseEvent) {
    WriteAllFiles();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::size_t eventsBefore = window.Events().size();
        {
            LoopbackClient client(port);
            ASSERT_TRUE(client.Connected());
        }
        // Accepted, then closed by the server once the peer's close is seen.
        SOCKET accepted = INVALID_SOCKET;
        const bool closed = PumpUntil([&] {
            accepted = window.FirstSocketWith(FD_CLOSE, eventsBefore);
            return accepted != INVALID_SOCKET && web::OpenConnectionCount() == 0;
        });
        ASSERT_TRUE(closed) << web::OpenConnectionCount() << " connection(s) open";
        int type = 0;
        int length = sizeof type;
        EXPECT_EQ(getsockopt(accepted, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type),
                             &length),
                  SOCKET_ERROR)
            << "the server's socket is still open";
    }
    // The listener still serves.
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
}

TEST_F(WebReplyTest, LargeReplyArrivesWholeWhileASlowReaderDoesNotHoldUpOthers) {
    const std::string large = PseudoRandomBytes(1 << 20);
    files.Write(ReplyFile::S, large);
    files.Write(ReplyFile::C, kFileC);

    // A reader that does not read yet.
    const auto reader = ConnectSlowReader("GET /favicon.ico HTTP/1.1\r\n\r\n");
    LoopbackClient& slow = *reader;
    PumpFor(300);
    EXPECT_EQ(web::OpenConnectionCount(), 1u) << "the large reply should still be under way";

    // Another browser is served meanwhile (and changes the selection for later requests).
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);

    EXPECT_TRUE(AwaitClose(slow, 20000));
    EXPECT_TRUE(slow.Received() == large) << FirstDifference(slow.Received(), large);
    EXPECT_FALSE(slow.Reset());
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

// Bytes a peer sends after the part of its request that was answered (its headers in a second
// write, a body) arrive after the reply's last byte was handed to the system: they must not
// make the close a reset, which would throw away the reply bytes still on their way.
TEST_F(WebReplyTest, BytesSentAfterTheAnsweredPartDoNotCutTheReply) {
    const std::string large = PseudoRandomBytes(1 << 20);
    files.Write(ReplyFile::S, large);
    files.Write(ReplyFile::C, large);
    const struct {
        const char* name;
        const char* answered;
        std::string later;
    } rows[] = {
        {"headers in a second write", "GET /favicon.ico HTTP/1.1\r\n", "Host: 127.0.0.1\r\n\r\n"},
        {"a body behind the request", "POST /c HTTP/1.1\r\nContent-Length: 3000\r\n\r\n",
         std::string(3000, 'b')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto reader = ConnectSlowReader(row.answered);
        LoopbackClient& client = *reader;
        // Read slowly until the program has handed the whole reply to the system.
        ASSERT_TRUE(PumpUntil([&] {
            client.Poll(4096);
            return web::OpenConnectionCount() == 0;
        }, 30000)) << client.Received().size() << " bytes received";
        EXPECT_TRUE(client.Send(row.later));
        EXPECT_TRUE(AwaitClose(client, 30000));
        EXPECT_FALSE(client.Reset()) << "reset after " << client.Received().size() << " bytes";
        EXPECT_TRUE(client.Received() == large)
            << client.Received().size() << " bytes: " << FirstDifference(client.Received(), large);
    }
}

TEST_F(WebReplyTest, ReaderThatGoesAwayMidReplyIsClosed) {
    files.Write(ReplyFile::S, PseudoRandomBytes(1 << 20));
    const auto reader = ConnectSlowReader("GET /favicon.ico HTTP/1.1\r\n\r\n");
    LoopbackClient& leaving = *reader;
    ASSERT_TRUE(PumpUntil([&] {
        leaving.Poll(1000);
        return leaving.Received().size() >= 1000;
    }));
    EXPECT_EQ(web::OpenConnectionCount(), 1u);
    leaving.Close();  // with unread bytes: the server's next send fails
    EXPECT_TRUE(PumpUntil([] { return web::OpenConnectionCount() == 0; }))
        << web::OpenConnectionCount() << " connection(s) still open";
}

TEST_F(WebReplyTest, ShortRequestAfterALongOneReadsNoneOfItsBytes) {
    WriteAllFiles();
    web::SetOutputHook(RecordingHook);

    EXPECT_EQ(Exchange("GET /?a=1A HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n\r\n"), kFileS);
    EXPECT_THAT(hookCalls, ElementsAre(HookCall{888, 1}));
    hookCalls.clear();
    // Nine bytes: position 9 was never received, so the sub-command is not repeated.
    EXPECT_EQ(Exchange("GET /?a=1"), kFileS);
    EXPECT_THAT(hookCalls, IsEmpty());
    EXPECT_EQ(web::LastRequest(), "GET /?a=1");

    EXPECT_EQ(Exchange("GET /c123V HTTP/1.1\r\n\r\n"), kFileC);
    // Eight bytes: the "V" of the request before must not select C:\a.
    EXPECT_EQ(Exchange("GET /abc"), kFileC);
    EXPECT_STREQ(web::ReplyFileName(), "C:\\c");
}

TEST_F(WebReplyTest, RequestLongerThanTheBufferIsAnsweredAndClosedInOrder) {
    WriteAllFiles();
    // Bytes beyond the 1024 a request uses are never read; they must not turn the close into
    // a reset, which can destroy the reply before the browser has read it.
    const std::string request =
        "GET /c HTTP/1.1\r\nCookie: " + std::string(6000, 'k') + "\r\n\r\n";
    EXPECT_EQ(Exchange(request), kFileC);
    EXPECT_EQ(web::LastRequest(), request.substr(0, app::kRequestBufferSize));
}

TEST_F(WebReplyTest, RequestTakenByTheWriteReadyEventIsHandledOnce) {
    WriteAllFiles();
    web::SetOutputHook(RecordingHook);
    const struct {
        const char* beforeWriteReady;  // arrives before the write-ready event is handled
        const char* afterWriteReady;   // arrives after it
    } cases[] = {
        {"GET /?a=1A HTTP/1.1\r\n\r\n", ""},
        {"GET /?a=1", "A HTTP/1.1\r\n\r\n"},  // position 9 comes with the read event
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.beforeWriteReady << "|" << c.afterWriteReady);
        hookCalls.clear();
        const std::size_t eventsBefore = window.Events().size();
        LoopbackClient client(port);
        ASSERT_TRUE(client.Connected());
        // Stop right after the accept: its write-ready event is queued, not yet handled.
        ASSERT_TRUE(DispatchUntil([] { return web::OpenConnectionCount() == 1; }));
        ASSERT_TRUE(client.Send(c.beforeWriteReady));
        Sleep(100);
        const SOCKET accepted = AwaitWriteReady(eventsBefore);
        ASSERT_NE(accepted, INVALID_SOCKET);
        EXPECT_EQ(window.CountEvents(accepted, FD_READ, eventsBefore), 0) << "read event came first";
        EXPECT_EQ(web::ReceivedLength(accepted), std::string_view(c.beforeWriteReady).size())
            << "the write-ready event should have taken the bytes that had arrived";
        if (*c.afterWriteReady != '\0') {
            ASSERT_TRUE(client.Send(c.afterWriteReady));
            Sleep(100);
        }
        EXPECT_TRUE(AwaitClose(client));
        EXPECT_EQ(client.Received(), kFileS);
        EXPECT_THAT(hookCalls, ElementsAre(HookCall{888, 1}));
        EXPECT_GE(window.CountEvents(accepted, FD_READ, eventsBefore), 1);
    }
}

// Removes the read events queued for the window, as the socket library does when it drops
// the notice of bytes taken before it was posted; the other messages keep their order.
int DropQueuedReadEvents(HWND window) {
    std::vector<MSG> kept;
    int dropped = 0;
    MSG message;
    while (PeekMessageA(&message, window, web::WM_SOCKET, web::WM_SOCKET, PM_REMOVE)) {
        if (LOWORD(message.lParam) == FD_READ) {
            ++dropped;
        } else {
            kept.push_back(message);
        }
    }
    for (const MSG& m : kept) PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    return dropped;
}

TEST_F(WebReplyTest, RequestTakenByTheWriteReadyEventIsAnsweredWhenItsReadEventIsLost) {
    WriteAllFiles();
    const std::size_t eventsBefore = window.Events().size();
    LoopbackClient client(port);
    ASSERT_TRUE(client.Connected());
    ASSERT_TRUE(DispatchUntil([] { return web::OpenConnectionCount() == 1; }));
    ASSERT_TRUE(client.Send("GET /c HTTP/1.1\r\n\r\n"));
    Sleep(100);
    // Whatever the library queued for the request's arrival is gone before write-ready runs.
    const int dropped = DropQueuedReadEvents(window.Handle());
    std::cout << "read events dropped: " << dropped << "\n";
    EXPECT_NE(AwaitWriteReady(eventsBefore), INVALID_SOCKET);
    EXPECT_TRUE(AwaitClose(client, 5000)) << "the request was never answered";
    EXPECT_EQ(client.Received(), kFileC);
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

// A peer that sends its request and stops sending before the write-ready event: that event
// takes the bytes, and when the read event it posts is lost, the close event (which comes
// once the bytes are taken) answers the request.
TEST_F(WebReplyTest, TheCloseEventAnswersARequestThatHasArrived) {
    WriteAllFiles();
    const struct {
        const char* request;
        std::string reply;
    } cases[] = {
        {"GET /c HTTP/1.1\r\n\r\n", kFileC},
        {"GET /x HTTP/1.1\r\n\r\n", kFixed + kFileC},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        const std::size_t eventsBefore = window.Events().size();
        LoopbackClient client(port);
        ASSERT_TRUE(client.Connected());
        ASSERT_TRUE(DispatchUntil([] { return web::OpenConnectionCount() == 1; }));
        ASSERT_TRUE(client.Send(c.request));
        ASSERT_TRUE(client.StopSending());
        Sleep(100);
        const SOCKET accepted = AwaitWriteReady(eventsBefore);
        ASSERT_NE(accepted, INVALID_SOCKET);
        EXPECT_EQ(window.CountEvents(accepted, FD_READ, eventsBefore), 0) << "read event came first";
        std::cout << "read events dropped: " << DropQueuedReadEvents(window.Handle()) << "\n";
        const std::size_t eventsAfterDrop = window.Events().size();
        EXPECT_TRUE(AwaitClose(client, 5000)) << "the request was never answered";
        EXPECT_EQ(client.Received(), c.reply);
        EXPECT_EQ(window.CountEvents(accepted, FD_READ, eventsAfterDrop), 0) << "a read event answered it";
        EXPECT_GE(window.CountEvents(accepted, FD_CLOSE, eventsBefore), 1) << "no close event came";
    }
}

// An answered connection is closed once its peer has closed, without a reset: at once when the
// peer's close came with its request, else on the close event that follows the reply (until
// then it waits, its side shut).
TEST_F(WebReplyTest, AnsweredConnectionIsClosedOnItsPeersClose) {
    WriteAllFiles();
    for (const bool closesWithRequest : {true, false}) {
        SCOPED_TRACE(closesWithRequest ? "closes with its request" : "closes after the reply");
        const std::size_t eventsBefore = window.Events().size();
        LoopbackClient client(port);
        ASSERT_TRUE(client.Connected());
        const SOCKET accepted = AwaitWriteReady(eventsBefore);
        ASSERT_NE(accepted, INVALID_SOCKET);
        ASSERT_TRUE(client.Send("GET /c HTTP/1.1\r\n\r\n"));
        if (closesWithRequest) {
            ASSERT_TRUE(client.StopSending());
        }
        EXPECT_TRUE(AwaitClose(client)) << "received \"" << client.Received() << "\"";
        EXPECT_EQ(client.Received(), kFileC);
        if (!closesWithRequest) {
            PumpFor(100);
            const web::Connection* waiting = web::FindConnection(accepted);
            EXPECT_TRUE(waiting != nullptr && waiting->state == web::ConnectionState::Closing)
                << (waiting == nullptr ? "closed before the peer"
                                       : "state " + std::to_string(static_cast<int>(waiting->state)));
            client.Close();
        }
        EXPECT_TRUE(PumpUntil([&] { return web::FindConnection(accepted) == nullptr; }, 5000))
            << "still open after the peer's close";
        EXPECT_FALSE(client.Reset()) << "reset after " << client.Received().size() << " bytes";
    }
}

TEST_F(WebReplyTest, SendReplyFileSendsTheSelectedFileAndCloses) {
    WriteAllFiles();
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
    const std::size_t eventsBefore = window.Events().size();
    LoopbackClient client(port);
    ASSERT_TRUE(client.Connected());
    const SOCKET accepted = AwaitWriteReady(eventsBefore);
    ASSERT_NE(accepted, INVALID_SOCKET);
    web::SendReplyFile(accepted);
    EXPECT_TRUE(AwaitClose(client));
    EXPECT_EQ(client.Received(), kFileC);
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

TEST_F(WebReplyTest, EventsWithoutDataDoNotAnswerOrCloseAWaitingConnection) {
    WriteAllFiles();
    // Notices that find nothing to read: a read event ahead of the bytes, or the stale
    // events of an earlier socket whose handle the new connection reuses.
    for (WORD event : {WORD{FD_READ}, WORD{FD_CLOSE}, WORD{FD_WRITE}}) {
        SCOPED_TRACE(testing::Message() << "event " << event);
        const std::size_t eventsBefore = window.Events().size();
        LoopbackClient client(port);
        ASSERT_TRUE(client.Connected());
        const SOCKET accepted = AwaitWriteReady(eventsBefore);
        ASSERT_NE(accepted, INVALID_SOCKET);
        PostMessageA(window.Handle(), web::WM_SOCKET, accepted, MAKELPARAM(event, 0));
        PumpFor(100);
        EXPECT_FALSE(client.Poll()) << "the server closed; received \"" << client.Received() << "\"";
        EXPECT_EQ(web::OpenConnectionCount(), 1u);

        ASSERT_TRUE(client.Send("GET /c HTTP/1.1\r\n\r\n"));
        EXPECT_TRUE(AwaitClose(client));
        EXPECT_EQ(client.Received(), kFileC);
    }
}

// Which of the silent clients the server has closed, as a string of "x" (closed) and "."
// (open), so that a failure shows the whole picture.
std::string ClosedPattern(std::vector<std::unique_ptr<LoopbackClient>>& clients) {
    std::string pattern;
    for (auto& client : clients) {
        client->Poll();
        pattern += client->ServerClosed() ? (client->Reset() ? "r" : "x") : ".";
    }
    return pattern;
}

TEST_F(WebReplyTest, SilentConnectionsGiveWayToANewcomerOldestFirst) {
    WriteAllFiles();
    // Long enough that no silent client is closed for its time instead.
    web::SetConnectionTimeouts(60000, 60000);
    constexpr int kSilent = 70;
    auto silent = ConnectSilentClients(kSilent);
    EXPECT_EQ(web::OpenConnectionCount(), web::kMaxConnections);
    PumpFor(50);
    // The table holds 64: the six that came first gave way to the last six.
    const std::string kept(web::kMaxConnections, '.');
    EXPECT_EQ(ClosedPattern(silent), std::string(6, 'x') + kept);

    const testsupport::Stopwatch watch;
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
    EXPECT_LT(watch.ElapsedMs(), 2000.0);
    PumpFor(50);
    EXPECT_EQ(ClosedPattern(silent), std::string(7, 'x') + std::string(web::kMaxConnections - 1, '.'));
    EXPECT_EQ(web::OpenConnectionCount(), web::kMaxConnections - 1);
}

TEST_F(WebReplyTest, OverdueRequestsAndStalledRepliesAreClosed) {
    constexpr DWORD kShort = 300;
    files.Write(ReplyFile::S, PseudoRandomBytes(1 << 20));
    const struct {
        const char* name;
        DWORD requestMs;
        DWORD stallMs;
        bool sendsRequest;
    } cases[] = {
        {"no request", kShort, 60000, false},
        {"a reply the peer never reads", 60000, kShort, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        web::SetConnectionTimeouts(c.requestMs, c.stallMs);
        std::unique_ptr<LoopbackClient> peer;
        if (c.sendsRequest) {
            peer = ConnectSlowReader("GET /favicon.ico HTTP/1.1\r\n\r\n");
        } else {
            peer = std::move(ConnectSilentClients(1).front());
        }
        const testsupport::Stopwatch watch;
        EXPECT_TRUE(PumpUntil([] { return web::OpenConnectionCount() == 0; }, 5000))
            << web::OpenConnectionCount() << " connection(s) still open";
        const double closedAfter = watch.ElapsedMs();
        EXPECT_GE(closedAfter, kShort - 50.0);
        EXPECT_LT(closedAfter, kShort + 1500.0);
        peer->Poll();
        EXPECT_LT(peer->Received().size(), std::size_t{1} << 20) << "the whole reply arrived";
    }
    // With the time-outs long again, a silent client waits and is still answered.
    web::SetConnectionTimeouts(web::kRequestTimeoutMs, web::kReplyStallTimeoutMs);
    files.Write(ReplyFile::S, kFileS);
    files.Write(ReplyFile::A, kFileA);
    auto waiting = ConnectSilentClients(1);
    PumpFor(2 * kShort);
    EXPECT_FALSE(waiting.front()->Poll()) << "closed before its time-out";
    ASSERT_TRUE(waiting.front()->Send("GET / HTTP/1.1\r\n\r\n"));
    EXPECT_TRUE(AwaitClose(*waiting.front()));
    EXPECT_EQ(waiting.front()->Received(), kFileA);
}

TEST(WebListener, PortInUseLeavesTheWindowWorkingWithoutAListener) {
    SocketWindow window;
    // Another program holds the port.
    const PortHolder holder(0, INADDR_LOOPBACK);
    ASSERT_TRUE(holder.Holding()) << holder.Error();
    const std::uint16_t taken = holder.Port();

    for (std::uint32_t on : {std::uint32_t{INADDR_LOOPBACK}, std::uint32_t{INADDR_ANY}}) {
        SCOPED_TRACE(testing::Message() << "address " << on);
        web::ListenerFailure failure{};
        EXPECT_FALSE(web::OpenListenerOn(window.Handle(), taken, on, &failure));
        EXPECT_EQ(web::ListenerPort(), 0);
        EXPECT_EQ(failure.port, taken);
        EXPECT_EQ(failure.step, web::ListenerStep::Bind);
        EXPECT_EQ(failure.error, WSAEADDRINUSE);
    }

    // A browser reaches the other program; the window gets no event and still answers.
    LoopbackClient client(taken);
    EXPECT_TRUE(client.Connected());
    PumpFor(200);
    EXPECT_THAT(window.Events(), IsEmpty());
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutA(window.Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result),
              0);
    web::ResetWebFront();
}

// OpenListener reports a failure to its window with a posted message, and nothing else.
TEST(WebListener, FailureOnPort80IsPostedToTheWindow) {
    SocketWindow window;
    auto holder = std::make_unique<PortHolder>(web::kHttpPort);
    ASSERT_TRUE(holder->Holding()) << "port 80 is not free for this test: " << holder->Error();

    web::OpenListener(window.Handle());
    MSG notice{};
    ASSERT_TRUE(PeekMessageA(&notice, window.Handle(), web::WM_LISTENER_FAILED,
                             web::WM_LISTENER_FAILED, PM_REMOVE))
        << "nothing posted";
    const web::ListenerFailure failure = web::ListenerFailureOf(notice.wParam, notice.lParam);
    EXPECT_EQ(failure.port, web::kHttpPort);
    EXPECT_EQ(failure.step, web::ListenerStep::Bind);
    EXPECT_EQ(failure.error, WSAEADDRINUSE);
    EXPECT_FALSE(PeekMessageA(&notice, window.Handle(), web::WM_LISTENER_FAILED,
                              web::WM_LISTENER_FAILED, PM_REMOVE))
        << "posted twice";

    // Once the port is free, the listener opens and nothing is posted.
    holder.reset();
    web::OpenListener(window.Handle());
    EXPECT_EQ(web::ListenerPort(), web::kHttpPort);
    EXPECT_FALSE(PeekMessageA(&notice, window.Handle(), web::WM_LISTENER_FAILED,
                              web::WM_LISTENER_FAILED, PM_REMOVE));
    web::ResetWebFront();
}

}  // namespace
}  // namespace webtest
