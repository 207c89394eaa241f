#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace korvane {

// How a helper process ended and what it wrote to its hand-back descriptor (kHandBackFd).
struct HelperRun {
    enum class End {
        kExited,         // exitCode holds its status
        kSignalled,      // a signal ended it: signal
        kTimedOut,       // it outlived the timeout and was killed
        kTooMuchOutput,  // it wrote more than allowed and was killed
        kCannotStart     // it could not be started: error says why
    };
    End end = End::kExited;
    int exitCode = 0;
    int signal = 0;
    std::string error;
    std::string output;
};

// Starts `program` with posix_spawn (never a fork of this possibly multithreaded process) with
// its standard streams on /dev/null, no other descriptor of ours but the pipe it writes to, and
// default signal handling; collects what it writes until it exits. Past `timeout` or
// `maxOutput` bytes the helper is killed. Always reaps it before returning, also when memory for
// its output runs out (std::bad_alloc goes on to the caller).
HelperRun RunHelper(const std::string& program, const std::vector<std::string>& arguments,
                    std::chrono::milliseconds timeout, std::size_t maxOutput);

}  // namespace korvane
