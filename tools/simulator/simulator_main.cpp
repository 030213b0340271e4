// mt-simulator: the far end of the serial line. Reads the program's step bytes, keeps the
// position, logs every byte, draws the tool path and serves it live on 127.0.0.1.
// Exit codes: 0 done, 1 could not start (line, log or port), 2 bad command line.

#include <signal.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

#include "tools/simulator/line_reader.h"
#include "tools/simulator/path_picture.h"
#include "tools/simulator/simulator_options.h"
#include "tools/simulator/view_server.h"

namespace {

using namespace simulator;

bool WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

// Waits for SIGINT or SIGTERM, or (when `untilLineEnds`) for the reader to finish.
void WaitForEnd(const sigset_t& signals, const std::atomic<bool>& readerDone, bool untilLineEnds) {
    const timespec tick{0, 100'000'000};
    while (!(untilLineEnds && readerDone.load())) {
        if (sigtimedwait(&signals, nullptr, &tick) > 0) return;
    }
}

int Run(const Options& options) {
    // The signals that end the simulator are taken by WaitForEnd alone: blocked here, before
    // any thread starts, so that every thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    LineState state;
    if (!options.log.empty() && !state.OpenLog(options.log)) {
        std::fprintf(stderr, "mt-simulator: cannot write the log %s\n", options.log.c_str());
        return 1;
    }
    LineReader reader;
    std::string error;
    if (!reader.Open(options.line, error)) {
        std::fprintf(stderr, "mt-simulator: %s\n", error.c_str());
        return 1;
    }

    ViewServer server(state);
    std::thread serving;
    if (options.httpPort) {
        const int port = server.Bind(*options.httpPort);
        if (port < 0) {
            std::fprintf(stderr, "mt-simulator: cannot listen on 127.0.0.1:%u\n", *options.httpPort);
            return 1;
        }
        if (!options.portFile.empty()) WriteWhole(options.portFile, std::to_string(port) + "\n");
        std::printf("mt-simulator: live view http://127.0.0.1:%d/\n", port);
        serving = std::thread([&server] { server.Serve(); });
    }
    std::printf("mt-simulator: reading %s%s\n", options.line.empty() ? "standard input" : options.line.c_str(),
                options.baud > 0 ? (" at " + std::to_string(options.baud) + " baud").c_str() : "");
    std::fflush(stdout);

    std::atomic<bool> stop{false};
    std::atomic<bool> readerDone{false};
    std::thread reading([&] {
        reader.Run(state, {options.baud, options.closeAfter}, stop);
        readerDone = true;
    });
    // With a live view the simulator stays until it is told to go; without one it ends with
    // the line.
    WaitForEnd(signals, readerDone, !options.httpPort);
    stop = true;
    reading.join();
    if (serving.joinable()) {
        server.Stop();
        serving.join();
    }

    int status = 0;
    if (!options.svg.empty() && !WriteWhole(options.svg, state.Svg())) status = 1;
    if (!options.png.empty() && !WriteWhole(options.png, state.Png())) status = 1;
    std::printf("mt-simulator: ended at %s\n", state.Json().c_str());
    std::fflush(stdout);
    ReleasePictureCaches();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "mt-simulator: %s\n%s", parsed.error.c_str(), kUsage);
        return 2;
    }
    if (parsed.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return Run(parsed.options);
}
