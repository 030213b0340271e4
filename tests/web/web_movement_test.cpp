// Movement requests through the web front: real connections, real debug boxes (dismissed by
// the test's hook) and a plain file standing in for the serial port, so the step bytes of a
// line can be read back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/motion/motion.h"
#include "app/web/operator_reply.h"
#include "tests/web/web_front_fixture.h"

namespace webtest {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::Each;
using testing::IsEmpty;

// The port device: a plain file whose name fits the five characters of field 1005.
constexpr char kPortDevice[] = "mtwp";

class WebMovementTest : public WebFrontTest {
protected:
    void SetUp() override {
        WebFrontTest::SetUp();
        motion::ClosePort();
        motion::motionRegisters = {};
        motion::machinePosition = {};
        OpenPortDevice();
    }

    void TearDown() override {
        motion::motionSettings = {};
        motion::ClosePort();  // before the device file goes
        WebFrontTest::TearDown();
    }

    // Opens the device file as the serial port, as the connect button does.
    void OpenPortDevice() {
        window.SetText(forms::control_id::inputCom, kPortDevice);
        testsupport::MessageBoxHook resultBox;
        motion::ConnectPort(window.Handle());
        EXPECT_THAT(resultBox.Captions(), ElementsAre("SUCCES!"));
    }

    // The step bytes written since the last call. The port holds its device exclusively, so
    // it is closed to read them, and opened again on the emptied device.
    std::string TakeStepBytes() {
        motion::ClosePort();
        const std::string bytes = device.Read();
        testsupport::WriteFileBytes(device.path(), "");
        OpenPortDevice();
        return bytes;
    }

    testsupport::TempFile device{kPortDevice};
};

TEST_F(WebMovementTest, MovementRequestsStepTheirLineBeforeTheReply) {
    WriteAllFiles();
    testsupport::MessageBoxHook boxes;
    const struct {
        const char* request;
        std::vector<std::string> boxTexts;  // one "nDebug" box per step
        std::string stepBytes;              // written to the port
        std::string reply;
        const char* selected;
        const char* x;  // fields 1008 and 1007
        const char* y;
    } steps[] = {
        {"GET /c HTTP/1.1\r\n\r\n", {}, "", kFileC, "C:\\c", "", ""},
        // No execute flag: the values are taken and shown, nothing moves, the file stays.
        {"GET /s?X4&Y2 HTTP/1.1\r\n\r\n", {}, "", kFileC, "C:\\c", "4", "2"},
        // From (4, 2) to (8, 4): the line is stepped, then C:\s is selected and sent.
        {"GET /s?e=1&X8&Y4 HTTP/1.1\r\n\r\n", {"0", "0", "2", "0", "0", "2"}, "BBDBBD", kFileS,
         "C:\\s", "8", "4"},
        {"GET /c HTTP/1.1\r\n\r\n", {}, "", kFileC, "C:\\c", "8", "4"},
        // Back along X only; the tokens in the header lines are not read.
        {"GET /s?e=1&Y4&X5 HTTP/1.1\r\nX-Note: Y90&X70\r\n\r\n", {"1", "1", "1"}, "AAA",
         kFileS, "C:\\s", "5", "4"},
        // "V" at position 9 selects C:\a ahead of a movement that executes nothing.
        {"GET /s&&&V&e=0 HTTP/1.1\r\n\r\n", {}, "", kFileA, "C:\\a", "5", "4"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.request);
        boxes.Clear();
        EXPECT_EQ(Exchange(step.request), step.reply);
        EXPECT_THAT(boxes.Texts(), ElementsAreArray(step.boxTexts));
        EXPECT_THAT(boxes.Captions(), Each("nDebug"));
        EXPECT_EQ(TakeStepBytes(), step.stepBytes);
        EXPECT_STREQ(web::ReplyFileName(), step.selected);
        EXPECT_EQ(window.Text(1008), step.x);
        EXPECT_EQ(window.Text(1007), step.y);
    }
}

TEST_F(WebMovementTest, ShortRequestAfterALongMovementDoesNotReplayIt) {
    WriteAllFiles();
    testsupport::MessageBoxHook boxes;
    // Not executed; leaves Y from 1 to 3 and X at 6.
    EXPECT_EQ(Exchange("GET /s?e=0&Y1&X6&Y3 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"), kFileS);
    EXPECT_EQ(window.Text(1007), "3");

    // Ten bytes and no end of line. Read together with the bytes behind them in a shared
    // buffer, they would form "GET /s?e=1&Y1&X6&Y3 HTTP/1.1" and step Y twice.
    EXPECT_EQ(Exchange("GET /s?e=1"), kFileS);
    EXPECT_THAT(boxes.Texts(), IsEmpty());
    EXPECT_EQ(TakeStepBytes(), "");
    EXPECT_EQ(window.Text(1008), "6");
    EXPECT_EQ(window.Text(1007), "3");
}

TEST_F(WebMovementTest, RequestsInsideADebugBoxAreOnlyAnsweredWithTheCurrentFile) {
    WriteAllFiles();
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
    web::SetOutputHook(RecordingHook);

    // While the line's first boxes show, other browsers ask to select files, to move, to
    // drive the output port and for the fixed reply.
    const char* const nestedRequests[] = {
        "GET / HTTP/1.1\r\n\r\n",
        "GET /s?e=1&X9&Y9 HTTP/1.1\r\n\r\n",
        "GET /?a=1A HTTP/1.1\r\n\r\n",
        "GET /x123V HTTP/1.1\r\n\r\n",
    };
    std::vector<std::string> nestedReplies;
    std::vector<std::size_t> openDuringBox;
    testsupport::MessageBoxHook boxes([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index >= std::size(nestedRequests)) return;
        LoopbackClient nested(port);
        EXPECT_TRUE(nested.Send(nestedRequests[index]));
        EXPECT_TRUE(AwaitClose(nested)) << "nested request " << index << " not answered";
        nestedReplies.push_back(nested.Received());
        openDuringBox.push_back(web::OpenConnectionCount());
    });

    EXPECT_EQ(Exchange("GET /s?e=1&X4&Y2 HTTP/1.1\r\n\r\n"), kFileS);

    EXPECT_THAT(nestedReplies, ElementsAre(kFileC, kFileC, kFileC, kFileC));
    EXPECT_THAT(openDuringBox, Each(1u)) << "the line's own connection stays open";
    EXPECT_THAT(boxes.Texts(), ElementsAre("0", "0", "2", "0", "0", "2"));
    EXPECT_EQ(TakeStepBytes(), "BBDBBD");
    EXPECT_THAT(hookCalls, IsEmpty());
    EXPECT_EQ(window.Text(1008), "4");
    EXPECT_EQ(window.Text(1007), "2");
    EXPECT_STREQ(web::ReplyFileName(), "C:\\s");
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

// Silent connections, more than the table holds and kept past their time-out, arrive while a
// line steps: they give way and are closed, but the line's own request is still answered,
// and so is another browser's.
TEST_F(WebMovementTest, SilentConnectionsNeverDropTheRequestInProgress) {
    WriteAllFiles();
    constexpr DWORD kRequestTimeout = 300;
    web::SetConnectionTimeouts(kRequestTimeout, 60000);
    std::vector<std::unique_ptr<LoopbackClient>> silent;
    std::string nestedReply;
    std::size_t openAfterSweep = 0;
    testsupport::MessageBoxHook boxes([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index != 0) return;
        silent = ConnectSilentClients(70);
        nestedReply = Exchange("GET /favicon.ico HTTP/1.1\r\n\r\n");
        PumpFor(3 * kRequestTimeout);
        openAfterSweep = web::OpenConnectionCount();
    });
    EXPECT_EQ(Exchange("GET /s?e=1&X2 HTTP/1.1\r\n\r\n"), kFileS);
    EXPECT_THAT(boxes.Texts(), ElementsAre("0", "0"));
    EXPECT_EQ(TakeStepBytes(), "BB");
    EXPECT_EQ(nestedReply, kFileS);
    EXPECT_EQ(openAfterSweep, 1u) << "only the line's own connection should be left";
    std::size_t closedByServer = 0;
    for (auto& client : silent) closedByServer += client->Poll() ? 1 : 0;
    EXPECT_EQ(closedByServer, silent.size());
}

// Without step boxes a running line keeps the window alive: another browser is answered
// while it steps (as requests inside a box are: with the current file, acting on nothing),
// and "!" stops it midway.
TEST_F(WebMovementTest, WithoutStepBoxesRequestsAreAnsweredWhileALineRuns) {
    WriteAllFiles();
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
    motion::motionSettings.stepBoxes = false;
    std::string nestedReply;
    bool lineRanMeanwhile = false;
    const testsupport::OneShotTimer operatorAndBrowser(100, [&] {
        nestedReply = Exchange("GET / HTTP/1.1\r\n\r\n");
        lineRanMeanwhile = motion::LineInProgress();
        motion::DisconnectPort(window.Handle());
    });
    const testsupport::Stopwatch watch;
    EXPECT_EQ(Exchange("GET /s?e=1&p=10&X400 HTTP/1.1\r\n\r\n"), kFileS);
    EXPECT_LT(watch.ElapsedMs(), 3000.0) << "400 steps of 10 ms would take 4 s";
    EXPECT_EQ(nestedReply, kFileC) << "the nested request selects nothing";
    EXPECT_TRUE(lineRanMeanwhile);
    motion::ClosePort();
    const std::string bytes = device.Read();
    EXPECT_GT(bytes.size(), 0u);
    EXPECT_LT(bytes.size(), 400u);
    EXPECT_EQ(window.Text(1008), std::to_string(bytes.size()));
}

// The operator API's answer for `status`, as the writer makes it.
std::string OperatorAnswer(const web::OperatorStatus& status) {
    char text[web::kOperatorReplyCapacity];
    return std::string(text, web::FormatOperatorReply(status, text));
}

// /pos and /halt are answered inside a line's debug boxes, with where its steps took the
// machine; /halt ends the line there (no further box or byte) and switches the tool off. The
// line's own request keeps its reply file, and the selection stays as the line left it.
TEST_F(WebMovementTest, OperatorApiAnswersInsideABoxAndHaltEndsTheLine) {
    WriteAllFiles();
    web::SetOperatorApi(true);
    web::SetOutputHook(RecordingHook);
    EXPECT_EQ(Exchange("GET /c HTTP/1.1\r\n\r\n"), kFileC);
    EXPECT_EQ(Exchange("GET /?a=1A HTTP/1.1\r\n\r\n"), kFileC);
    std::vector<std::string> nested;
    testsupport::MessageBoxHook boxes([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index == 0) nested.push_back(Exchange("GET /pos HTTP/1.1\r\n\r\n"));
        if (index == 2) nested.push_back(Exchange("GET /halt HTTP/1.1\r\n\r\n"));
    });

    EXPECT_EQ(Exchange("GET /s?e=1&p=0&X4&Y2 HTTP/1.1\r\n\r\n"), kFileS);

    EXPECT_THAT(boxes.Texts(), ElementsAre("0", "0", "2")) << "no box after the halt";
    EXPECT_EQ(TakeStepBytes(), "BB");
    EXPECT_THAT(nested, ElementsAre(OperatorAnswer({0, 0, true, 0, 6, 0, true, 1u}),
                                    OperatorAnswer({2, 0, false, 2, 6, 0, true, 0u})));
    EXPECT_THAT(hookCalls, ElementsAre(HookCall{888, 1}, HookCall{888, 0}));
    EXPECT_EQ(window.Text(1008), "2");
    EXPECT_EQ(window.Text(1007), "0");
    // Idle: where the line stopped. A halt without a line changes nothing.
    const std::string idle = OperatorAnswer({2, 0, false, 2, 6, 0, true, 0u});
    EXPECT_EQ(Exchange("GET /pos HTTP/1.1\r\n\r\n"), idle);
    EXPECT_EQ(Exchange("GET /halt HTTP/1.1\r\n\r\n"), idle);
    EXPECT_THAT(hookCalls, ElementsAre(HookCall{888, 1}, HookCall{888, 0}));
    EXPECT_STREQ(web::ReplyFileName(), "C:\\s");
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

TEST_F(WebMovementTest, PeerThatLeavesDuringTheLineIsClosedAfterIt) {
    WriteAllFiles();
    const std::size_t eventsBefore = window.Events().size();
    std::unique_ptr<LoopbackClient> leaving;
    std::unique_ptr<LoopbackClient> waiting;
    bool closeSeenInBox = false;
    testsupport::MessageBoxHook boxes([&](const testsupport::BoxRecord&, std::size_t index) {
        if (index != 0) return;
        leaving->Close();
        closeSeenInBox = PumpUntil(
            [&] { return window.FirstSocketWith(FD_CLOSE, eventsBefore) != INVALID_SOCKET; },
            5000);
        // Another browser connects now and sends its request only after the line.
        waiting = std::make_unique<LoopbackClient>(port);
        const std::size_t acceptsBefore = window.Events().size();
        PumpUntil([&] { return window.FirstSocketWith(FD_WRITE, acceptsBefore) != INVALID_SOCKET; },
                  5000);
    });
    leaving = std::make_unique<LoopbackClient>(port);
    ASSERT_TRUE(leaving->Send("GET /s?e=1&X4&Y2 HTTP/1.1\r\n\r\n"));

    EXPECT_TRUE(PumpUntil([&] {
        return boxes.boxes().size() == 6 && web::OpenConnectionCount() == 1;
    })) << boxes.boxes().size() << " boxes, " << web::OpenConnectionCount() << " open";
    EXPECT_TRUE(closeSeenInBox) << "the close event should arrive while the line steps";
    EXPECT_EQ(TakeStepBytes(), "BBDBBD");
    EXPECT_STREQ(web::ReplyFileName(), "C:\\s");

    // The line's reply went nowhere else: the waiting browser has its own turn.
    ASSERT_NE(waiting, nullptr);
    EXPECT_FALSE(waiting->Poll()) << "received \"" << waiting->Received() << "\"";
    EXPECT_EQ(waiting->Received(), "");
    ASSERT_TRUE(waiting->Send("GET /c HTTP/1.1\r\n\r\n"));
    EXPECT_TRUE(AwaitClose(*waiting));
    EXPECT_EQ(waiting->Received(), kFileC);
    EXPECT_EQ(web::OpenConnectionCount(), 0u);
}

}  // namespace
}  // namespace webtest
