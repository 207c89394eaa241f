#pragma once

#include <string>
#include <vector>

// A program run to its end as a process of its own, with what the kernel counted of it.

namespace korvane::bench {

struct ChildRun {
    int exitStatus = -1;
    double peakMegabytes = 0.0;
    double cpuSeconds = 0.0;  // user and system time: what the run costs on an idle machine
};

// Runs a program (arguments[0], a path) to its end with standard error sent to /dev/null (no
// progress line).
ChildRun RunToEnd(const std::vector<std::string>& arguments);

}  // namespace korvane::bench
