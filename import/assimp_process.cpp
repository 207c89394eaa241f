#include "import/assimp_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "import/assimp_handback.h"

extern char** environ;

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int get() const { return fd_; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

  private:
    int fd_;
};

// posix_spawn's attribute and file-action objects, destroyed on every path.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

std::string Reason(const char* what, int error) {
    return std::string(what) + ": " + std::strerror(error);
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > 60'000 ? 60'000 : static_cast<int>(left) + 1;
}

void Decode(int status, HelperRun& run) {
    if (WIFSIGNALED(status)) {
        run.end = HelperRun::End::kSignalled;
        run.signal = WTERMSIG(status);
    } else {
        run.end = HelperRun::End::kExited;
        run.exitCode = WEXITSTATUS(status);
    }
}

void KillAndReap(pid_t pid, HelperRun::End why, HelperRun& run) {
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.end = why;
}

// Waits for the exit after the pipe closed; a helper that closes it and lingers still meets the
// deadline.
void AwaitExit(pid_t pid, Clock::time_point deadline, HelperRun& run) {
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            Decode(status, run);
            return;
        }
        if (done < 0 && errno != EINTR) {
            run.end = HelperRun::End::kCannotStart;
            run.error = Reason("waitpid", errno);
            return;
        }
        if (Clock::now() >= deadline) {
            KillAndReap(pid, HelperRun::End::kTimedOut, run);
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(10'000));
    }
}

}  // namespace

HelperRun RunHelper(const std::string& program, const std::vector<std::string>& arguments,
                    std::chrono::milliseconds timeout, std::size_t maxOutput) {
    HelperRun run;
    const Clock::time_point deadline = Clock::now() + timeout;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        run.end = HelperRun::End::kCannotStart;
        run.error = Reason("pipe", errno);
        return run;
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    // dup2 onto the same number would leave close-on-exec set: move the write end off it first.
    if (writeEnd.get() == kHandBackFd) {
        writeEnd.Reset(::fcntl(kHandBackFd, F_DUPFD_CLOEXEC, kHandBackFd + 1));
    }
    // Fewer wake-ups for a big hand-back; the default size serves when this is refused.
    ::fcntl(readEnd.get(), F_SETPIPE_SZ, 1 << 20);

    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.get(), kHandBackFd);
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, kHandBackFd + 1);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&setup.attributes, &signals);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes,
                                      argv.data(), environ);
    writeEnd.Close();
    if (spawned != 0) {
        run.end = HelperRun::End::kCannotStart;
        run.error = Reason(program.c_str(), spawned);
        return run;
    }

    char buffer[1 << 16];
    for (;;) {
        pollfd ready{readEnd.get(), POLLIN, 0};
        const int polled = ::poll(&ready, 1, MillisecondsUntil(deadline));
        if (polled == 0 && Clock::now() >= deadline) {
            KillAndReap(pid, HelperRun::End::kTimedOut, run);
            return run;
        }
        const ssize_t got = polled > 0 ? ::read(readEnd.get(), buffer, sizeof buffer) : -1;
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (polled == 0 || errno == EINTR || errno == EAGAIN) {
                continue;
            }
            const int error = errno;
            KillAndReap(pid, HelperRun::End::kCannotStart, run);
            run.error = Reason("read", error);
            return run;
        }
        if (static_cast<std::size_t>(got) > maxOutput - run.output.size()) {
            KillAndReap(pid, HelperRun::End::kTooMuchOutput, run);
            run.output.clear();
            return run;
        }
        try {
            run.output.append(buffer, static_cast<std::size_t>(got));
        } catch (...) {
            KillAndReap(pid, HelperRun::End::kTooMuchOutput, run);  // never left unreaped
            throw;
        }
    }
    AwaitExit(pid, deadline, run);
    return run;
}

}  // namespace korvane
