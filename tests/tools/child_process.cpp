#include "tests/tools/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace testtools {

namespace {

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

ChildProcess::ChildProcess() {
    static std::atomic<int> serial{0};
    outputPath_ = "/tmp/mt-child-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".out";
}

ChildProcess::~ChildProcess() {
    Stop();
    std::remove(outputPath_.c_str());
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const std::optional<std::string>& input) {
    int feed[2] = {-1, -1};
    if (input && pipe(feed) != 0) return false;
    const int output = open(outputPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (output < 0) return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));  // execv takes char* const[]
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        const int in = input ? feed[0] : open("/dev/null", O_RDONLY);
        dup2(in, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        // Nothing else of the test's goes along (a pseudo-terminal's other end, say).
        for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) close(fd);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(output);
    if (input) {
        close(feed[0]);
        if (pid_ > 0) {
            const std::string& bytes = *input;
            for (std::size_t done = 0; done < bytes.size();) {
                const ssize_t wrote = write(feed[1], bytes.data() + done, bytes.size() - done);
                if (wrote <= 0) break;
                done += static_cast<std::size_t>(wrote);
            }
        }
        close(feed[1]);
    }
    return pid_ > 0;
}

bool ChildProcess::Running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = ExitCodeOf(status);
    return !status_;
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Running()) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid_, SIGKILL);
            int status = 0;
            waitpid(pid_, &status, 0);
            status_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_.value_or(-1);
}

int ChildProcess::Stop() {
    if (Running()) kill(pid_, SIGTERM);
    return Wait(std::chrono::seconds(5));
}

std::string ChildProcess::Output() const {
    std::ifstream in(outputPath_, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace testtools
