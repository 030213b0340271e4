#pragma once
// The fixture of the web front's Windows tests: a listener on an ephemeral port of
// 127.0.0.1 feeding the main form's stand-in window, reply files in C:\ and a recording
// output hook.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/web/web_front.h"
#include "app/web/web_front_internal.h"
#include "tests/web/web_test_harness.h"

namespace webtest {

inline const std::string kFixed(web::kFixedReply);
inline const std::string kFileA = "HTTP/1.0 200 OK\r\n\r\nfile a";
inline const std::string kFileC = "HTTP/1.0 200 OK\r\n\r\nfile c";
inline const std::string kFileS = "HTTP/1.0 200 OK\r\n\r\nfile s";

using HookCall = std::pair<std::uint32_t, std::uint32_t>;

// Calls of RecordingHook, in order.
inline std::vector<HookCall> hookCalls;

inline void RecordingHook(std::uint32_t portAddress, std::uint32_t value) {
    hookCalls.emplace_back(portAddress, value);
}

class WebFrontTest : public testing::Test {
protected:
    void SetUp() override {
        StartWinsock();
        hookCalls.clear();
        ASSERT_NE(window.Handle(), nullptr);
        ASSERT_TRUE(web::OpenListenerOn(window.Handle(), 0, INADDR_LOOPBACK));
        port = web::ListenerPort();
        ASSERT_NE(port, 0);
    }

    void TearDown() override { web::ResetWebFront(); }

    void WriteAllFiles() {
        files.Write(web::ReplyFile::A, kFileA);
        files.Write(web::ReplyFile::C, kFileC);
        files.Write(web::ReplyFile::S, kFileS);
    }

    // One connection: sends `request`, pumps until the server closes, returns the reply.
    std::string Exchange(std::string_view request) {
        LoopbackClient client(port);
        EXPECT_TRUE(client.Connected()) << "connect error " << client.ConnectError();
        EXPECT_TRUE(client.Send(request));
        EXPECT_TRUE(AwaitClose(client)) << "no close; received \"" << client.Received() << "\"";
        EXPECT_FALSE(client.Reset()) << "the connection was reset instead of closed";
        return client.Received();
    }

    // Dispatches until a connection's first write-ready event since event number `from` has
    // been handled, and not a message further; returns its socket (INVALID_SOCKET on timeout).
    SOCKET AwaitWriteReady(std::size_t from) {
        SOCKET accepted = INVALID_SOCKET;
        DispatchUntil([&] {
            accepted = window.FirstSocketWith(FD_WRITE, from);
            return accepted != INVALID_SOCKET;
        });
        return accepted;
    }

    // `count` clients that connect and send nothing, each accepted before the next connects
    // (so that the listener's backlog never holds up a connect).
    std::vector<std::unique_ptr<LoopbackClient>> ConnectSilentClients(int count) {
        std::vector<std::unique_ptr<LoopbackClient>> clients;
        for (int i = 0; i < count; ++i) {
            const std::size_t eventsBefore = window.Events().size();
            clients.push_back(std::make_unique<LoopbackClient>(port));
            EXPECT_TRUE(clients.back()->Connected()) << "silent client " << i;
            EXPECT_NE(AwaitWriteReady(eventsBefore), INVALID_SOCKET) << "silent client " << i << " not accepted";
        }
        return clients;
    }

    ReplyFiles files;
    SocketWindow window;
    std::uint16_t port = 0;
};

}  // namespace webtest
