// The serial-line simulator as its users run it: the real program on a real pseudo-terminal
// (the test holds the other end, as the Windows program's COM port would), asked over HTTP on
// 127.0.0.1, or fed on standard input.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>

#include "tests/tools/child_process.h"

namespace {

using namespace std::chrono_literals;
using testtools::ChildProcess;

struct Point {
    long long x, y;
    friend bool operator==(const Point&, const Point&) = default;
};

std::string Text(const std::vector<Point>& points) {
    std::string text;
    for (const Point& p : points) text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return text;
}

// A number member of the simulator's flat JSON state; -1 when absent.
long long JsonNumber(const std::string& json, const std::string& key) {
    const std::regex member("\"" + key + "\":(-?[0-9]+)");
    std::smatch found;
    return std::regex_search(json, found, member) ? std::stoll(found[1]) : -1;
}

std::string JsonText(const std::string& json, const std::string& key) {
    const std::regex member("\"" + key + "\":\"([a-z]*)\"");
    std::smatch found;
    return std::regex_search(json, found, member) ? std::string(found[1]) : "";
}

// The vertices of the SVG's <path id="tool-path" d="M x y L x y ...">.
std::vector<Point> PathVertices(const std::string& svg) {
    std::smatch found;
    if (!std::regex_search(svg, found, std::regex("<path id=\"tool-path\" d=\"([^\"]*)\""))) return {};
    std::vector<Point> points;
    const std::string d = found[1];
    const std::regex point("[ML](-?[0-9]+) (-?[0-9]+)");
    for (auto it = std::sregex_iterator(d.begin(), d.end(), point); it != std::sregex_iterator(); ++it) {
        points.push_back({std::stoll((*it)[1]), std::stoll((*it)[2])});
    }
    return points;
}

// The runs the SVG draws, in its order (travel first, then the cut): "cut (x,y)(x,y)...".
std::vector<std::string> PathRuns(const std::string& svg) {
    std::vector<std::string> runs;
    const std::regex run("<path class=\"(cut|travel)\" d=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), run); it != std::sregex_iterator(); ++it) {
        const std::string d = (*it)[2];
        std::string text = std::string((*it)[1]) + " ";
        const std::regex point("[ML](-?[0-9]+) (-?[0-9]+)");
        for (auto p = std::sregex_iterator(d.begin(), d.end(), point); p != std::sregex_iterator(); ++p) {
            text += "(" + std::string((*p)[1]) + "," + std::string((*p)[2]) + ")";
        }
        runs.push_back(text);
    }
    return runs;
}

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "simulator_test_" + std::to_string(getpid()) + "_" + name;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// The simulator reading a pseudo-terminal whose other end the test writes, its live view on
// a free loopback port.
class SimulatorOnPty {
public:
    explicit SimulatorOnPty(std::vector<std::string> extra = {}) {
        int slave = -1;
        char name[128] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
        std::remove(portFile_.c_str());
        std::vector<std::string> args = {"--line", name, "--http", "0", "--port-file", portFile_};
        args.insert(args.end(), extra.begin(), extra.end());
        process_.Start(MT_SIMULATOR_PATH, args);
        // The simulator writes the port once it has the line open and listens.
        WaitUntil([&] { return !ReadWhole(portFile_).empty() || !process_.Running(); }, 10s);
        port_ = std::atoi(ReadWhole(portFile_).c_str());
        // From here on the simulator holds the only open slave: when it closes the line, the
        // master sees the far end gone.
        close(slave);
    }
    ~SimulatorOnPty() {
        process_.Stop();
        if (master_ >= 0) close(master_);
        std::remove(portFile_.c_str());
    }

    bool Ready() const { return port_ > 0; }
    void Write(const std::string& bytes) const {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::string Get(const std::string& path) const {
        httplib::Client client("127.0.0.1", port_);
        client.set_read_timeout(5, 0);
        const auto response = client.Get(path.c_str());
        return response && response->status == 200 ? response->body : "";
    }
    std::string Reset(const std::string& query = "") const { return Post("/reset" + query); }
    // The answer to POST `path`, or "" when it is no 200.
    std::string Post(const std::string& path) const {
        httplib::Client client("127.0.0.1", port_);
        client.set_read_timeout(10, 0);
        const auto response = client.Post(path.c_str(), "", "text/plain");
        return response && response->status == 200 ? response->body : "";
    }
    // The state once `bytes` bytes have been taken (bounded); the last state seen otherwise.
    std::string StateAfter(long long bytes) const {
        std::string state;
        WaitUntil([&] { return JsonNumber(state = Get("/state"), "bytes") >= bytes; }, 10s);
        return state;
    }
    int master() const { return master_; }
    ChildProcess& process() { return process_; }

private:
    int master_ = -1;
    int port_ = 0;
    std::string portFile_ = TempPath("port");
    ChildProcess process_;
};

struct PathCase {
    const char* name;
    std::string bytes;
    Point end;
    std::vector<Point> vertices;  // the start, every corner, the end
    long long otherBytes;
};

const PathCase kPathCases[] = {
    {"line to 4,2", "BBDBBD", {4, 2}, {{0, 0}, {2, 0}, {2, 1}, {4, 1}, {4, 2}}, 0},
    {"tie 5,5, Y first", "DBDBDBDBDB", {5, 5},
     {{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 3}, {3, 4}, {4, 4}, {4, 5}, {5, 5}}, 0},
    {"back along X", "BBBBAA", {2, 0}, {{0, 0}, {4, 0}, {2, 0}}, 0},
    {"negative both", "CCCAA", {-2, -3}, {{0, 0}, {0, -3}, {-2, -3}}, 0},
    {"other bytes are no step", "B\r\nx?D", {1, 1}, {{0, 0}, {1, 0}, {1, 1}}, 4},
    {"nothing", "", {0, 0}, {{0, 0}}, 0},
};

TEST(Simulator, BytesGiveThePositionAndThePathsVertices) {
    SimulatorOnPty simulator;
    ASSERT_TRUE(simulator.Ready()) << "the simulator did not start";
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE(c.name);
        const std::string reset = simulator.Reset();
        ASSERT_EQ(JsonNumber(reset, "bytes"), 0) << "reset answered " << reset;
        simulator.Write(c.bytes);
        const std::string state = simulator.StateAfter(static_cast<long long>(c.bytes.size()));
        const std::vector<Point> vertices = PathVertices(simulator.Get("/path.svg"));
        std::printf("%-26s state %s\n%26s svg path %s\n", c.name, state.c_str(), "", Text(vertices).c_str());
        EXPECT_EQ(JsonNumber(state, "bytes"), static_cast<long long>(c.bytes.size())) << state;
        EXPECT_EQ((Point{JsonNumber(state, "x"), JsonNumber(state, "y")}), c.end) << state;
        EXPECT_EQ(JsonNumber(state, "steps"), static_cast<long long>(c.bytes.size()) - c.otherBytes) << state;
        EXPECT_EQ(JsonNumber(state, "other_bytes"), c.otherBytes) << state;
        EXPECT_EQ(Text(vertices), Text(c.vertices));
        EXPECT_EQ(JsonNumber(state, "vertices"), static_cast<long long>(c.vertices.size())) << state;
    }
    // The live view page carries the path too, and the reset takes a start.
    const std::string page = simulator.Get("/");
    EXPECT_NE(page.find("id=\"tool-path\""), std::string::npos) << "live view without the path";
    const std::string moved = simulator.Reset("?x=30&y=-4");
    EXPECT_EQ((Point{JsonNumber(moved, "x"), JsonNumber(moved, "y")}), (Point{30, -4})) << moved;
    const std::string png = simulator.Get("/path.png");
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << "path.png is " << png.size() << " bytes";
}

// The tool's state as the output hook tells it: the moves made with it on are the cut, the
// others travel, each run a path of its own; before the first value the path is drawn as it
// always was (the cut).
TEST(Simulator, ToolStateSplitsThePathIntoCutAndTravel) {
    SimulatorOnPty simulator;
    ASSERT_TRUE(simulator.Ready()) << "the simulator did not start";
    EXPECT_NE(simulator.Get("/state").find("\"tool\":null"), std::string::npos) << simulator.Get("/state");
    const struct {
        std::string bytes;  // written, then the value told
        const char* tool;
    } steps[] = {{"BBB", "0"}, {"DD", "1"}, {"", "2"}, {"AA", "0"}, {"", "0"}};
    long long written = 0;
    for (const auto& step : steps) {
        simulator.Write(step.bytes);
        written += static_cast<long long>(step.bytes.size());
        simulator.StateAfter(written);
        const std::string answer = simulator.Post(std::string("/tool?value=") + step.tool);
        EXPECT_EQ(JsonNumber(answer, "tool"), std::stoll(step.tool)) << answer;
    }
    const std::string svg = simulator.Get("/path.svg");
    EXPECT_EQ(PathRuns(svg), (std::vector<std::string>{"travel (3,0)(3,2)", "cut (0,0)(3,0)", "cut (3,2)(1,2)"}));
    EXPECT_EQ(Text(PathVertices(svg)), "(0,0)(3,0)(3,2)(1,2)");
    // A reset starts a new path with the tool as it is.
    simulator.Reset();
    simulator.Write("DD");
    simulator.StateAfter(2);
    EXPECT_EQ(PathRuns(simulator.Get("/path.svg")), std::vector<std::string>{"travel (0,0)(0,2)"});
    EXPECT_EQ(simulator.Post("/tool?value=x"), "") << "a value that is no number";
    EXPECT_EQ(simulator.Post("/tool?value=70000"), "") << "a value beyond a port's 16 bits";
}

// A change comes in behind the bytes written before it, even when the line still carries them
// (a slow line): it is answered once they are taken, and the bytes after it are in its run.
TEST(Simulator, ToolChangeTakesEffectBehindTheBytesAlreadyOnTheLine) {
    SimulatorOnPty simulator({"--baud", "2400"});
    ASSERT_TRUE(simulator.Ready()) << "the simulator did not start";
    ASSERT_NE(simulator.Post("/tool?value=0"), "");
    simulator.Write(std::string(60, 'B'));  // a quarter of a second at 240 bytes a second
    const std::string answer = simulator.Post("/tool?value=1");
    simulator.Write("DDD");
    simulator.StateAfter(63);
    std::printf("answer to the change: %s\n", answer.c_str());
    EXPECT_EQ(JsonNumber(answer, "bytes"), 60) << answer;
    EXPECT_EQ(PathRuns(simulator.Get("/path.svg")), (std::vector<std::string>{"travel (0,0)(60,0)", "cut (60,0)(60,3)"}));
}

struct SpeedCase {
    unsigned baud;
    int bytes;
};

// Bytes that wait on the line are taken no faster than 8N1 carries them: baud / 10 a second.
TEST(Simulator, SpeedLimitHoldsWithinTenPercent) {
    for (const SpeedCase& c : {SpeedCase{4800, 100}, SpeedCase{19200, 400}}) {
        SimulatorOnPty simulator({"--baud", std::to_string(c.baud)});
        ASSERT_TRUE(simulator.Ready()) << "the simulator did not start";
        simulator.Write(std::string(static_cast<std::size_t>(c.bytes), 'B'));
        const std::string state = simulator.StateAfter(c.bytes);
        const double spanUs = static_cast<double>(JsonNumber(state, "last_byte_us") - JsonNumber(state, "first_byte_us"));
        const double wantUs = (c.bytes - 1) * 10e6 / c.baud;
        std::printf("%u baud: %d bytes over %.0f us, a line would take %.0f us (%.1f %%)\n", c.baud, c.bytes,
                    spanUs, wantUs, 100.0 * (spanUs - wantUs) / wantUs);
        EXPECT_EQ(JsonNumber(state, "bytes"), c.bytes) << state;
        EXPECT_NEAR(spanUs, wantUs, wantUs * 0.10) << state;
    }
}

// The simulator's end of the line goes after N bytes: the rest stays unread, and the writer's
// end sees its peer gone.
TEST(Simulator, ClosesTheLineAfterItsByteCount) {
    SimulatorOnPty simulator({"--close-after", "5"});
    ASSERT_TRUE(simulator.Ready()) << "the simulator did not start";
    simulator.Write("BBBDDDDDDD");
    std::string state;
    WaitUntil([&] { return JsonText(state = simulator.Get("/state"), "line") == "closed"; }, 10s);
    std::printf("after 10 bytes with --close-after 5: %s\n", state.c_str());
    EXPECT_EQ(JsonText(state, "line"), "closed") << state;
    EXPECT_EQ(JsonNumber(state, "bytes"), 5) << state;
    EXPECT_EQ((Point{JsonNumber(state, "x"), JsonNumber(state, "y")}), (Point{3, 2})) << state;
    pollfd wait{simulator.master(), POLLIN, 0};
    const int ready = poll(&wait, 1, 2000);
    std::printf("the writer's end: poll %d, revents 0x%x\n", ready, wait.revents);
    EXPECT_TRUE(ready == 1 && (wait.revents & POLLHUP) != 0) << "the writer's end does not see the hang-up";
}

// Fed on standard input, it ends with the input and leaves its pictures and log behind.
TEST(Simulator, StandardInputEndsTheRunAndLeavesPicturesAndLog) {
    const std::string svg = TempPath("path.svg"), png = TempPath("path.png"), log = TempPath("steps.log");
    ChildProcess process;
    process.Start(MT_SIMULATOR_PATH, {"--svg", svg, "--png", png, "--log", log}, "BBDBBD!");
    const int status = process.Wait(10s);
    const std::vector<Point> vertices = PathVertices(ReadWhole(svg));
    const std::string picture = ReadWhole(png);
    const std::string steps = ReadWhole(log);
    std::printf("exit %d, svg path %s, png %zu bytes, log:\n%s", status, Text(vertices).c_str(), picture.size(),
                steps.c_str());
    EXPECT_EQ(status, 0) << process.Output();
    EXPECT_EQ(Text(vertices), "(0,0)(2,0)(2,1)(4,1)(4,2)");
    ASSERT_GE(picture.size(), 24u);
    EXPECT_EQ(picture.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // The header's width and height, big-endian.
    const auto word = [&](std::size_t at) {
        return (static_cast<unsigned char>(picture[at]) << 24) | (static_cast<unsigned char>(picture[at + 1]) << 16) |
               (static_cast<unsigned char>(picture[at + 2]) << 8) | static_cast<unsigned char>(picture[at + 3]);
    };
    EXPECT_EQ(word(16), 640);
    EXPECT_EQ(word(20), 480);
    EXPECT_NE(steps.find("\n6 D 4 2 "), std::string::npos) << "the sixth byte's line";
    EXPECT_NE(steps.find("\n7 0x21 - - "), std::string::npos) << "the seventh byte, no step";
    for (const std::string& file : {svg, png, log}) std::remove(file.c_str());
}

struct BadCommandLine {
    std::vector<std::string> args;
    const char* named;  // what the message must name
};

TEST(Simulator, RefusesABadCommandLineWithExitCode2) {
    const BadCommandLine cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--baud", "fast"}, "--baud"},
        {{"--baud", "0"}, "--baud"},
        {{"--http", "70000"}, "--http"},
        {{"--close-after", "-1"}, "--close-after"},
        {{"--line"}, "--line"},
    };
    for (const BadCommandLine& c : cases) {
        ChildProcess process;
        process.Start(MT_SIMULATOR_PATH, c.args);
        const int status = process.Wait(10s);
        const std::string said = process.Output().substr(0, process.Output().find('\n'));
        std::printf("%-22s exit %d: %s\n", c.args[0].c_str(), status, said.c_str());
        EXPECT_EQ(status, 2) << said;
        EXPECT_NE(said.find(c.named), std::string::npos) << said;
    }
}

}  // namespace
